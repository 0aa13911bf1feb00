#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class ControlValues;

// The parameter record: every setting of the eight configuration pages in one fixed-layout text, sent to
// the module in ten blocks of 64 characters. Its fields are laid out in the record table (recordtable.h).
inline constexpr int kParameterRecordLength = 640;

// Fill a text with blanks up to a width; a longer text is returned whole, never shortened.
QString PadRight(const QString &text, int width);
QString PadLeft(const QString &text, int width);

// A numeric field written with at least three digits ("5" gives "005", "+5" too, "-5" gives "-005"); a text
// that is not a whole number is returned unchanged.
QString ThreeDigitValue(const QString &text);

// Members first … last of a notification set (chksms1, chkfax1 or chkmail1) of a page, as a two-digit
// decimal bit mask: member i is bit i, members 7 … 12 count as bits 1 … 6 again. Member 0 is never read.
QString RecipientMask(
    int first, int last, const ControlValues &values, const QString &form, const QString &setName);

// One section of the record: the fields of one page ("frm1" …) in record order, or the record's own
// filler ("-"). A page whose in-use box is not ticked yields its fixed default text instead of its values.
QString EncodeSection(QStringView section, const ControlValues &values);

// Every field of the record table in turn. Its length is 640 as long as no field exceeds its width; the
// fields are never truncated, so a longer field makes a longer record.
QString BuildParameterRecord(const ControlValues &values);

enum class RecordProblem {
    None,
    WrongLength, // the record does not have exactly 640 characters, so its fields are out of place
};

// The bytes sent to the module: one Windows-1252 byte per character, "?" for a character without one.
// Refuses a record whose length is not 640, reporting the cause and the length it found.
std::optional<QByteArray> RecordToModuleBytes(
    const QString &record, RecordProblem *problem = nullptr, int *actualLength = nullptr);
