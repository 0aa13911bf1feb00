#pragma once

#include <QString>

#include <functional>

// Where the settings file and the status log live.
//
// The settings file stays beside the program as long as it can be written there, so a copy of the program
// on a stick carries its settings along. An installed program (a folder only the administrator may write)
// and a program run from its build tree keep them in the user's configuration folder instead, so a clean
// rebuild never deletes what the user saved. A file beside the program that cannot be written there is read
// as the starting point until the user saves the first time.
//
// The status log goes into the current directory as before when it can be written there, else into the
// user's data folder.
namespace SettingsLocation {

inline const QString kSettingsFileName = QStringLiteral("ZERiruze.ini");
inline const QString kStatusLogFileName = QStringLiteral("GSM.DAT");
// Written by the build beside the built program; never installed.
inline const QString kBuildTreeMarker = QStringLiteral("rm425t-build-tree.txt");
// In the user's state folder: the pages as they were after the last edit, kept until they are saved or
// thrown away, so a crash, a kill or a power cut loses nothing.
inline const QString kRecoveryFileName = QStringLiteral("unsaved-pages.ini");
// Beside the user's configuration, never in the settings file: the last configurations opened or saved.
inline const QString kRecentStoreFileName = QStringLiteral("configurations.ini");

// Where this run keeps the files the program writes for itself: the settings file, the recent store and
// the state folder. The program takes them from the rules here (no folder given), looked up afresh each
// time, so a first save moves the reading to the user's file; a run given a folder keeps all three in it,
// the state folder as "state" below it. The status log follows its own rule either way.
struct Storage
{
    QString folder; // empty: the rules of this namespace
};

// Everything the choice depends on, so that it can be made for folders a test sets up.
struct Folders
{
    QString programDir;
    QString configDir; // the user's configuration folder for this program
    QString dataDir; // the user's data folder for this program
    QString currentDir;
    // Whether a new file can be created in a folder, and whether an existing file can be written in place.
    std::function<bool(const QString &path)> canWrite;
};

struct SettingsFileChoice
{
    QString writePath; // where a save goes
    QString readPath; // what start-up reads: writePath, or the starting point beside the program
};

SettingsFileChoice chooseSettingsFile(const Folders &folders);
QString chooseStatusLog(const Folders &folders);

// The folders of this run: the program's folder, QStandardPaths' folders, the current directory and the
// file system's own answer on writing.
Folders currentFolders();

// The user's state folder for this program: what the program keeps for itself between runs (the copy of
// unsaved pages, the copy kept while a file is written in place). On Linux $XDG_STATE_HOME/RM425T, by
// default ~/.local/state/RM425T; on Windows the local application data folder. Not created here.
QString stateFolder();

// The file that holds the recently used configurations: RM425T/configurations.ini in the user's
// configuration folder (on Windows the roaming application data folder), where earlier versions kept it.
QString recentStorePath();

// A program that runs from its build tree finds the build's marker beside it.
bool isBuildTree(const QString &programDir);

} // namespace SettingsLocation
