#pragma once

#include "l10n/language.h"

#include <QString>
#include <optional>

// The language the run-time texts speak, read from the program's configuration (the `language` value of the
// general settings page) unless a command chose one; no window is needed.

// The language of the pages as the configuration holds it (the `language` box's text).
QString pagesLanguageText();

// The language of the pages: the text of the `language` box read as a number; nullopt when it is not one.
std::optional<int> pagesLanguageCode();

// The language code in force: the run-time override when one is set, else pagesLanguageCode().
std::optional<int> currentLanguageCode();

// A language chosen for the run-time texts over the one of the pages (the commands' --lang); nullopt goes
// back to the pages' language.
void setRuntimeLanguageOverride(std::optional<int> code);

// The language the run-time texts speak: the one in force; German, the design language, for a code outside
// the list.
const Language &runtimeLanguageInForce();

// The variant of a run-time text for the language in force; written textForLanguage({ de, en, fr }).
QString textForLanguage(const LanguageTexts &texts);
