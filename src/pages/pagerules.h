#pragma once

#include <QString>

class FormWindow;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// Selection on entry: the whole text, so that typing replaces the value.
void SelectAllText(QLineEdit *field);
void SelectAllText(QPlainTextEdit *field);
// Calls SelectAllText each time the field gets the focus, also when it was entered with a click (the click
// would otherwise put the cursor where it landed).
void selectAllOnEntry(QLineEdit *field);
void selectAllOnEntry(QPlainTextEdit *field);

// The start window's message area: the framed message, shown in the start window's lblMeld.
void ShowPageMessage(const QString &text);
// Hides the page and shows lblMeld with the OK button (show = true), or the reverse.
void ShowMessageOverlay(FormWindow *page, bool show);

// A failed field check: the field gets its default text back and the focus, and its own tool tip (in the
// language in force) is shown in the message overlay while the page is hidden.
void FailFieldCheck(FormWindow *page, QLineEdit *field, const QString &defaultText);

// Brings a page back after the OK button of the message overlay: the overlay goes, the page is shown and
// becomes the active window again. The page then puts the focus where its rules say.
void returnFromMessageOverlay(FormWindow *page);

// Tab strip: makes tab i of n the active one (colours of opt(1..n), one picture Pic(i) shown).
void SelectTab(int tab, int count, FormWindow *page);
