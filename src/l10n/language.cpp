#include "l10n/language.h"

#include <QStringList>
#include <algorithm>
#include <limits>

namespace {

constexpr bool codesAreListPlaces()
{
    for (std::size_t i = 0; i < kLanguageCount; ++i) {
        if (kLanguages[i].code != int(i))
            return false;
    }
    return true;
}
static_assert(codesAreListPlaces(), "a language's code is its place in kLanguages");

// The design language: what a code outside the list speaks at run time.
constexpr const Language &kDesignLanguage = kLanguages[kGerman];

} // namespace

std::optional<int> languageCodeFromText(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'+' || digits.front() == u'-')) {
        negative = digits.front() == u'-';
        digits = digits.sliced(1);
    }
    if (digits.isEmpty())
        return std::nullopt;

    constexpr qint64 kLimit = std::numeric_limits<int>::max();
    qint64 value = 0;
    for (QChar c : digits) {
        // Only ASCII digits: QChar::isDigit() would also take digits of other scripts.
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - u'0'), kLimit + 1);
    }
    if (negative)
        return int(std::max(-value, qint64(std::numeric_limits<int>::min())));
    return int(std::min(value, kLimit));
}

const Language *findLanguage(std::optional<int> code)
{
    if (!code || *code < 0 || *code >= int(kLanguageCount))
        return nullptr;
    return &kLanguages[std::size_t(*code)];
}

bool isKnownLanguage(std::optional<int> code)
{
    return findLanguage(code) != nullptr;
}

const Language &runtimeLanguage(std::optional<int> code)
{
    const Language *language = findLanguage(code);
    return language ? *language : kDesignLanguage;
}

QString nextLanguageText(const QString &current)
{
    // A text that is not a number would stop the button for good; count it as the first language.
    const qint64 next = qint64(languageCodeFromText(current).value_or(kLanguages.front().code)) + 1;
    if (next < 0 || next >= qint64(kLanguageCount))
        return QString::number(kLanguages.front().code);
    return QString::number(next);
}

const Language *languageForTag(QStringView tag)
{
    const auto found = std::find_if(kLanguages.begin(), kLanguages.end(),
        [tag](const Language &language) { return tag.compare(language.tag, Qt::CaseInsensitive) == 0; });
    return found == kLanguages.end() ? nullptr : &*found;
}

QString languageTagList()
{
    QStringList tags;
    for (const Language &language : kLanguages)
        tags.append(language.tag.toString());
    const QString last = tags.takeLast();
    return tags.isEmpty() ? last : tags.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}
