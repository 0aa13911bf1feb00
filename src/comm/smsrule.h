#pragma once

#include <QString>

// The one rule of an SMS text, wherever it is typed, pasted, counted or checked: at most kMaxLength
// characters as the text holds them.
namespace SmsRule {

inline constexpr int kMaxLength = 160;

// How many characters a text of this length can still take (never below 0).
constexpr int charactersLeft(qsizetype length)
{
    return length >= kMaxLength ? 0 : kMaxLength - int(length);
}

inline bool fits(const QString &text)
{
    return text.size() <= kMaxLength;
}

} // namespace SmsRule
