#pragma once

#include <QString>
#include <optional>

class QLineEdit;

// The hidden `language` box of the general settings page, which holds the language of the pages; nullptr
// while that page is not built.
QLineEdit *languageBox();

// The language of the pages as the configuration holds it (the `language` box's text), and a new one: through
// the box when the page is built.
QString pagesLanguageText();
void setPagesLanguageText(const QString &text);

// The language of the pages: the text of the `language` box read as a number; nullopt when it is not one.
std::optional<int> pagesLanguageCode();

// The language code in force: the run-time override when one is set, else pagesLanguageCode() (0 German,
// 1 English, 2 French).
std::optional<int> currentLanguageCode();

// A language chosen for the run-time texts over the one of the pages (the commands' --lang); nullopt goes
// back to the pages' language.
void setRuntimeLanguageOverride(std::optional<int> code);

// The variant of a run-time text for the language in force; German, the design language, for any other code.
QString textForLanguage(const QString &de, const QString &en, const QString &fr);
