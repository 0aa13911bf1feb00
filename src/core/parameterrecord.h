#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class ControlValues;

// The parameter record: every setting of the eight configuration pages in one fixed-layout text, sent to
// the module in ten blocks of 64 characters.
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

// The record's sections, each read from its page. A page whose in-use box is not ticked yields its fixed
// default text instead of its values.
QString EncodeGeneral(const ControlValues &values); // frm1, 450 characters
QString EncodeInputsT1T2(const ControlValues &values); // frm2, 29
QString EncodeIncallOutput(const ControlValues &values); // frm7, 11
QString EncodeSmsOutputs(const ControlValues &values); // frm4, 41
QString EncodeOptoInputs(const ControlValues &values); // frm3, 42
QString EncodeAdcInput(const ControlValues &values); // frm5, 29
QString EncodePwmOutput(const ControlValues &values); // frm6, 8
QString EncodeReplyError(const ControlValues &values); // frm9, 25

// The eight sections in record order followed by five blanks. Its length is 640 as long as no field
// exceeds its width; the builders never truncate, so a longer field makes a longer record.
QString BuildParameterRecord(const ControlValues &values);

enum class RecordProblem {
    None,
    WrongLength, // the record does not have exactly 640 characters, so its fields are out of place
};

// The bytes sent to the module: one Windows-1252 byte per character, "?" for a character without one.
// Refuses a record whose length is not 640, reporting the cause and the length it found.
std::optional<QByteArray> RecordToModuleBytes(
    const QString &record, RecordProblem *problem = nullptr, int *actualLength = nullptr);
