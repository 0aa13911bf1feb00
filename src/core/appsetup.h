#pragma once

#include "core/settingslocation.h"

#include <QString>

// What the window and the commands share about the program itself: its name, which also names the user's
// folders (`~/.config/RM425T/` for the settings file, `~/.local/share/RM425T/` for the status log where the
// current folder cannot be written), and its version. Both set it up here, so both read and write the same
// files; it needs only a QCoreApplication (and may run before one exists).
namespace AppSetup {

inline const QString kApplicationName = QStringLiteral("RM425T");

// "5.0.0": the version of the build.
QString versionText();

// Names the application and gives it its version, and says where it keeps its own files (by default where
// the rules of settingslocation.h put them). Call before any folder is asked for.
void setUpApplication(const SettingsLocation::Storage &storage = {});

// Where this run keeps its own files, as set up.
const SettingsLocation::Storage &storage();

} // namespace AppSetup
