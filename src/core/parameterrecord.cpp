#include "core/parameterrecord.h"

#include "core/controlvalues.h"
#include "core/cp1252.h"
#include "core/recordtable.h"

namespace {

bool isTicked(const ControlValues &values, const QString &form, const QString &control, int index = -1)
{
    return values.state(form, control, index) == 1;
}

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

QString EncodeSection(QStringView section, const ControlValues &values)
{
    QString text;
    for (const RecordRow &row : parameterRecordTable()) {
        if (QLatin1StringView(row.section) == section)
            text += EncodeRecordRow(row, values);
    }
    return text;
}

QString BuildParameterRecord(const ControlValues &values)
{
    QString record;
    record.reserve(kParameterRecordLength);
    for (const RecordRow &row : parameterRecordTable())
        record += EncodeRecordRow(row, values);
    return record;
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
