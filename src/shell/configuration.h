#pragma once

#include "window/settingsfile.h"

#include <QString>

// A configuration is a settings file the user keeps under a name of his own. Opening one runs every
// page's load step over it, as start-up runs them over the working settings file.

// Reads a file the user picked; nothing is applied.
SettingsFileRead readConfigurationFile(const QString &path);

// Puts the whole document into the pages frm1 … frm7, frm9 (created when missing) in their order, each by
// its load step. The document has been read and checked completely before, so the pages never end up half
// from one configuration and half from another.
void loadConfigurationIntoPages(const IniDocument &document);

// loadConfigurationIntoPages, then the captions of the language the document brings.
void applyConfiguration(const IniDocument &document);

// What a save of the configuration pages writes, in the order of a save.
IniDocument documentOfPages();

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
