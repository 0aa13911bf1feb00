#include "app/windowpart.h"
#include "cli/commandline.h"
#include "core/appsetup.h"
#include "shell/windowcatalog.h"
#include "window/startwarmup.h"

#include <QApplication>
#include <QIcon>

#ifdef Q_OS_WIN
#define RM425T_EXPORT __declspec(dllexport)
#else
#define RM425T_EXPORT __attribute__((visibility("default")))
#endif

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

// The arguments have been checked for the window already (refuseWindowArguments).
extern "C" RM425T_EXPORT int rm425tRunWindow(int argc, char *argv[])
{
    // Reads the font configuration while Qt and the start window are set up.
    FontConfigurationWarmUp warmUp;
    AppSetup::setUpApplication();
    QApplication app(argc, argv);
    // What Qt did not take on this platform (-display away from X11) is no option of the window either.
    if (const std::optional<int> refused = refuseWindowArguments(QApplication::arguments(), true))
        return *refused;
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("rm425t"), programIcon()));
    // The pages are hidden, never closed: the program ends through the start window alone.
    QApplication::setQuitOnLastWindowClosed(false);

    showStartWindow(warmUp);
    return app.exec();
}
