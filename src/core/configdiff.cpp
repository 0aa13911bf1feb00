#include "core/configdiff.h"

#include "core/recordtable.h"

#include <QSet>

namespace {

// The configuration as a record field reads it, noting every stored value the field looks at.
class ReadingValues : public ControlValues
{
public:
    ReadingValues(const Configuration &configuration, QSet<int> &read)
        : m_configuration(configuration)
        , m_read(read)
    {
    }

    QString text(const QString &form, const QString &control, int index) const override
    {
        note(form, control, index);
        return m_configuration.text(form, control, index);
    }

    int state(const QString &form, const QString &control, int index) const override
    {
        note(form, control, index);
        return m_configuration.state(form, control, index);
    }

private:
    void note(const QString &form, const QString &control, int index) const
    {
        const int field = configurationFieldIndex(form, control, index);
        if (field >= 0)
            m_read.insert(field);
    }

    const Configuration &m_configuration;
    QSet<int> &m_read;
};

} // namespace

ConfigurationDifference compareConfigurations(const Configuration &a, const Configuration &b)
{
    ConfigurationDifference difference;
    // A stored value counts as shown by the record when a record field that differs read it in either
    // configuration (its in-use box, its options and prefix included): whatever else differs is listed as
    // a stored value of its own.
    QSet<int> shown;
    const std::span<const RecordRow> table = parameterRecordTable();
    const QList<RecordField> fields = parameterRecordFields();
    for (size_t i = 0; i < table.size(); ++i) {
        const RecordRow &row = table[i];
        QSet<int> read;
        const QString textA = EncodeRecordRow(row, ReadingValues(a, read));
        const QString textB = EncodeRecordRow(row, ReadingValues(b, read));
        if (textA == textB)
            continue;
        const RecordField &field = fields.at(qsizetype(i));
        difference.record.append({ field.section, field.field, field.offset, field.width, textA, textB });
        shown.unite(read);
    }
    const int count = int(configurationFields().size());
    for (int field = 0; field < count; ++field) {
        const QString valueA = a.value(field);
        const QString valueB = b.value(field);
        if (valueA != valueB && !shown.contains(field))
            difference.stored.append({ field, valueA, valueB });
    }
    return difference;
}
