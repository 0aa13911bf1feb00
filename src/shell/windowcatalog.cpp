#include "shell/windowcatalog.h"

#include "l10n/applylanguage.h"
#include "window/startwarmup.h"
#include "pages/frm1.h"
#include "pages/frm2.h"
#include "pages/frm3.h"
#include "pages/frm4.h"
#include "pages/frm5.h"
#include "pages/frm6.h"
#include "pages/frm7.h"
#include "pages/frm9.h"
#include "comm/uploadlog.h"
#include "shell/configfiles.h"
#include "shell/frmabout.h"
#include "shell/frmstart.h"
#include "window/help.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

namespace {

// Pages are owned by the start window, so they stay in front of it; without one (tests) they stand alone.
QWidget *owner()
{
    return WindowRegistry::instance().existing(QStringLiteral("frmStart"));
}

template<class W, class... Options> void registerWindow(const char *name, const Options &...options)
{
    WindowRegistry::instance().registerFactory(QString::fromLatin1(name), [options...] {
        auto *window = new W(owner(), options...);
        applyWindowTitle(window);
        return window;
    });
}

} // namespace

void registerProgramWindows(const ProgramWindowOptions &options)
{
    WindowRegistry::instance().registerFactory(
        QStringLiteral("frmStart"), [dialogs = options.dialogs] { return new FrmStart(nullptr, dialogs); });
    // A window built while the program runs takes the captions of the language in force, as if it had been
    // there when the start window applied it; the start window applies the language itself while it loads.
    WindowRegistry::instance().setCreationHook([](FormWindow *window) {
        if (window->formName() != QLatin1String("frmStart")
            && WindowRegistry::instance().exists(QStringLiteral("frmStart")))
            applyLanguageTo(window);
    });
    registerWindow<Frm1>("frm1");
    registerWindow<Frm2>("frm2");
    registerWindow<Frm3>("frm3");
    registerWindow<Frm4>("frm4");
    registerWindow<Frm5>("frm5");
    registerWindow<Frm6>("frm6");
    registerWindow<Frm7>("frm7");
    Frm8Options frm8 = options.frm8;
    frm8.dialogs = options.dialogs;
    if (!frm8.settingsFile) {
        // The upload log names the configuration the title names (a save writes it too), else the working file.
        frm8.settingsFile = [] {
            const FrmStart *start = startWindow();
            const QString current = start ? start->configurationFiles()->currentFile() : QString();
            return current.isEmpty() ? IniFilePath() : current;
        };
    }
    setHelpPlaceholder(QStringLiteral("%UPLOAD_LOG%"), [] { return UploadLog::logPath(); });
    registerWindow<Frm8>("frm8", frm8);
    registerWindow<Frm9>("frm9");
    registerWindow<FrmAbout>("frmAbout", options.dialogs);
}

FormWindow *showStartWindow(FontConfigurationWarmUp &warmUp, const ProgramWindowOptions &options)
{
    warmUp.applicationCreated();
    registerProgramWindows(options);
    FormWindow *start = WindowRegistry::instance().window(QStringLiteral("frmStart"));
    warmUp.wait();
    start->show();
    return start;
}
