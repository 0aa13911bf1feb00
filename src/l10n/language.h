#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>
#include <optional>

// One language of the interface. kLanguages is the only place that knows which languages there are: the
// caption table's columns, the run-time texts, Qt's own texts, the help, the language button and --lang all
// take a language from it.
struct Language
{
    int code; // the number in frm1's `language` box and the settings file; the entry's place in the list
    QStringView name; // in English, for the readers of the list and of the tests
    QStringView tag; // what --lang takes
    QStringView qtCatalogue; // Qt's own translations ("qt_de"); empty where Qt's own English texts serve
    QStringView helpFile; // the help file the caption table sets for the language
    QStringView helpSet; // the bundled topics shown for that help file
    QChar decimalSeparator; // in numbers written for people
};

// In code order: the language button goes down the list and from the last back to the first.
inline constexpr std::array kLanguages {
    Language { 0, u"German", u"de", u"qt_de", u"\\GSM_HILFE.CHM", u"de", u',' },
    Language { 1, u"English", u"en", u"", u"\\GSM_HELP.CHM", u"en", u'.' },
    // There is no French help: French opens the German one.
    Language { 2, u"French", u"fr", u"qt_fr", u"\\GSM_HILFE.CHM", u"de", u',' },
};
inline constexpr std::size_t kLanguageCount = kLanguages.size();

// The codes named where one language is meant.
inline constexpr int kGerman = 0;
inline constexpr int kEnglish = 1;
inline constexpr int kFrench = 2;
// The text of the `language` box when the settings file holds none: a first start speaks English.
inline constexpr int kDefaultLanguageCode = kEnglish;

// Reads the text of the `language` box as a number. Blanks around the number are ignored and a sign is
// allowed; anything else (empty, a decimal point, letters) is not a number and gives nullopt, which every
// caller treats as a code outside the list. A number too large for an int is clamped, so it stays "2 or
// more".
std::optional<int> languageCodeFromText(const QString &text);

// What a code outside the list means (another number, or a box that holds no number). The rules are kept
// together here so that no caller decides it on its own:
// - findLanguage() has no language for it: no caption, no Qt translation and no text that exists only
//   per language (the about box, the save message) is written, the windows keep what they show;
// - runtimeLanguage() speaks German, the design language, so a message built at run time is never lost;
// - nextLanguageText() (the language button) goes to the first language; a box that holds no number counts
//   as the first language, so the press gives the second.
const Language *findLanguage(std::optional<int> code);
bool isKnownLanguage(std::optional<int> code);
const Language &runtimeLanguage(std::optional<int> code);
QString nextLanguageText(const QString &current);

// The language --lang names by its tag (any case); nullptr for any other text.
const Language *languageForTag(QStringView tag);
// The tags for a message: "de, en or fr".
QString languageTagList();

// A text built at run time, in every language in the order of kLanguages. It is built from exactly one
// text per language: a text that misses a language, or has one too many, does not compile.
class LanguageTexts
{
public:
    template<typename... Texts>
    requires(sizeof...(Texts) == kLanguageCount)
        LanguageTexts(const Texts &...texts) // NOLINT(google-explicit-constructor): written as a braced list
        : m_texts { toText(texts)... }
    {
    }

    const QString &in(const Language &language) const { return m_texts[std::size_t(language.code)]; }
    // The variant for a language code; German for a code outside the list.
    const QString &in(std::optional<int> code) const { return in(runtimeLanguage(code)); }

private:
    static QString toText(const QString &text) { return text; }
    static QString toText(const char *text) { return QString::fromUtf8(text); }

    std::array<QString, kLanguageCount> m_texts;
};
