#pragma once

#include "core/settingsstore.h"

#include <QString>

// Settings and configuration files as the user meets them, without any window: reading a file the user
// picked, and what is said about one that cannot be used or written.

// Reads a file the user picked; nothing is applied.
SettingsFileRead readConfigurationFile(const QString &path);

// What is wrong with a settings file, in one sentence of the language in force.
QString settingsProblemText(SettingsFileProblem problem);

// Why a file could not be opened as a configuration, in the language in force; ends with the note that
// nothing was changed.
QString configurationRefusedText(SettingsFileProblem problem, const QString &path);

// Start-up did not load the working settings file for this reason, in the language in force.
QString settingsFileNotLoadedText(SettingsFileProblem problem, const QString &path);

// Why nothing may be written at the path, as "path: reason" in the language in force; empty when a regular
// file (or a link to one) or nothing stands there. A FIFO, a terminal or a device is never written.
QString refusedTargetReason(const QString &path);

// A configuration or settings file could not be written, with the path and the reason, in the language in
// force.
QString saveFailedText(const QString &reason);
