#pragma once

#include <QList>
#include <QString>

class FormWindow;
class IniDocument;

// The settings file "ZERiruze.ini" (where it lives: settingslocation.h): one section per configuration page,
// named after the window, and one key per input control, named after the control ("txtFon1(5)" for a member
// of a control array). Text boxes keep their text, lists the selected index, check boxes "0" / "1" / "2" and
// option buttons
// "-1" (selected) / "0". Empty values are never written.

// Full path a save writes the settings file to: beside the program or in the user's configuration folder
// (whose folder is created on the way), or in the folder set by setSettingsDirectory.
QString IniFilePath();

// The settings file start-up reads: IniFilePath(), or while nothing was saved there yet, a file beside the
// program that cannot be written in place.
QString IniFileReadPath();

// Full path of the status log of this run.
QString StatusLogPath();

// Tests only: the folder of the settings file; an empty text goes back to the rules of settingslocation.h.
void setSettingsDirectory(const QString &directory);

// Restores the window's controls from the settings file through their ordinary setters, so the window's own
// change handling runs as for user input. Controls without a (usable) value keep what they have; without a
// file nothing changes.
void LoadFormSettings(FormWindow *window);

// Adds the window's values to the document, in the order the window registered its controls.
void SaveFormSettings(FormWindow *window, IniDocument &document);

// Writes the windows, in the given order, as the new settings file; the old file is only replaced once the
// new one is complete. On failure returns false and sets errorText (when given) to the path and the reason.
bool SaveAllFormsToFile(const QList<FormWindow *> &windows, QString *errorText = nullptr);
