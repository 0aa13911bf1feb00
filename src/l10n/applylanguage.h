#pragma once

class FormWindow;

// Writes the caption table of the language in force (frm1's `language` box) into the windows that are built,
// titles them, switches Qt's own texts and sets the help file. An unknown code writes nothing.
void ApplyLanguage();

// A window just built takes the captions and title of the language in force, as if it had been there when
// the language was applied.
void applyLanguageTo(FormWindow *window);

// Gives the window the title of the language in force: the program's name and the page, as the start
// window's menu names it ("GSM - Kommunikation"). The start window keeps "GSM".
void applyWindowTitle(FormWindow *window);

// The language button: moves the `language` box on to the next language, then applies it.
void NextLanguage();
