#include "mapcontrolvalues.h"

#include <algorithm>

MapControlValues::MapControlValues()
{
    const auto notificationSets = [this](const QString &form, bool fax, bool mail) {
        for (int i = 0; i <= 12; ++i)
            set(form, QStringLiteral("chksms1"), i, 0);
        for (int i = 0; i <= 4; ++i) {
            if (fax)
                set(form, QStringLiteral("chkfax1"), i, 0);
            if (mail)
                set(form, QStringLiteral("chkmail1"), i, 0);
        }
    };

    // General settings.
    const QString frm1 = QStringLiteral("frm1");
    setText(frm1, QStringLiteral("txtsim"), -1, QStringLiteral("5173"));
    setText(frm1, QStringLiteral("txtPsw1"), -1, QString());
    setText(frm1, QStringLiteral("txtbez"), -1, QStringLiteral("RM425T"));
    setText(frm1, QStringLiteral("txtAnr"), -1, QStringLiteral("8000"));
    setText(frm1, QStringLiteral("txtFAxPref"), -1, QStringLiteral("99"));
    for (int k = 1; k <= 12; ++k)
        setText(frm1, QStringLiteral("txtFon1"), k, QString());
    for (int k = 1; k <= 4; ++k) {
        setText(frm1, QStringLiteral("txtFax1"), k, QString());
        setText(frm1, QStringLiteral("txtMail1"), k, QString());
    }

    // Inputs T1/T2.
    const QString frm2 = QStringLiteral("frm2");
    for (int k = 1; k <= 2; ++k) {
        set(frm2, QStringLiteral("chk2"), k, 0);
        setText(frm2, QStringLiteral("txtwert"), k, QStringLiteral("50"));
        set(frm2, QStringLiteral("OptO"), k, 1);
        set(frm2, QStringLiteral("OptU"), k, 0);
    }
    notificationSets(frm2, true, true);

    // Optocoupler inputs.
    const QString frm3 = QStringLiteral("frm3");
    for (int k = 1; k <= 2; ++k) {
        set(frm3, QStringLiteral("chk3"), k, 0);
        setText(frm3, QStringLiteral("txt3"), k, QStringLiteral("DIGITAL%1").arg(k));
        set(frm3, QStringLiteral("OptL"), k, 1);
        set(frm3, QStringLiteral("OptH"), k, 0);
    }
    notificationSets(frm3, true, true);

    // SMS outputs.
    const QString frm4 = QStringLiteral("frm4");
    for (int k = 1; k <= 4; ++k) {
        set(frm4, QStringLiteral("chk4"), k, 0);
        setText(frm4, QStringLiteral("txtSMS"), k, QStringLiteral("Relais%1").arg(k));
    }
    set(frm4, QStringLiteral("chkCLI"), -1, 0);
    set(frm4, QStringLiteral("chkPsw4"), -1, 0);
    set(frm4, QStringLiteral("chkAnt4"), -1, 0);
    notificationSets(frm4, false, true);

    // ADC input.
    const QString frm5 = QStringLiteral("frm5");
    set(frm5, QStringLiteral("chk5"), -1, 0);
    setText(frm5, QStringLiteral("txt5"), -1, QStringLiteral("ADC IN"));
    setText(frm5, QStringLiteral("txtwert"), -1, QStringLiteral("50"));
    set(frm5, QStringLiteral("OptO"), -1, 1);
    set(frm5, QStringLiteral("OptU"), -1, 0);
    notificationSets(frm5, true, true);

    // PWM output.
    const QString frm6 = QStringLiteral("frm6");
    set(frm6, QStringLiteral("chk6"), -1, 0);
    set(frm6, QStringLiteral("chkCLI"), -1, 0);
    set(frm6, QStringLiteral("chkPsw6"), -1, 0);
    notificationSets(frm6, false, true);

    // Incall output.
    const QString frm7 = QStringLiteral("frm7");
    set(frm7, QStringLiteral("chk7"), -1, 0);
    for (int k = 1; k <= 12; ++k)
        set(frm7, QStringLiteral("optZ"), k, k == 1 ? 1 : 0);
    set(frm7, QStringLiteral("chkPsw7"), -1, 0);
    notificationSets(frm7, false, false);

    // Reply and error.
    const QString frm9 = QStringLiteral("frm9");
    setText(frm9, QStringLiteral("txtZust"), -1, QStringLiteral("Antwort"));
    set(frm9, QStringLiteral("chkCLI"), -1, 0);
    set(frm9, QStringLiteral("chkPsw9"), -1, 0);
    set(frm9, QStringLiteral("chkAntw"), -1, 0);
    setText(frm9, QStringLiteral("txtErr"), -1, QStringLiteral("ERROR"));
    notificationSets(frm9, false, true);
}

QString MapControlValues::key(const QString &form, const QString &control, int index)
{
    const QString name = (form + QLatin1Char('.') + control).toLower();
    return index < 0 ? name : name + QStringLiteral("(%1)").arg(index);
}

QString MapControlValues::text(const QString &form, const QString &control, int index) const
{
    const auto it = m_texts.constFind(key(form, control, index));
    if (it == m_texts.cend()) {
        m_unknownReads.insert(key(form, control, index));
        return QString();
    }
    return *it;
}

int MapControlValues::state(const QString &form, const QString &control, int index) const
{
    const auto it = m_states.constFind(key(form, control, index));
    if (it == m_states.cend()) {
        m_unknownReads.insert(key(form, control, index));
        return 0;
    }
    return *it;
}

void MapControlValues::set(const QString &form, const QString &control, int index, int state)
{
    m_states.insert(key(form, control, index), state);
}

void MapControlValues::setText(const QString &form, const QString &control, int index, const QString &text)
{
    m_texts.insert(key(form, control, index), text);
}

QStringList MapControlValues::unknownReads() const
{
    QStringList reads(m_unknownReads.cbegin(), m_unknownReads.cend());
    std::sort(reads.begin(), reads.end());
    return reads;
}
