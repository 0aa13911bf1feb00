#pragma once

// Qt's own texts (standard buttons, the context menu of text fields) follow the interface language: the
// translations Qt ships for German and French, English being Qt's own. Code 0 German, 1 English, 2 French;
// other codes change nothing. False when the translation of the language could not be loaded (the
// program then goes on with Qt's English texts).
bool applyQtTranslations(int code);
