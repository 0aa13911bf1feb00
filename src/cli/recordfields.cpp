#include "cli/recordfields.h"

namespace {

class FieldList
{
public:
    void add(const QString &section, const QString &field, int width)
    {
        m_fields.append({ section, field, m_offset, width });
        m_offset += width;
    }
    // The three recipient masks of an event page: SMS targets 1 … 6 and 7 … 12 (two digits each).
    void phoneMasks(const QString &section)
    {
        add(section, QStringLiteral("chksms1(1..6)"), 2);
        add(section, QStringLiteral("chksms1(7..12)"), 2);
    }
    QList<RecordField> fields() const { return m_fields; }

private:
    QList<RecordField> m_fields;
    int m_offset = 0;
};

} // namespace

QList<RecordField> parameterRecordFields()
{
    FieldList f;
    const QString frm1 = QStringLiteral("frm1");
    f.add(frm1, QStringLiteral("txtsim"), 4);
    f.add(frm1, QStringLiteral("txtbez"), 16);
    f.add(frm1, QStringLiteral("txtPsw1"), 8);
    for (int k = 1; k <= 12; ++k)
        f.add(frm1, QStringLiteral("txtFon1(%1)").arg(k), 16);
    for (int k = 1; k <= 4; ++k)
        f.add(frm1, QStringLiteral("txtFAxPref + txtFax1(%1)").arg(k), 20);
    for (int k = 1; k <= 4; ++k)
        f.add(frm1, QStringLiteral("txtMail1(%1)").arg(k), 35);
    f.add(frm1, QStringLiteral("txtAnr"), 10);

    const QString frm2 = QStringLiteral("frm2");
    for (int k = 1; k <= 2; ++k)
        f.add(frm2, QStringLiteral("chk2(%1) txtwert(%1) OptO/OptU(%1)").arg(k), 4);
    f.phoneMasks(frm2);
    f.add(frm2, QStringLiteral("chkfax1(1..4)"), 2);
    f.add(frm2, QStringLiteral("chkmail1(1..4)"), 2);
    f.add(frm2, QStringLiteral("(fixed)"), 13);

    const QString frm7 = QStringLiteral("frm7");
    f.add(frm7, QStringLiteral("chk7 optZ(1..12)"), 5);
    f.phoneMasks(frm7);
    f.add(frm7, QStringLiteral("chkPsw7"), 1);
    f.add(frm7, QStringLiteral("(fixed)"), 1);

    const QString frm4 = QStringLiteral("frm4");
    for (int k = 1; k <= 4; ++k)
        f.add(frm4, QStringLiteral("txtSMS(%1)").arg(k), 8);
    f.phoneMasks(frm4);
    f.add(frm4, QStringLiteral("(fixed)"), 2);
    f.add(frm4, QStringLiteral("chkPsw4"), 1);
    f.add(frm4, QStringLiteral("chkCLI"), 1);
    f.add(frm4, QStringLiteral("chkAnt4"), 1);

    const QString frm3 = QStringLiteral("frm3");
    f.add(frm3, QStringLiteral("txt3(1)"), 16);
    f.add(frm3, QStringLiteral("txt3(2)"), 16);
    f.add(frm3, QStringLiteral("OptH/OptL(1)"), 1);
    f.add(frm3, QStringLiteral("OptH/OptL(2)"), 1);
    f.phoneMasks(frm3);
    f.add(frm3, QStringLiteral("chkfax1(1..4)"), 2);
    f.add(frm3, QStringLiteral("chkmail1(1..4)"), 2);

    const QString frm5 = QStringLiteral("frm5");
    f.add(frm5, QStringLiteral("txt5"), 16);
    f.add(frm5, QStringLiteral("txtwert OptO/OptU"), 4);
    f.phoneMasks(frm5);
    f.add(frm5, QStringLiteral("chkfax1(1..4)"), 2);
    f.add(frm5, QStringLiteral("chkmail1(1..4)"), 2);
    f.add(frm5, QStringLiteral("(fixed)"), 1);

    const QString frm6 = QStringLiteral("frm6");
    f.phoneMasks(frm6);
    f.add(frm6, QStringLiteral("(fixed)"), 2);
    f.add(frm6, QStringLiteral("chkPsw6"), 1);
    f.add(frm6, QStringLiteral("chkCLI"), 1);

    const QString frm9 = QStringLiteral("frm9");
    f.add(frm9, QStringLiteral("txtZust"), 8);
    f.phoneMasks(frm9);
    f.add(frm9, QStringLiteral("chkmail1(1..4)"), 2);
    f.add(frm9, QStringLiteral("chkPsw9"), 1);
    f.add(frm9, QStringLiteral("chkCLI"), 1);
    f.add(frm9, QStringLiteral("txtErr"), 8);
    f.add(frm9, QStringLiteral("chkAntw"), 1);

    f.add(QStringLiteral("-"), QStringLiteral("(fixed)"), 5);
    return f.fields();
}
