#pragma once

#include <QString>

// Qt's own texts (standard buttons, the context menu of text fields) follow the interface language: the
// catalogue the language list names, or Qt's own English texts where it names none. A code outside the list
// changes nothing. False when the catalogue could not be loaded (the program then goes on with Qt's English
// texts).
bool applyQtTranslations(int code);

// Where Qt's translation catalogues are looked for.
QString qtTranslationsPath();
