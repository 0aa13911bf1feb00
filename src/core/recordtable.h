#pragma once

#include <QList>
#include <QString>

#include <span>

class ControlValues;

// How a field of the parameter record turns the controls it reads into text. Controls are read from the
// field's own page (its section) through ControlValues; "ticked" means state 1, so a greyed box (2) is not.
enum class FieldEncoding {
    Fixed, // `text` as it stands
    PadRight, // the text of control(index), blanks after it up to the width
    PadLeft, // the text of control(index) right-aligned in the width
    FaxNumber, // the single control `prefix`, then the number in control(index), PadRight; blanks when the
               // number is empty
    Limit, // ThreeDigitValue of control(index), then the option letters of optionA/optionB(index)
    LimitUnlessEmpty, // the same, but an empty limit writes the off text
    OptionLetters, // letters[0] when optionA(index) is selected, then letters[1] when optionB(index) is
    OnTimeCode, // the code of the first selected member 1 … 12 of the option array `control`; none: nothing
    RecipientMask, // RecipientMask(first, last) of the notification set `control`
    Flag, // "J" when control is ticked, "N" otherwise
    FlagAnyState, // "J" for any state but cleared (greyed too), "N" when cleared
};

// One field of the parameter record: where it lies, what `record --fields` calls it, and how it is
// written. A field of a page with an in-use box writes `offText` instead of its value while that box is
// not ticked, and also while `overriddenBy` is ticked.
struct RecordRow
{
    const char *section = nullptr; // the page ("frm1" …), "-" for the record's own filler
    const char *field = nullptr; // the control(s) it is built from, or what it stands for
    int offset = 0; // first character, counted from 0
    int width = 0;
    FieldEncoding encoding = FieldEncoding::Fixed;
    const char *control = nullptr;
    int index = -1; // member of a control array, -1 for a single control
    const char *prefix = nullptr;
    const char *optionA = nullptr;
    const char *optionB = nullptr;
    const char *letters = nullptr;
    int first = 0; // members of a recipient mask
    int last = 0;
    const char *text = nullptr;
    const char *inUse = nullptr;
    int inUseIndex = -1;
    const char *overriddenBy = nullptr;
    const char *offText = nullptr;
};

// Every field of the record in record order. The widths are those the pages' limits keep each value to;
// a longer value is written whole, so it pushes every later field along.
std::span<const RecordRow> parameterRecordTable();

// The text of one field as the record holds it.
QString EncodeRecordRow(const RecordRow &row, const ControlValues &values);

// Where each value lies in the 640-character parameter record, for showing a record field by field.
struct RecordField
{
    QString section; // the page the value comes from ("frm1" …), "-" for the record's own filler
    QString field; // the control(s) it is built from, or what it stands for
    int offset = 0; // first character, counted from 0
    int width = 0;
};

// The record table without its encodings: every field in record order, without gaps, ending at 640.
QList<RecordField> parameterRecordFields();
