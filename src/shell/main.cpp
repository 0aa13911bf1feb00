#include "cli/commandline.h"
#include "shell/formwindow.h"
#include "shell/windowregistry.h"

#include <QApplication>

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
    // The pages are hidden, never closed: the program ends through the start window alone.
    QApplication::setQuitOnLastWindowClosed(false);

    registerProgramWindows();
    FormWindow *start = WindowRegistry::instance().window(QStringLiteral("frmStart"));
    start->show();
    return app.exec();
}
