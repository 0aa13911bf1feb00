#include "cli/commandline.h"
#include "window/formwindow.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include <QApplication>
#include <QIcon>

namespace {

// The icon the build bundles, in every size drawn, for a desktop that has not installed the program.
QIcon programIcon()
{
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 64, 128, 256 })
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/rm425t.png").arg(size));
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    // `rm425t COMMAND …` runs a function without the window.
    if (isCommandLine(argc, argv))
        return runCommandLine(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RM425T"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(RM425T_VERSION_MAJOR)
                                            .arg(RM425T_VERSION_MINOR)
                                            .arg(RM425T_VERSION_PATCH));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("rm425t"), programIcon()));
    // The pages are hidden, never closed: the program ends through the start window alone.
    QApplication::setQuitOnLastWindowClosed(false);

    registerProgramWindows();
    FormWindow *start = WindowRegistry::instance().window(QStringLiteral("frmStart"));
    start->show();
    return app.exec();
}
