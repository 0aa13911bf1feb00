#include "signallevel.h"

namespace {
const QString kLevelMarker = QStringLiteral("PEGEL");
constexpr int kLevelOffset = 12;
constexpr int kLevelDigits = 2;
} // namespace

std::optional<int> signalLevelOf(const QString &message)
{
    const qsizetype marker = message.indexOf(kLevelMarker);
    if (marker < 0)
        return std::nullopt;
    const QString digits = message.mid(marker + kLevelOffset, kLevelDigits);
    if (digits.size() != kLevelDigits)
        return std::nullopt;
    int level = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        level = level * 10 + (c.unicode() - '0');
    }
    return level;
}

std::optional<SignalBars> signalBarColours(int level)
{
    constexpr auto G = BarColour::Green;
    constexpr auto R = BarColour::Red;
    constexpr auto O = BarColour::Off;
    if (level < 0 || level > 99)
        return std::nullopt;
    if (level == 0)
        return SignalBars { R, O, O, O, O };
    if (level <= 5)
        return SignalBars { G, G, O, O, O };
    if (level <= 9)
        return SignalBars { G, G, G, O, O };
    if (level <= 14)
        return SignalBars { G, G, G, G, O };
    if (level <= 31)
        return SignalBars { G, G, G, G, G };
    return SignalBars { R, R, R, R, R };
}

std::optional<int> signalLevelDbm(int level)
{
    if (level < 0 || level > 31)
        return std::nullopt;
    return -113 + 2 * level;
}
