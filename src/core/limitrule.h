#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The limit field txtwert of the input pages: a percentage 0..100, typed as digits only (at most three).
//
// Enter: an empty field becomes "0", a value outside 0..100 becomes "50"; the focus stays in the field.
// Leaving the field: an empty field becomes "50"; what a value outside 0..100 becomes depends on the page.
// Text that is no number at all (the digit filter keeps it out of the field, whether typed, pasted or read
// from a file) is left alone by Enter and becomes "50" on leaving, so that it never reaches the record.
enum class LimitLeaving {
    Clamp, // below 0 becomes "0", above 100 becomes "100"; the focus goes on (inputs T1/T2)
    Reset // outside 0..100 becomes "50" and the focus comes back to the field (ADC input)
};

// An optional minus sign and 1 … maxDigits decimal digits, nothing else (no blanks); nullopt otherwise.
std::optional<int> signedDecimal(QStringView text, int maxDigits);

// The value of a limit text: optional blanks around an optional minus sign and decimal digits.
std::optional<int> limitValue(const QString &text);

// The text after the Enter check.
QString limitAfterEnter(const QString &text);

struct LimitCorrection
{
    QString text;
    bool refocus = false; // the focus goes back into the field
};
LimitCorrection limitAfterLeaving(const QString &text, LimitLeaving rule);
