#pragma once

#include "l10n/runtimelanguage.h"

#include <QString>

class QLineEdit;

// The hidden `language` box of the general settings page, which holds the language of the pages; nullptr
// while that page is not built.
QLineEdit *languageBox();

// A new language of the pages: through the box when the page is built, so the page sees its own control
// change, else into the configuration.
void setPagesLanguageText(const QString &text);
