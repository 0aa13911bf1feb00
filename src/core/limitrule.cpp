#include "core/limitrule.h"

namespace {

constexpr int kLowest = 0;
constexpr int kHighest = 100;
const QString kEnterEmpty = QStringLiteral("0");
const QString kOutOfRange = QStringLiteral("50");
const QString kLeavingEmpty = QStringLiteral("50");

bool inRange(int value)
{
    return value >= kLowest && value <= kHighest;
}

} // namespace

std::optional<int> signedDecimal(QStringView text, int maxDigits)
{
    QStringView digits = text;
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits = digits.mid(1);
    if (digits.isEmpty() || digits.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

std::optional<int> limitValue(const QString &text)
{
    // Three digits is all the field takes; a few more still cannot overflow.
    return signedDecimal(QStringView(text).trimmed(), 6);
}

QString limitAfterEnter(const QString &text)
{
    if (text.isEmpty())
        return kEnterEmpty;
    const std::optional<int> value = limitValue(text);
    if (value && !inRange(*value))
        return kOutOfRange;
    return text;
}

LimitCorrection limitAfterLeaving(const QString &text, LimitLeaving rule)
{
    if (text.isEmpty())
        return { kLeavingEmpty };
    const std::optional<int> value = limitValue(text);
    if (!value)
        return { kLeavingEmpty };
    if (inRange(*value))
        return { text };
    if (rule == LimitLeaving::Reset)
        return { kOutOfRange, true };
    return { QString::number(*value < kLowest ? kLowest : kHighest) };
}
