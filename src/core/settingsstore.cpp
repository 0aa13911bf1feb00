#include "core/settingsstore.h"

#include "core/appsetup.h"
#include "core/configuration.h"
#include "core/configurationmodel.h"
#include "core/filekind.h"
#include "core/settingslocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

// The folder the application's set-up named for the program's own files; empty: the location rules.
const QString &settingsDirectory()
{
    return AppSetup::storage().folder;
}

// Values a document holds, by case-folded section and key: what the private-profile calls would see.
QHash<QString, QString> flatValues(const IniDocument &document)
{
    QHash<QString, QString> values;
    for (const QString &section : document.sections()) {
        const QString sectionKey = section.toCaseFolded() + QLatin1Char('\n');
        for (const QString &key : document.keys(section)) {
            const QString flatKey = sectionKey + key.toCaseFolded();
            if (values.contains(flatKey))
                continue;
            if (const std::optional<QString> value = document.value(section, key))
                values.insert(flatKey, *value);
        }
    }
    return values;
}

} // namespace

QString IniFilePath()
{
    if (!settingsDirectory().isEmpty())
        return QDir(settingsDirectory()).filePath(SettingsLocation::kSettingsFileName);
    const QString path = SettingsLocation::chooseSettingsFile(SettingsLocation::currentFolders()).writePath;
    // The user's configuration folder may not exist yet; without it no save could succeed.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

QString IniFileReadPath()
{
    if (!settingsDirectory().isEmpty())
        return IniFilePath();
    return SettingsLocation::chooseSettingsFile(SettingsLocation::currentFolders()).readPath;
}

QString StatusLogPath()
{
    const QString path = SettingsLocation::chooseStatusLog(SettingsLocation::currentFolders());
    if (QFileInfo(path).isAbsolute())
        QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

QString StateFolderPath()
{
    if (!settingsDirectory().isEmpty())
        return QDir(settingsDirectory()).filePath(QStringLiteral("state"));
    return SettingsLocation::stateFolder();
}

QString RecoveryFilePath()
{
    return QDir(StateFolderPath()).filePath(SettingsLocation::kRecoveryFileName);
}

QString RecentStorePath()
{
    if (!settingsDirectory().isEmpty())
        return QDir(settingsDirectory()).filePath(SettingsLocation::kRecentStoreFileName);
    return SettingsLocation::recentStorePath();
}

QStringList configurationPageNames()
{
    return { QStringLiteral("frm1"), QStringLiteral("frm2"), QStringLiteral("frm3"), QStringLiteral("frm4"),
        QStringLiteral("frm5"), QStringLiteral("frm6"), QStringLiteral("frm7"), QStringLiteral("frm9") };
}

SettingsFileRead readSettingsFile(const QString &path, SettingsFileUse use)
{
    SettingsFileRead result;
    const FileKind kind = fileKindOf(path);
    if (kind == FileKind::Missing) {
        result.problem = SettingsFileProblem::Missing;
        return result;
    }
    if (kind != FileKind::Regular) {
        result.problem = SettingsFileProblem::NotAFile;
        return result;
    }
    QFile file;
    if (!openRegularFileForReading(file, path)) {
        // Replaced by something else since it was looked at, or closed to us.
        result.problem = fileKindOf(path) == FileKind::Regular ? SettingsFileProblem::Unreadable
                                                               : SettingsFileProblem::NotAFile;
        return result;
    }
    // The size is checked on what is read, not on what the directory says, so a file that grows meanwhile
    // (or a device without a size) cannot slip past the bound.
    const QByteArray bytes = file.read(kMaxSettingsFileSize + 1);
    if (bytes.size() > kMaxSettingsFileSize) {
        result.problem = SettingsFileProblem::TooLarge;
        return result;
    }
    if (file.error() != QFileDevice::NoError) {
        result.problem = SettingsFileProblem::Unreadable;
        return result;
    }
    if (use == SettingsFileUse::Chosen && bytes.contains('\0')) {
        result.problem = SettingsFileProblem::NotText;
        return result;
    }
    IniDocument document = IniDocument::fromBytes(bytes);
    if (use == SettingsFileUse::Chosen) {
        const QStringList pages = configurationPageNames();
        const QStringList sections = document.sections();
        const bool known = std::any_of(sections.cbegin(), sections.cend(),
            [&pages](const QString &section) { return pages.contains(section, Qt::CaseInsensitive); });
        if (!known) {
            result.problem = SettingsFileProblem::NoKnownSection;
            return result;
        }
    }
    result.document = std::move(document);
    return result;
}

SettingsFileProblem loadSettingsIntoConfiguration(const QString &path)
{
    SettingsFileRead read;
    read.problem = SettingsFileProblem::Missing;
    if (!path.isEmpty())
        read = readSettingsFile(path, SettingsFileUse::Working);
    ConfigurationModel::program().replace(
        read.document ? Configuration::fromDocument(*read.document) : Configuration());
    return read.problem == SettingsFileProblem::Missing ? SettingsFileProblem::None : read.problem;
}

bool sameSettings(const IniDocument &a, const IniDocument &b)
{
    return flatValues(a) == flatValues(b);
}

InPlaceWrite inPlaceWriteOf(const QString &path)
{
    return { inPlaceCopyPath(StateFolderPath(), path), {} };
}

bool writeSettingsFile(const IniDocument &document, QString *errorText, std::function<void()> halfWritten)
{
    const QString path = IniFilePath();
    InPlaceWrite inPlace = inPlaceWriteOf(path);
    inPlace.halfWritten = std::move(halfWritten);
    return writeIniFileAtomically(path, document, errorText, inPlace);
}

std::optional<InterruptedSave> interruptedSave()
{
    const QString path = IniFilePath();
    const QString copyPath = inPlaceWriteOf(path).copyPath;
    const std::optional<IniDocument> copy = readIniFile(copyPath);
    if (!copy)
        return std::nullopt;
    const SettingsFileRead file = readSettingsFile(path, SettingsFileUse::Working);
    if (file.document && file.document->toBytes() == copy->toBytes()
        && fileKindOf(path) == FileKind::Regular) {
        // The save got to its end; only the copy's removal did not happen.
        QFile::remove(copyPath);
        return std::nullopt;
    }
    return InterruptedSave { copyPath, *copy };
}
