#pragma once

class FormWindow;

// Writes the caption table of the language in force (frm1's `language` box) into the windows, titles the
// windows, switches Qt's own texts and sets the help file. Windows the table names that do not exist yet are
// created on the way, in table order, which is how the start-up brings every page into existence. An unknown
// code writes nothing and creates nothing.
void ApplyLanguage();

// Gives the window the title of the language in force: the program's name and the page, as the start
// window's menu names it ("GSM - Kommunikation"). The start window keeps "GSM".
void applyWindowTitle(FormWindow *window);

// The language button: moves the `language` box on to the next language, then applies it.
void NextLanguage();
