#include "cli/designconfiguration.h"

#include "cli/clitexts.h"
#include "cli/commandline.h"
#include "cli/moduleruns.h"
#include "core/configurationmodel.h"
#include "core/filekind.h"
#include "core/inifile.h"
#include "core/settingsstore.h"

#include <QDir>

int writeDesignConfiguration(const QString &path, bool replace)
{
    // What is said here is in the design language unless --lang says otherwise.
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
    if (!writeIniFileAtomically(path, Configuration::fromDocument(IniDocument()).toDocument(), &error)) {
        printErr(error);
        return ExitCode::kSettingsRefused;
    }
    printErr(CliText::fileWritten(shown));
    return ExitCode::kSuccess;
}
