#pragma once

#include <QString>
#include <optional>

// The language code in force: the text of the hidden `language` box of the general settings page, read as a
// number (0 German, 1 English, 2 French); nullopt when the text is not a number. Reading it creates that
// page when it does not exist yet.
std::optional<int> currentLanguageCode();

// A language chosen for the run-time texts over the one of the pages (the commands' --lang); nullopt goes
// back to the pages' language.
void setRuntimeLanguageOverride(std::optional<int> code);

// The variant of a run-time text for the language in force; German, the design language, for any other code.
QString textForLanguage(const QString &de, const QString &en, const QString &fr);
