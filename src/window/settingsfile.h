#pragma once

#include "core/settingsstore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class FormWindow;

// The windows' side of the settings file: the pages' controls read from and written to the configuration and
// to documents. The file itself: settingsstore.h.

// Remembers the current value of every stored control of the window as its design value; once per window,
// before its first load, so a configuration opened later can put back exactly what a file does not hold.
void captureDesignValues(FormWindow *window);

// Restores the window's controls from the program's configuration through their ordinary setters, as from a
// settings file holding its values, so the window's own change handling runs as for user input.
void LoadFormSettings(FormWindow *window);
// The same from a document: each control the document has a usable value for takes it by its kind's rule.
void LoadFormSettings(FormWindow *window, const IniDocument &document);

// After a page built from the configuration has run its load rules: a control that still differs from the
// configuration (a rule whose result depends on what the file held, not only on the values) is set to it
// without its handlers, so the page shows exactly what the configuration holds.
void showConfigurationExactly(FormWindow *window);

// From now on the program's configuration follows every change of the window's stored controls (values and
// whether they take input); it takes what they hold right away.
void bindToConfiguration(FormWindow *window);

// Applies a whole configuration to the window: each stored control takes its value from the document, or
// its design value when the document has none for it (captureDesignValues must have run).
void ApplyFormSettings(FormWindow *window, const IniDocument &document);

// Adds the window's values to the document, in the order the window registered its controls.
void SaveFormSettings(FormWindow *window, IniDocument &document);

// The document a save of these windows writes.
IniDocument documentOfWindows(const QList<FormWindow *> &windows);

