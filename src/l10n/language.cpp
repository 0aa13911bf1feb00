#include "l10n/language.h"

#include <QStringView>
#include <algorithm>
#include <limits>

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

bool isKnownLanguage(std::optional<int> code)
{
    return code && *code >= kGerman && *code <= kFrench;
}

QString nextLanguageText(const QString &current)
{
    // A text that is not a number would stop the button for good; count it as 0, so the press gives English.
    const qint64 next = qint64(languageCodeFromText(current).value_or(kGerman)) + 1;
    if (next < kGerman || next > kFrench)
        return QString::number(kGerman);
    return QString::number(next);
}

QString runtimeText(
    std::optional<int> code, const QString &german, const QString &english, const QString &french)
{
    switch (code.value_or(kGerman)) {
    case kEnglish:
        return english;
    case kFrench:
        return french;
    default:
        return german;
    }
}
