#include "core/settingslocation.h"

#include "core/filekind.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace SettingsLocation {

namespace {

QString inFolder(const QString &folder, const QString &fileName)
{
    return QDir(folder).filePath(fileName);
}

// Tried rather than read from permission bits, which say nothing of access lists (Windows), read-only
// mounts or an administrator's rights. A regular file is opened for writing without changing it; a folder
// takes a file that is removed again at once.
bool canWriteHere(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        QTemporaryFile probe(QDir(path).filePath(QStringLiteral("rm425t-XXXXXX.tmp")));
        return probe.open();
    }
    // A FIFO, a terminal or a device is no settings file: opening it may block or reach a device.
    if (fileKindOf(path) != FileKind::Regular)
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite);
}

} // namespace

bool isBuildTree(const QString &programDir)
{
    return QFileInfo::exists(inFolder(programDir, kBuildTreeMarker));
}

SettingsFileChoice chooseSettingsFile(const Folders &folders)
{
    const QString besideProgram = inFolder(folders.programDir, kSettingsFileName);
    const QString userFile = inFolder(folders.configDir, kSettingsFileName);
    const bool existsBeside = QFileInfo::exists(besideProgram);

    if (!isBuildTree(folders.programDir)) {
        // A file there is written in place even where the folder takes no new files.
        if (existsBeside ? folders.canWrite(besideProgram) : folders.canWrite(folders.programDir))
            return { besideProgram, besideProgram };
    }
    // What the user saved before wins; until then a file beside the program is where the pages start from.
    if (!QFileInfo::exists(userFile) && existsBeside)
        return { userFile, besideProgram };
    return { userFile, userFile };
}

QString chooseStatusLog(const Folders &folders)
{
    // Relative, as it always was: the log is found where the user started the program.
    if (folders.canWrite(folders.currentDir))
        return kStatusLogFileName;
    return inFolder(folders.dataDir, kStatusLogFileName);
}

QString stateFolder()
{
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#else
    // Qt 6.4 knows no state location: the XDG rule, where only an absolute path counts.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::home().filePath(QStringLiteral(".local/state"));
    return QDir(base).filePath(QStringLiteral("RM425T"));
#endif
}

QString recentStorePath()
{
#ifdef Q_OS_WIN
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(base).filePath(kRecentStoreFileName);
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QStringLiteral("RM425T/") + kRecentStoreFileName);
#endif
}

Folders currentFolders()
{
    Folders folders;
    folders.programDir = QCoreApplication::applicationDirPath();
    folders.configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    folders.dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    folders.currentDir = QDir::currentPath();
    folders.canWrite = canWriteHere;
    return folders;
}

} // namespace SettingsLocation
