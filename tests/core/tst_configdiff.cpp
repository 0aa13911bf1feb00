#include "core/configdiff.h"
#include "core/configfields.h"
#include "core/configuration.h"
#include "core/inifile.h"
#include "core/parameterrecord.h"
#include "core/recordtable.h"
#include "support/randomsettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Where two configurations differ: the record fields first, then the stored values the record does not show.
class tst_ConfigDiff : public QObject
{
    Q_OBJECT

private slots:
    void knownDifferences_data();
    void knownDifferences();
    void agreesWithTheRecord();
};

namespace {

Configuration fromLines(const QString &lines)
{
    QByteArray bytes;
    for (const QString &line : lines.split(u'|', Qt::SkipEmptyParts))
        bytes += line.toLatin1() + "\r\n";
    return Configuration::fromDocument(IniDocument::fromBytes(bytes));
}

} // namespace

void tst_ConfigDiff::knownDifferences_data()
{
    QTest::addColumn<QString>("a"); // settings file lines, "|" between them
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("record"); // "section field offset width [a] [b]", "; " between them
    QTest::addColumn<QString>("stored"); // "section/key a b", "; " between them
    const QString page1 = u"[frm1]|txtsim=1111|txtbez=Halle|txtName1(1)=Anna|"_s;
    const QString page2 = u"[frm2]|txtwert(1)=20|"_s;
    QTest::newRow("equal") << page1 << page1 << QString() << QString();
    QTest::newRow("two record fields")
        << page1 << u"[frm1]|txtsim=2222|txtbez=Hof|txtName1(1)=Anna"_s
        << u"frm1 txtsim 0 4 [1111] [2222]; frm1 txtbez 4 16 [           Halle] "
           "[             Hof]"_s
        << QString();
    QTest::newRow("a name the record does not send")
        << page1 << u"[frm1]|txtsim=1111|txtbez=Halle|txtName1(1)=Berta"_s << QString()
        << u"frm1/txtName1(1) Anna Berta"_s;
    QTest::newRow("a limit while its input is off")
        << page2 + u"chk2(1)=0"_s << u"[frm2]|txtwert(1)=30|chk2(1)=0"_s << QString()
        << u"frm2/txtwert(1) 20 30"_s;
    QTest::newRow("a limit while its input is on")
        << page2 + u"chk2(1)=1"_s << u"[frm2]|txtwert(1)=30|chk2(1)=1"_s
        << u"frm2 chk2(1) txtwert(1) OptO/OptU(1) 450 4 [020O] [030O]"_s << QString();
    // The in-use box decides the field, so the limit that changed with it is shown by the field.
    QTest::newRow("input switched on with a new limit")
        << page2 + u"chk2(1)=0"_s << u"[frm2]|txtwert(1)=30|chk2(1)=1"_s
        << u"frm2 chk2(1) txtwert(1) OptO/OptU(1) 450 4 [000U] [030O]"_s << QString();
    // The fax numbers are empty, so the provider's fax prefix reaches no field.
    QTest::newRow("another provider")
        << u"[frm1]|optAnb(1)=-1"_s << u"[frm1]|optAnb(3)=-1"_s
        << u"frm1 txtAnr 440 10 [8000      ] [7676245   ]"_s
        << u"frm1/txtFAxPref 99 1551; frm1/optAnb(1) -1 0; frm1/optAnb(3) 0 -1"_s;
}

void tst_ConfigDiff::knownDifferences()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, record);
    QFETCH(QString, stored);
    const ConfigurationDifference difference = compareConfigurations(fromLines(a), fromLines(b));
    QStringList records;
    for (const RecordDifference &field : difference.record)
        records << u"%1 %2 %3 %4 [%5] [%6]"_s.arg(field.section, field.field)
                       .arg(field.offset)
                       .arg(field.width)
                       .arg(field.a, field.b);
    QCOMPARE(records.join(u"; "_s), record);
    QStringList values;
    for (const StoredDifference &value : difference.stored)
        values << u"%1 %2 %3"_s.arg(
            configurationFields()[size_t(value.field)].settingsKey(), value.a, value.b);
    QCOMPARE(values.join(u"; "_s), stored);
    QCOMPARE(difference.recordsEqual(), record.isEmpty());
}

// For files as users and damaged disks leave them: the comparison says "equal" exactly when the records are,
// each field it names lies where the record table puts it, and with equal records every differing value is
// listed as stored.
void tst_ConfigDiff::agreesWithTheRecord()
{
    const QList<RecordField> table = parameterRecordFields();
    int differing = 0;
    for (quint32 seed = 1; seed <= 120; ++seed) {
        const Configuration a = Configuration::fromDocument(randomSettings(seed));
        // Every third pair shares most of its values: one file with a single value changed.
        Configuration b = Configuration::fromDocument(randomSettings(seed % 3 == 0 ? seed : seed + 1000));
        if (seed % 3 == 0) {
            b = a;
            const int field = int(seed * 7 % configurationFields().size());
            b.setStoredValue(field, a.value(field) + u'1');
        }
        const ConfigurationDifference difference = compareConfigurations(a, b);
        QCOMPARE(difference.recordsEqual(), BuildParameterRecord(a) == BuildParameterRecord(b));
        QVERIFY(compareConfigurations(a, a).record.isEmpty() && compareConfigurations(a, a).stored.isEmpty());
        for (const RecordDifference &field : difference.record) {
            QVERIFY(field.a != field.b);
            bool found = false;
            for (const RecordField &row : table)
                found = found
                    || (row.section == field.section && row.field == field.field && row.offset == field.offset
                        && row.width == field.width);
            QVERIFY2(found, qPrintable(field.field));
        }
        int previous = -1;
        for (const StoredDifference &value : difference.stored) {
            QVERIFY(value.field > previous);
            previous = value.field;
            QCOMPARE(value.a, a.value(value.field));
            QCOMPARE(value.b, b.value(value.field));
            QVERIFY(value.a != value.b);
        }
        if (difference.recordsEqual()) {
            int count = 0;
            for (int field = 0; field < int(configurationFields().size()); ++field)
                count += a.value(field) != b.value(field);
            QCOMPARE(difference.stored.size(), count);
        } else {
            ++differing;
        }
    }
    // The pairs reach both answers.
    QVERIFY(differing > 0 && differing < 120);
}

QTEST_GUILESS_MAIN(tst_ConfigDiff)
#include "tst_configdiff.moc"
