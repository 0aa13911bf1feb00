#include "core/recordtable.h"

#include "core/controlvalues.h"
#include "core/parameterrecord.h"

#include <array>

namespace {

// The rows of the table are written with these, so each line says what the field reads.

constexpr RecordRow fixed(const char *section, int offset, const char *text)
{
    RecordRow row { section, "(fixed)", offset, 0, FieldEncoding::Fixed };
    while (text[row.width] != '\0')
        ++row.width;
    row.text = text;
    return row;
}

constexpr RecordRow textField(FieldEncoding encoding, const char *section, const char *field, int offset,
    int width, const char *control, int index = -1)
{
    RecordRow row { section, field, offset, width, encoding };
    row.control = control;
    row.index = index;
    return row;
}

constexpr RecordRow padRight(
    const char *section, const char *field, int offset, int width, const char *control, int index = -1)
{
    return textField(FieldEncoding::PadRight, section, field, offset, width, control, index);
}

constexpr RecordRow padLeft(
    const char *section, const char *field, int offset, int width, const char *control, int index = -1)
{
    return textField(FieldEncoding::PadLeft, section, field, offset, width, control, index);
}

constexpr RecordRow fax(const char *field, int offset, int index)
{
    RecordRow row = textField(FieldEncoding::FaxNumber, "frm1", field, offset, 20, "txtFax1", index);
    row.prefix = "txtFAxPref";
    return row;
}

constexpr RecordRow options(FieldEncoding encoding, const char *section, const char *field, int offset,
    int width, const char *optionA, const char *optionB, const char *letters, int index = -1)
{
    RecordRow row { section, field, offset, width, encoding };
    row.optionA = optionA;
    row.optionB = optionB;
    row.letters = letters;
    row.index = index;
    return row;
}

// A limit above ("O") or below ("U") which the event is sent.
constexpr RecordRow limit(
    FieldEncoding encoding, const char *section, const char *field, int offset, int index = -1)
{
    RecordRow row = options(encoding, section, field, offset, 4, "OptO", "OptU", "OU", index);
    row.control = "txtwert";
    return row;
}

constexpr RecordRow mask(
    const char *section, const char *field, int offset, const char *set, int first, int last)
{
    RecordRow row { section, field, offset, 2, FieldEncoding::RecipientMask, set };
    row.first = first;
    row.last = last;
    return row;
}

constexpr RecordRow flag(
    const char *section, int offset, const char *control, FieldEncoding encoding = FieldEncoding::Flag)
{
    return textField(encoding, section, control, offset, 1, control);
}

struct InUse
{
    const char *box;
    int index = -1;
    const char *overriddenBy = nullptr;
};

constexpr RecordRow when(InUse inUse, const char *offText, RecordRow row)
{
    row.inUse = inUse.box;
    row.inUseIndex = inUse.index;
    row.overriddenBy = inUse.overriddenBy;
    row.offText = offText;
    return row;
}

constexpr FieldEncoding kLimit = FieldEncoding::Limit;
constexpr FieldEncoding kAnyState = FieldEncoding::FlagAnyState;

// Only the first box of the SMS outputs and of the optocoupler inputs decides for the whole page.
constexpr InUse kIncall { "chk7" };
constexpr InUse kIncallCallers { "chk7", -1, "chkPsw7" }; // anyone may call: no caller masks
constexpr InUse kSmsOutputs { "chk4", 1 };
constexpr InUse kOptoInputs { "chk3", 1 };
constexpr InUse kAdc { "chk5" };
constexpr InUse kPwm { "chk6" };

// clang-format off
constexpr RecordRow kTable[] = {
    // General settings: always taken from the page.
    padRight("frm1", "txtsim", 0, 4, "txtsim"),
    padLeft("frm1", "txtbez", 4, 16, "txtbez"),
    padRight("frm1", "txtPsw1", 20, 8, "txtPsw1"),
    padRight("frm1", "txtFon1(1)", 28, 16, "txtFon1", 1),
    padRight("frm1", "txtFon1(2)", 44, 16, "txtFon1", 2),
    padRight("frm1", "txtFon1(3)", 60, 16, "txtFon1", 3),
    padRight("frm1", "txtFon1(4)", 76, 16, "txtFon1", 4),
    padRight("frm1", "txtFon1(5)", 92, 16, "txtFon1", 5),
    padRight("frm1", "txtFon1(6)", 108, 16, "txtFon1", 6),
    padRight("frm1", "txtFon1(7)", 124, 16, "txtFon1", 7),
    padRight("frm1", "txtFon1(8)", 140, 16, "txtFon1", 8),
    padRight("frm1", "txtFon1(9)", 156, 16, "txtFon1", 9),
    padRight("frm1", "txtFon1(10)", 172, 16, "txtFon1", 10),
    padRight("frm1", "txtFon1(11)", 188, 16, "txtFon1", 11),
    padRight("frm1", "txtFon1(12)", 204, 16, "txtFon1", 12),
    fax("txtFAxPref + txtFax1(1)", 220, 1),
    fax("txtFAxPref + txtFax1(2)", 240, 2),
    fax("txtFAxPref + txtFax1(3)", 260, 3),
    fax("txtFAxPref + txtFax1(4)", 280, 4),
    padRight("frm1", "txtMail1(1)", 300, 35, "txtMail1", 1),
    padRight("frm1", "txtMail1(2)", 335, 35, "txtMail1", 2),
    padRight("frm1", "txtMail1(3)", 370, 35, "txtMail1", 3),
    padRight("frm1", "txtMail1(4)", 405, 35, "txtMail1", 4),
    padRight("frm1", "txtAnr", 440, 10, "txtAnr"),

    // Inputs T1/T2: each input has its own in-use box; the recipients are always sent.
    when({ "chk2", 1 }, "000U", limit(kLimit, "frm2", "chk2(1) txtwert(1) OptO/OptU(1)", 450, 1)),
    when({ "chk2", 2 }, "000U", limit(kLimit, "frm2", "chk2(2) txtwert(2) OptO/OptU(2)", 454, 2)),
    mask("frm2", "chksms1(1..6)", 458, "chksms1", 1, 6),
    mask("frm2", "chksms1(7..12)", 460, "chksms1", 7, 12),
    mask("frm2", "chkfax1(1..4)", 462, "chkfax1", 1, 4),
    mask("frm2", "chkmail1(1..4)", 464, "chkmail1", 1, 4),
    fixed("frm2", 466, "XXXXXXXXXXXXX"),

    // Incall output.
    when(kIncall, "00001", textField(FieldEncoding::OnTimeCode, "frm7", "chk7 optZ(1..12)", 479, 5, "optZ")),
    when(kIncallCallers, "00", mask("frm7", "chksms1(1..6)", 484, "chksms1", 1, 6)),
    when(kIncallCallers, "00", mask("frm7", "chksms1(7..12)", 486, "chksms1", 7, 12)),
    when(kIncall, "N", flag("frm7", 488, "chkPsw7")),
    when(kIncall, "N", fixed("frm7", 489, "J")),

    // SMS outputs.
    when(kSmsOutputs, "Relais 1", padRight("frm4", "txtSMS(1)", 490, 8, "txtSMS", 1)),
    when(kSmsOutputs, "Relais 2", padRight("frm4", "txtSMS(2)", 498, 8, "txtSMS", 2)),
    when(kSmsOutputs, "Relais 3", padRight("frm4", "txtSMS(3)", 506, 8, "txtSMS", 3)),
    when(kSmsOutputs, "Relais 4", padRight("frm4", "txtSMS(4)", 514, 8, "txtSMS", 4)),
    when(kSmsOutputs, "00", mask("frm4", "chksms1(1..6)", 522, "chksms1", 1, 6)),
    when(kSmsOutputs, "00", mask("frm4", "chksms1(7..12)", 524, "chksms1", 7, 12)),
    when(kSmsOutputs, "00", fixed("frm4", 526, "00")),
    when(kSmsOutputs, "N", flag("frm4", 528, "chkPsw4")),
    when(kSmsOutputs, "N", flag("frm4", 529, "chkCLI")),
    when(kSmsOutputs, "N", flag("frm4", 530, "chkAnt4")),

    // Optocoupler inputs: while not in use the page's texts are replaced by the module's own names.
    when(kOptoInputs, "          DIGIN1", padLeft("frm3", "txt3(1)", 531, 16, "txt3", 1)),
    when(kOptoInputs, "          DIGIN2", padLeft("frm3", "txt3(2)", 547, 16, "txt3", 2)),
    when(kOptoInputs, "L", options(FieldEncoding::OptionLetters, "frm3", "OptH/OptL(1)", 563, 1,
                               "OptH", "OptL", "HL", 1)),
    when(kOptoInputs, "L", options(FieldEncoding::OptionLetters, "frm3", "OptH/OptL(2)", 564, 1,
                               "OptH", "OptL", "HL", 2)),
    when(kOptoInputs, "00", mask("frm3", "chksms1(1..6)", 565, "chksms1", 1, 6)),
    when(kOptoInputs, "00", mask("frm3", "chksms1(7..12)", 567, "chksms1", 7, 12)),
    when(kOptoInputs, "00", mask("frm3", "chkfax1(1..4)", 569, "chkfax1", 1, 4)),
    when(kOptoInputs, "00", mask("frm3", "chkmail1(1..4)", 571, "chkmail1", 1, 4)),

    // ADC input.
    when(kAdc, "          ADC IN", padLeft("frm5", "txt5", 573, 16, "txt5")),
    when(kAdc, "000U", limit(FieldEncoding::LimitUnlessEmpty, "frm5", "txtwert OptO/OptU", 589)),
    when(kAdc, "00", mask("frm5", "chksms1(1..6)", 593, "chksms1", 1, 6)),
    when(kAdc, "00", mask("frm5", "chksms1(7..12)", 595, "chksms1", 7, 12)),
    when(kAdc, "00", mask("frm5", "chkfax1(1..4)", 597, "chkfax1", 1, 4)),
    when(kAdc, "00", mask("frm5", "chkmail1(1..4)", 599, "chkmail1", 1, 4)),
    when(kAdc, "X", fixed("frm5", 601, "X")),

    // PWM output.
    when(kPwm, "00", mask("frm6", "chksms1(1..6)", 602, "chksms1", 1, 6)),
    when(kPwm, "00", mask("frm6", "chksms1(7..12)", 604, "chksms1", 7, 12)),
    when(kPwm, "00", fixed("frm6", 606, "00")),
    when(kPwm, "N", flag("frm6", 608, "chkPsw6")),
    when(kPwm, "N", flag("frm6", 609, "chkCLI")),

    // Reply and error: always taken from the page. Unlike every other flag of the record, the password
    // and caller flags are set by a greyed box too.
    padRight("frm9", "txtZust", 610, 8, "txtZust"),
    mask("frm9", "chksms1(1..6)", 618, "chksms1", 1, 6),
    mask("frm9", "chksms1(7..12)", 620, "chksms1", 7, 12),
    mask("frm9", "chkmail1(1..4)", 622, "chkmail1", 1, 4),
    flag("frm9", 624, "chkPsw9", kAnyState),
    flag("frm9", 625, "chkCLI", kAnyState),
    padRight("frm9", "txtErr", 626, 8, "txtErr"),
    flag("frm9", 634, "chkAntw"),

    fixed("-", 635, "     "),
};
// clang-format on

// On-time codes of optZ(1) … optZ(12): the code times 2.5 s is the time the output stays on.
constexpr std::array<const char *, 12> kOnTimeCodes = { "00000", "00001", "00004", "00012", "00024", "00120",
    "00240", "00720", "01440", "07200", "17280", "34560" };

QString name(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

bool isTicked(const ControlValues &values, const QString &form, const char *control, int index = -1)
{
    return values.state(form, name(control), index) == 1;
}

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("J") : QStringLiteral("N");
}

QString optionLetters(const RecordRow &row, const ControlValues &values, const QString &form)
{
    QString letters;
    if (isTicked(values, form, row.optionA, row.index))
        letters += QLatin1Char(row.letters[0]);
    if (isTicked(values, form, row.optionB, row.index))
        letters += QLatin1Char(row.letters[1]);
    return letters;
}

bool writesOffText(const RecordRow &row, const ControlValues &values, const QString &form)
{
    return (row.inUse && !isTicked(values, form, row.inUse, row.inUseIndex))
        || (row.overriddenBy && isTicked(values, form, row.overriddenBy));
}

} // namespace

std::span<const RecordRow> parameterRecordTable()
{
    return kTable;
}

QString EncodeRecordRow(const RecordRow &row, const ControlValues &values)
{
    const QString form = name(row.section);
    if (writesOffText(row, values, form))
        return name(row.offText);
    const auto text = [&] { return values.text(form, name(row.control), row.index); };

    switch (row.encoding) {
    case FieldEncoding::Fixed:
        return name(row.text);
    case FieldEncoding::PadRight:
        return PadRight(text(), row.width);
    case FieldEncoding::PadLeft:
        return PadLeft(text(), row.width);
    case FieldEncoding::FaxNumber: {
        const QString prefix = values.text(form, name(row.prefix));
        const QString number = text();
        return PadRight(number.isEmpty() ? QString() : prefix + number, row.width);
    }
    case FieldEncoding::LimitUnlessEmpty:
        if (text().isEmpty())
            return name(row.offText);
        [[fallthrough]];
    case FieldEncoding::Limit:
        return ThreeDigitValue(text()) + optionLetters(row, values, form);
    case FieldEncoding::OptionLetters:
        return optionLetters(row, values, form);
    case FieldEncoding::OnTimeCode:
        // With no option selected there is no code, the record comes out short and the upload refuses it
        // rather than sending a time nobody chose.
        for (int k = 1; k <= int(kOnTimeCodes.size()); ++k) {
            if (isTicked(values, form, row.control, k))
                return name(kOnTimeCodes[size_t(k - 1)]);
        }
        return QString();
    case FieldEncoding::RecipientMask:
        return RecipientMask(row.first, row.last, values, form, name(row.control));
    case FieldEncoding::Flag:
        return yesNo(isTicked(values, form, row.control));
    case FieldEncoding::FlagAnyState:
        return yesNo(values.state(form, name(row.control)) != 0);
    }
    return QString();
}

QList<RecordField> parameterRecordFields()
{
    QList<RecordField> fields;
    for (const RecordRow &row : parameterRecordTable())
        fields.append({ name(row.section), name(row.field), row.offset, row.width });
    return fields;
}
