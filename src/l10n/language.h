#pragma once

#include <QString>
#include <optional>

// The language code is the text of the hidden text box `language` on frm1, read as a number.
constexpr int kGerman = 0;
constexpr int kEnglish = 1;
constexpr int kFrench = 2;

// Reads the text of the `language` box as a number. Blanks around the number are ignored and a sign is
// allowed; anything else (empty, a decimal point, letters) is not a number and gives nullopt, which every
// caller treats as an unknown code. A number too large for an int is clamped, so it stays "2 or more".
std::optional<int> languageCodeFromText(const QString &text);

// True for 0, 1 and 2: the codes that have a column in the caption table.
bool isKnownLanguage(std::optional<int> code);

// The text the language button writes into the box: the next language, German after French. A code outside
// 0 ... 2 goes to German; a text that is not a number counts as 0 and goes to English.
QString nextLanguageText(const QString &current);

// Picks the German, English or French variant of a text built at run time. An unknown code picks German,
// the design language, so a message is never lost.
QString runtimeText(
    std::optional<int> code, const QString &german, const QString &english, const QString &french);
