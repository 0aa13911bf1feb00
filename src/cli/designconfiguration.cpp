#include "cli/designconfiguration.h"

#include "cli/clitexts.h"
#include "cli/commandline.h"
#include "cli/moduleruns.h"
#include "comm/frm8.h"
#include "comm/portcatalog.h"
#include "core/filekind.h"
#include "core/inifile.h"
#include "shell/configuration.h"
#include "shell/windowcatalog.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QDir>

int writeDesignConfiguration(const QString &path, bool replace)
{
    // The pages built from no settings file at all hold their design values, with their load rules run over
    // them; what is said here is in their language unless --lang says otherwise. No port is probed for the
    // communication page, should anything ask for it.
    registerProgramWindows();
    WindowRegistry::instance().registerFactory(QStringLiteral("frm8"), [] {
        Frm8Options options;
        options.discoverPorts = [] { return QList<PortEntry>(); };
        return new Frm8(nullptr, options);
    });
    beginStartupLoad(QString());
    for (const QString &name : configurationPageNames())
        WindowRegistry::instance().window(name);
    endStartupLoad();
    const QString shown = QDir::toNativeSeparators(path);
    const FileKind kind = fileKindOf(path);
    if (!isFileOrMissing(kind)) {
        printErr(CliText::notAFile(shown));
        return ExitCode::kSettingsRefused;
    }
    if (kind == FileKind::Regular && !replace) {
        printErr(CliText::fileExists(shown));
        return ExitCode::kSettingsRefused;
    }
    QString error;
    if (!writeIniFileAtomically(path, documentOfPages(), &error)) {
        printErr(error);
        return ExitCode::kSettingsRefused;
    }
    printErr(CliText::fileWritten(shown));
    return ExitCode::kSuccess;
}
