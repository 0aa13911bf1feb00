#include "core/parameterrecord.h"

#include "core/controlvalues.h"
#include "core/cp1252.h"

#include <array>

namespace {

bool isTicked(const ControlValues &values, const QString &form, const QString &control, int index = -1)
{
    return values.state(form, control, index) == 1;
}

QString yesNo(bool yes)
{
    return yes ? QStringLiteral("J") : QStringLiteral("N");
}

// A letter for each selected option button of a pair, in the order given; normally exactly one is selected.
QString selectedLetters(const ControlValues &values, const QString &form, int index, const QString &first,
    const QString &firstLetter, const QString &second, const QString &secondLetter)
{
    QString letters;
    if (isTicked(values, form, first, index))
        letters += firstLetter;
    if (isTicked(values, form, second, index))
        letters += secondLetter;
    return letters;
}

QString limitWithDirection(const ControlValues &values, const QString &form, int index)
{
    return ThreeDigitValue(values.text(form, QStringLiteral("txtwert"), index))
        + selectedLetters(values, form, index, QStringLiteral("OptO"), QStringLiteral("O"),
            QStringLiteral("OptU"), QStringLiteral("U"));
}

QString phoneMasks(const ControlValues &values, const QString &form)
{
    const QString set = QStringLiteral("chksms1");
    return RecipientMask(1, 6, values, form, set) + RecipientMask(7, 12, values, form, set);
}

// On-time codes of optZ(1) … optZ(12): the code times 2.5 s is the time the output stays on.
constexpr std::array<const char *, 12> kOnTimeCodes = { "00000", "00001", "00004", "00012", "00024", "00120",
    "00240", "00720", "01440", "07200", "17280", "34560" };

} // namespace

QString PadRight(const QString &text, int width)
{
    return text.size() >= width ? text : text + QString(width - text.size(), QLatin1Char(' '));
}

QString PadLeft(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

QString ThreeDigitValue(const QString &text)
{
    // Built digit by digit rather than through an integer, so no length of number can overflow. A sign
    // still makes a whole number: "+" is dropped, "-" stays in front of the digits.
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-'))) {
        negative = digits.front() == QLatin1Char('-');
        digits.remove(0, 1);
    }
    if (digits.isEmpty())
        return text;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return text;
    }
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    const QString written = PadLeft(digits, 3).replace(QLatin1Char(' '), QLatin1Char('0'));
    return negative && digits != QLatin1String("0") ? QLatin1Char('-') + written : written;
}

QString RecipientMask(
    int first, int last, const ControlValues &values, const QString &form, const QString &setName)
{
    int mask = 0;
    for (int member = first; member <= last; ++member) {
        if (member < 1 || member > 12)
            continue;
        const int bit = member <= 6 ? member : member - 6;
        if (isTicked(values, form, setName, member))
            mask += 1 << (bit - 1);
    }
    QString written = QString::number(mask);
    if (written.size() < 2)
        written.prepend(QLatin1Char('0'));
    return PadRight(written, 2);
}

QString EncodeGeneral(const ControlValues &values)
{
    const QString form = QStringLiteral("frm1");
    QString section = PadRight(values.text(form, QStringLiteral("txtsim")), 4)
        + PadLeft(values.text(form, QStringLiteral("txtbez")), 16)
        + PadRight(values.text(form, QStringLiteral("txtPsw1")), 8);
    for (int k = 1; k <= 12; ++k)
        section += PadRight(values.text(form, QStringLiteral("txtFon1"), k), 16);
    const QString faxPrefix = values.text(form, QStringLiteral("txtFAxPref"));
    for (int k = 1; k <= 4; ++k) {
        const QString fax = values.text(form, QStringLiteral("txtFax1"), k);
        section += PadRight(fax.isEmpty() ? QString() : faxPrefix + fax, 20);
    }
    for (int k = 1; k <= 4; ++k)
        section += PadRight(values.text(form, QStringLiteral("txtMail1"), k), 35);
    section += PadRight(values.text(form, QStringLiteral("txtAnr")), 10);
    return section;
}

QString EncodeInputsT1T2(const ControlValues &values)
{
    const QString form = QStringLiteral("frm2");
    QString section;
    for (int k = 1; k <= 2; ++k) {
        section += isTicked(values, form, QStringLiteral("chk2"), k) ? limitWithDirection(values, form, k)
                                                                     : QStringLiteral("000U");
    }
    section += phoneMasks(values, form);
    section += RecipientMask(1, 4, values, form, QStringLiteral("chkfax1"));
    section += RecipientMask(1, 4, values, form, QStringLiteral("chkmail1"));
    section += QStringLiteral("XXXXXXXXXXXXX");
    return section;
}

QString EncodeIncallOutput(const ControlValues &values)
{
    const QString form = QStringLiteral("frm7");
    if (!isTicked(values, form, QStringLiteral("chk7")))
        return QStringLiteral("000010000NN");

    // With no option selected there is no code, the record comes out short and the upload refuses it
    // rather than sending a time nobody chose.
    QString section;
    for (int k = 1; k <= 12; ++k) {
        if (isTicked(values, form, QStringLiteral("optZ"), k)) {
            section += QLatin1String(kOnTimeCodes[k - 1]);
            break;
        }
    }
    if (isTicked(values, form, QStringLiteral("chkPsw7")))
        section += QStringLiteral("0000J");
    else
        section += phoneMasks(values, form) + QStringLiteral("N");
    section += QStringLiteral("J");
    return section;
}

QString EncodeSmsOutputs(const ControlValues &values)
{
    const QString form = QStringLiteral("frm4");
    // Only the first output's box decides for all four.
    if (!isTicked(values, form, QStringLiteral("chk4"), 1))
        return QStringLiteral("Relais 1Relais 2Relais 3Relais 4000000NNN");

    QString section;
    for (int k = 1; k <= 4; ++k)
        section += PadRight(values.text(form, QStringLiteral("txtSMS"), k), 8);
    section += phoneMasks(values, form) + QStringLiteral("00");
    section += yesNo(isTicked(values, form, QStringLiteral("chkPsw4")));
    section += yesNo(isTicked(values, form, QStringLiteral("chkCLI")));
    section += yesNo(isTicked(values, form, QStringLiteral("chkAnt4")));
    return section;
}

QString EncodeOptoInputs(const ControlValues &values)
{
    const QString form = QStringLiteral("frm3");
    // Only the first input's box decides for both.
    if (!isTicked(values, form, QStringLiteral("chk3"), 1))
        return QStringLiteral("          DIGIN1          DIGIN2LL00000000");

    QString section = PadLeft(values.text(form, QStringLiteral("txt3"), 1), 16)
        + PadLeft(values.text(form, QStringLiteral("txt3"), 2), 16);
    for (int k = 1; k <= 2; ++k) {
        section += selectedLetters(values, form, k, QStringLiteral("OptH"), QStringLiteral("H"),
            QStringLiteral("OptL"), QStringLiteral("L"));
    }
    section += phoneMasks(values, form);
    section += RecipientMask(1, 4, values, form, QStringLiteral("chkfax1"));
    section += RecipientMask(1, 4, values, form, QStringLiteral("chkmail1"));
    return section;
}

QString EncodeAdcInput(const ControlValues &values)
{
    const QString form = QStringLiteral("frm5");
    if (!isTicked(values, form, QStringLiteral("chk5")))
        return QStringLiteral("          ADC IN000U00000000X");

    QString section = PadLeft(values.text(form, QStringLiteral("txt5")), 16);
    section += values.text(form, QStringLiteral("txtwert")).isEmpty() ? QStringLiteral("000U")
                                                                      : limitWithDirection(values, form, -1);
    section += phoneMasks(values, form);
    section += RecipientMask(1, 4, values, form, QStringLiteral("chkfax1"));
    section += RecipientMask(1, 4, values, form, QStringLiteral("chkmail1"));
    section += QStringLiteral("X");
    return section;
}

QString EncodePwmOutput(const ControlValues &values)
{
    const QString form = QStringLiteral("frm6");
    if (!isTicked(values, form, QStringLiteral("chk6")))
        return QStringLiteral("000000NN");

    return phoneMasks(values, form) + QStringLiteral("00")
        + yesNo(isTicked(values, form, QStringLiteral("chkPsw6")))
        + yesNo(isTicked(values, form, QStringLiteral("chkCLI")));
}

QString EncodeReplyError(const ControlValues &values)
{
    const QString form = QStringLiteral("frm9");
    // Unlike every other flag of the record, these two are set by any non-zero state, a greyed box included.
    return PadRight(values.text(form, QStringLiteral("txtZust")), 8) + phoneMasks(values, form)
        + RecipientMask(1, 4, values, form, QStringLiteral("chkmail1"))
        + yesNo(values.state(form, QStringLiteral("chkPsw9")) != 0)
        + yesNo(values.state(form, QStringLiteral("chkCLI")) != 0)
        + PadRight(values.text(form, QStringLiteral("txtErr")), 8)
        + yesNo(isTicked(values, form, QStringLiteral("chkAntw")));
}

QString BuildParameterRecord(const ControlValues &values)
{
    return EncodeGeneral(values) + EncodeInputsT1T2(values) + EncodeIncallOutput(values)
        + EncodeSmsOutputs(values) + EncodeOptoInputs(values) + EncodeAdcInput(values)
        + EncodePwmOutput(values) + EncodeReplyError(values) + QString(5, QLatin1Char(' '));
}

std::optional<QByteArray> RecordToModuleBytes(
    const QString &record, RecordProblem *problem, int *actualLength)
{
    if (actualLength)
        *actualLength = int(record.size());
    if (record.size() != kParameterRecordLength) {
        if (problem)
            *problem = RecordProblem::WrongLength;
        return std::nullopt;
    }
    if (problem)
        *problem = RecordProblem::None;
    return toCp1252(record);
}
