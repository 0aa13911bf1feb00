#include "core/parameterrecord.h"
#include "core/recordtable.h"
#include "support/mapcontrolvalues.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Changes to the design values, written "frm2.chk2(1)=1" for a box or option state and
// "frm2.txtwert(1)='-5'" for a text.
void apply(MapControlValues &values, const QStringList &changes)
{
    static const QRegularExpression pattern(uR"(^(\w+)\.(\w+)(?:\((\d+)\))?=(.*)$)"_s);
    for (const QString &change : changes) {
        const QRegularExpressionMatch m = pattern.match(change);
        QVERIFY2(m.hasMatch(), qPrintable(change));
        const int index = m.captured(3).isEmpty() ? -1 : m.captured(3).toInt();
        const QString value = m.captured(4);
        if (value.startsWith(u'\''))
            values.setText(m.captured(1), m.captured(2), index, value.mid(1, value.size() - 2));
        else
            values.set(m.captured(1), m.captured(2), index, value.toInt());
    }
}

const RecordRow *findRow(const QString &section, const QString &field)
{
    for (const RecordRow &row : parameterRecordTable()) {
        if (QLatin1StringView(row.section) == section && QLatin1StringView(row.field) == field)
            return &row;
    }
    return nullptr;
}

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

class TestRecordTable : public QObject
{
    Q_OBJECT

private slots:
    void fieldsTileTheRecord();
    void encodings_data();
    void encodings();
    void pageNotInUseSendsNothingTypedOnIt_data();
    void pageNotInUseSendsNothingTypedOnIt();
};

void TestRecordTable::fieldsTileTheRecord()
{
    // The written offsets and widths follow each other without gap or overlap up to 640, every fixed and
    // default text fills its field exactly, and each page's fields form one block in the module's order.
    const MapControlValues design;
    int next = 0;
    QStringList sections;
    for (const RecordRow &row : parameterRecordTable()) {
        const QString where = u"%1 %2"_s.arg(latin1(row.section), latin1(row.field));
        QVERIFY2(row.offset == next, qPrintable(where));
        QVERIFY2(row.width > 0, qPrintable(where));
        next += row.width;
        if (row.encoding == FieldEncoding::Fixed)
            QVERIFY2(qstrlen(row.text) == uint(row.width), qPrintable(where));
        if (row.offText)
            QVERIFY2(qstrlen(row.offText) == uint(row.width), qPrintable(where));
        QVERIFY2(EncodeRecordRow(row, design).size() == row.width, qPrintable(where));
        if (sections.isEmpty() || sections.constLast() != latin1(row.section))
            sections.append(latin1(row.section));
    }
    QCOMPARE(next, kParameterRecordLength);
    QCOMPARE(sections,
        QStringList({ u"frm1"_s, u"frm2"_s, u"frm7"_s, u"frm4"_s, u"frm3"_s, u"frm5"_s, u"frm6"_s, u"frm9"_s,
            u"-"_s }));
}

void TestRecordTable::encodings_data()
{
    // One field at a time, starting from the design values.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, const QStringList &changes, const char *section, const char *field,
                         const QString &text) {
        QTest::newRow(name) << changes << latin1(section) << latin1(field) << text;
    };
    const char *limit1 = "chk2(1) txtwert(1) OptO/OptU(1)";

    row("fixed text of a page in use", { u"frm7.chk7=1"_s }, "frm7", "(fixed)", u"J"_s);

    row("pad right, too long is kept whole", { u"frm1.txtsim='123456'"_s }, "frm1", "txtsim", u"123456"_s);

    row("fax: prefix and number", { u"frm1.txtFax1(1)='0301234'"_s }, "frm1", "txtFAxPref + txtFax1(1)",
        u"990301234           "_s);
    row("fax: too long is kept whole",
        { u"frm1.txtFAxPref='1551'"_s, u"frm1.txtFax1(3)='00498912345678901'"_s }, "frm1",
        "txtFAxPref + txtFax1(3)", u"155100498912345678901"_s);

    row("limit, negative", { u"frm2.chk2(1)=1"_s, u"frm2.txtwert(1)='-5'"_s }, "frm2", limit1, u"-005O"_s);
    row("limit, both directions", { u"frm2.chk2(1)=1"_s, u"frm2.OptU(1)=1"_s }, "frm2", limit1, u"050OU"_s);
    row("limit, no direction", { u"frm2.chk2(1)=1"_s, u"frm2.OptO(1)=0"_s }, "frm2", limit1, u"050"_s);
    row("ADC limit, negative", { u"frm5.chk5=1"_s, u"frm5.txtwert='-5'"_s }, "frm5", "txtwert OptO/OptU",
        u"-005O"_s);

    row("input level high", { u"frm3.chk3(1)=1"_s, u"frm3.OptH(2)=1"_s, u"frm3.OptL(2)=0"_s }, "frm3",
        "OptH/OptL(2)", u"H"_s);
    row("input level, both selected", { u"frm3.chk3(1)=1"_s, u"frm3.OptH(1)=1"_s }, "frm3", "OptH/OptL(1)",
        u"HL"_s);

    row("on time, the first of two selected", { u"frm7.chk7=1"_s, u"frm7.optZ(9)=1"_s }, "frm7",
        "chk7 optZ(1..12)", u"00000"_s);
    row("on time, output greyed", { u"frm7.chk7=2"_s, u"frm7.optZ(1)=0"_s, u"frm7.optZ(12)=1"_s }, "frm7",
        "chk7 optZ(1..12)", u"00001"_s);

    row("mask of members 7-12",
        { u"frm2.chksms1(6)=1"_s, u"frm2.chksms1(7)=1"_s, u"frm2.chksms1(12)=1"_s, u"frm2.chksms1(0)=1"_s },
        "frm2", "chksms1(7..12)", u"33"_s);
    row("mask, a greyed member is not ticked",
        { u"frm5.chk5=1"_s, u"frm5.chkfax1(2)=2"_s, u"frm5.chkfax1(4)=1"_s }, "frm5", "chkfax1(1..4)",
        u"08"_s);
    row("caller mask: anyone may call, greyed",
        { u"frm7.chk7=1"_s, u"frm7.chkPsw7=2"_s, u"frm7.chksms1(10)=1"_s }, "frm7", "chksms1(7..12)",
        u"08"_s);

    row("flag greyed", { u"frm4.chk4(1)=1"_s, u"frm4.chkCLI=2"_s }, "frm4", "chkCLI", u"N"_s);
    row("flag of any state, greyed", { u"frm9.chkPsw9=2"_s }, "frm9", "chkPsw9", u"J"_s);
}

void TestRecordTable::encodings()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, section);
    QFETCH(QString, field);
    QFETCH(QString, text);
    MapControlValues values;
    apply(values, changes);

    const RecordRow *row = findRow(section, field);
    QVERIFY(row);
    QCOMPARE(EncodeRecordRow(*row, values), text);
    QCOMPARE(values.unknownReads(), QStringList());

    // The record holds the field where the table puts it as long as it keeps its width.
    const QString record = BuildParameterRecord(values);
    QCOMPARE(record.mid(row->offset, text.size()), text);
    QCOMPARE(record.size(), kParameterRecordLength + text.size() - row->width);
}

void TestRecordTable::pageNotInUseSendsNothingTypedOnIt_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("index");
    QTest::newRow("incall output") << u"frm7"_s << u"chk7"_s << -1;
    QTest::newRow("SMS outputs") << u"frm4"_s << u"chk4"_s << 1;
    QTest::newRow("optocoupler inputs") << u"frm3"_s << u"chk3"_s << 1;
    QTest::newRow("ADC input") << u"frm5"_s << u"chk5"_s << -1;
    QTest::newRow("PWM output") << u"frm6"_s << u"chk6"_s << -1;
}

void TestRecordTable::pageNotInUseSendsNothingTypedOnIt()
{
    QFETCH(QString, section);
    QFETCH(QString, box);
    QFETCH(int, index);
    const QString atDesign = EncodeSection(section, MapControlValues());

    // Every control the page's fields read is changed from its design value: each text to "9", each box
    // ticked, both options of each pair selected, the last member of the option array instead of the first.
    MapControlValues values;
    for (const RecordRow &row : parameterRecordTable()) {
        if (latin1(row.section) != section)
            continue;
        if (row.control && row.encoding == FieldEncoding::RecipientMask) {
            for (int member = row.first; member <= row.last; ++member)
                values.set(section, latin1(row.control), member, 1);
        } else if (row.encoding == FieldEncoding::OnTimeCode) {
            values.set(section, latin1(row.control), 1, 0);
            values.set(section, latin1(row.control), 12, 1);
        } else if (row.encoding == FieldEncoding::Flag || row.encoding == FieldEncoding::FlagAnyState) {
            values.set(section, latin1(row.control), -1, 1);
        } else if (row.control) {
            values.setText(section, latin1(row.control), row.index, u"9"_s);
        }
        if (row.optionA) {
            values.set(section, latin1(row.optionA), row.index, 1);
            values.set(section, latin1(row.optionB), row.index, 1);
        }
    }
    for (const int state : { 0, 2 }) {
        values.set(section, box, index, state);
        QCOMPARE(EncodeSection(section, values), atDesign);
    }
    // In use, the same changes do reach the record.
    values.set(section, box, index, 1);
    MapControlValues inUseAtDesign;
    inUseAtDesign.set(section, box, index, 1);
    QVERIFY(EncodeSection(section, values) != EncodeSection(section, inUseAtDesign));
    QCOMPARE(values.unknownReads(), QStringList());
}

QTEST_GUILESS_MAIN(TestRecordTable)
#include "tst_recordtable.moc"
