#pragma once

#include "core/inifile.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The settings file "ZERiruze.ini" (where it lives: settingslocation.h): one section per configuration page,
// named after the window, and one key per input control, named after the control ("txtFon1(5)" for a member
// of a control array). Text boxes keep their text, lists the selected index, check boxes "0" / "1" / "2" and
// option buttons
// "-1" (selected) / "0". Empty values are never written.

// Full path a save writes the settings file to: beside the program or in the user's configuration folder
// (whose folder is created on the way), or in the folder the application's set-up was given (appsetup.h).
QString IniFilePath();

// The settings file start-up reads: IniFilePath(), or while nothing was saved there yet, a file beside the
// program that cannot be written in place.
QString IniFileReadPath();

// Full path of the status log of this run.
QString StatusLogPath();

// The user's state folder (settingslocation.h), and in it the copy of the pages' unsaved edits.
QString StateFolderPath();
QString RecoveryFilePath();
// The store of the recently used configurations.
QString RecentStorePath();

// The windows whose controls a settings file holds, in the order a save writes them.
QStringList configurationPageNames();

// No settings file is anywhere near this size; a larger file is not read at all.
inline constexpr qint64 kMaxSettingsFileSize = 1024 * 1024;

enum class SettingsFileProblem {
    None,
    Missing, // no file at the path
    Unreadable, // the file exists but cannot be read
    TooLarge, // larger than kMaxSettingsFileSize
    NotText, // holds bytes no settings file has (NUL), so it is some other kind of file
    NoKnownSection, // no section of any configuration page
    NotAFile, // a FIFO, a terminal, a device or a folder: never opened as a file
};

struct SettingsFileRead
{
    std::optional<IniDocument> document; // only when problem is None
    SettingsFileProblem problem = SettingsFileProblem::None;
};

// What a file is read for: the working settings file is taken as it is (it may be empty, or damaged and
// still worth its readable values); a file the user picks must look like a settings file: no NUL bytes and
// at least one section of a configuration page.
enum class SettingsFileUse { Working, Chosen };

// Reads and checks a settings file in one go. Nothing larger than kMaxSettingsFileSize is read.
SettingsFileRead readSettingsFile(const QString &path, SettingsFileUse use);

// Start-up reads the settings file at path once into the program's configuration, by the pages' load rules
// (an empty path or no file: the design values); the pages show it when they are built. Returns what was
// wrong with the file (None when it was used or simply missing).
SettingsFileProblem loadSettingsIntoConfiguration(const QString &path);

// True when the two documents hold the same values under the same sections and keys (names compare without
// case; order and layout of the file do not count).
bool sameSettings(const IniDocument &a, const IniDocument &b);

// Writes the document as the new settings file at IniFilePath(), as the start window's save does; the old
// file is only replaced once the new one is complete (written in place, a copy waits in the state folder
// until the file is whole: see interruptedSave). On failure returns false and sets errorText (when
// given) to the path and the reason.
// Tests may stop the write half-way when it is made in place.
bool writeSettingsFile(
    const IniDocument &document, QString *errorText = nullptr, std::function<void()> halfWritten = {});

// How a file at the path is written in place: its copy in the state folder.
InPlaceWrite inPlaceWriteOf(const QString &path);

// A save that rewrote the settings file in place and did not end (a crash, a kill, a power cut): the copy of
// what it was writing, when the file now differs from it. A copy whose file is whole is removed here.
struct InterruptedSave
{
    QString copyPath;
    IniDocument document; // what the save was writing
};
std::optional<InterruptedSave> interruptedSave();
