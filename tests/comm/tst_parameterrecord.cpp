#include "core/parameterrecord.h"
#include "support/mapcontrolvalues.h"

#include <QTest>
#include <QVariant>

namespace {

// The goldens are laid out field by field, as they sit in the record.
// clang-format off

// Every page at its design values, no in-use box ticked.
const QString kDefaultRecord = QStringLiteral(
    // general settings, offset 0
    "5173"                                                                 // SIM PIN
    "          RM425T"                                                     // unit name, right-aligned
    "        "                                                             // password
    "                " "                " "                " "                " // phones 1-4
    "                " "                " "                " "                " // phones 5-8
    "                " "                " "                " "                " // phones 9-12
    "                    " "                    "                          // fax 1-2
    "                    " "                    "                          // fax 3-4
    "                                   " "                                   " // mail 1-2
    "                                   " "                                   " // mail 3-4
    "8000      "                                                           // mail number
    // inputs T1/T2, offset 450
    "000U" "000U" "00" "00" "00" "00" "XXXXXXXXXXXXX"
    // incall output, offset 479
    "000010000NN"
    // SMS outputs, offset 490
    "Relais 1Relais 2Relais 3Relais 4000000NNN"
    // optocoupler inputs, offset 531
    "          DIGIN1          DIGIN2LL00000000"
    // ADC input, offset 573
    "          ADC IN000U00000000X"
    // PWM output, offset 602
    "000000NN"
    // reply / error, offset 610
    "Antwort " "00" "00" "00" "N" "N" "ERROR   " "N"
    // trailer, offset 635
    "     ");

// The configuration of filledConfiguration(): every field set, every mask bit ticked on some page.
const QString kFilledRecord = QStringLiteral(
    // general settings, offset 0
    "0815"                                                                 // SIM PIN
    " Halle 7 Pumpe=2"                                                     // unit name, right-aligned
    "Geheim  "                                                             // password
    "+491711234567   " "01601234567     " "0049301234567890" "112             " // phones 1-4
    "0170555         " "0170666         " "0170777         " "0170888         " // phones 5-8
    "0170999         " "01701010        " "01701111        " "01701212        " // phones 9-12
    "15510301234567      " "                    "                          // fax 1, fax 2 empty
    "15510049891234567890" "1551089123          "                          // fax 3-4
    "info@example.com                   " "a.very.long.address@example.org    " // mail 1-2
    "x@y.de                             " "abcdefghijklmnopqrstuvwxyz@12345.de" // mail 3-4
    "7676245   "                                                           // mail number
    // inputs T1/T2, offset 450: limits, phones 1+3+6 and 8+12, fax 2+4, mail 1-4
    "007U" "100O" "37" "34" "10" "15" "XXXXXXXXXXXXX"
    // incall output, offset 479: 12 h, callers 6 and 7+11, anyone may call off, in use
    "17280" "32" "17" "N" "J"
    // SMS outputs, offset 490: switch texts, phones 1-6, password, any sender, reply
    "Pumpe   " "Tor auf!" "Heizung1" "L4      " "63" "00" "00" "J" "J" "J"
    // optocoupler inputs, offset 531: texts right-aligned, high/low, phones 2+4+5 and 7+9+10+11, fax 1+3
    "      Tuer offen" "Fenster Keller 2" "H" "L" "26" "29" "05" "00"
    // ADC input, offset 573: text, limit below, phone 1 and 7-12, fax 1-4, mail 4
    "            Tank" "085U" "01" "63" "15" "08" "X"
    // PWM output, offset 602: phones 5 and 12, password, any sender
    "16" "32" "00" "J" "J"
    // reply / error, offset 610: phones 2+3 and 9+10, mail 1+3, password, greyed CLI, error reply
    "Status  " "06" "12" "05" "J" "J" "Falsch  " "J"
    // trailer, offset 635
    "     ");

// clang-format on

struct Change
{
    QString form;
    QString control;
    int index = -1;
    QVariant value; // int: state of a check box or option button; QString: text of a text box
};
using Changes = QList<Change>;

Change state(const char *form, const char *control, int index, int value)
{
    return { QString::fromLatin1(form), QString::fromLatin1(control), index, value };
}

Change text(const char *form, const char *control, int index, const char *value)
{
    return { QString::fromLatin1(form), QString::fromLatin1(control), index, QString::fromUtf8(value) };
}

void apply(MapControlValues &values, const Changes &changes)
{
    for (const Change &change : changes) {
        if (change.value.typeId() == QMetaType::QString)
            values.setText(change.form, change.control, change.index, change.value.toString());
        else
            values.set(change.form, change.control, change.index, change.value.toInt());
    }
}

Changes tickAll(const char *form, const char *set, std::initializer_list<int> members)
{
    Changes changes;
    for (int member : members)
        changes << state(form, set, member, 1);
    return changes;
}

Changes filledConfiguration()
{
    Changes c = {
        text("frm1", "txtsim", -1, "0815"),
        text("frm1", "txtbez", -1, "Halle 7 Pumpe=2"),
        text("frm1", "txtPsw1", -1, "Geheim"),
        text("frm1", "txtFon1", 1, "+491711234567"),
        text("frm1", "txtFon1", 2, "01601234567"),
        text("frm1", "txtFon1", 3, "0049301234567890"),
        text("frm1", "txtFon1", 4, "112"),
        text("frm1", "txtFon1", 5, "0170555"),
        text("frm1", "txtFon1", 6, "0170666"),
        text("frm1", "txtFon1", 7, "0170777"),
        text("frm1", "txtFon1", 8, "0170888"),
        text("frm1", "txtFon1", 9, "0170999"),
        text("frm1", "txtFon1", 10, "01701010"),
        text("frm1", "txtFon1", 11, "01701111"),
        text("frm1", "txtFon1", 12, "01701212"),
        text("frm1", "txtFAxPref", -1, "1551"),
        text("frm1", "txtFax1", 1, "0301234567"),
        text("frm1", "txtFax1", 3, "0049891234567890"),
        text("frm1", "txtFax1", 4, "089123"),
        text("frm1", "txtMail1", 1, "info@example.com"),
        text("frm1", "txtMail1", 2, "a.very.long.address@example.org"),
        text("frm1", "txtMail1", 3, "x@y.de"),
        text("frm1", "txtMail1", 4, "abcdefghijklmnopqrstuvwxyz@12345.de"),
        text("frm1", "txtAnr", -1, "7676245"),

        state("frm2", "chk2", 1, 1),
        text("frm2", "txtwert", 1, "7"),
        state("frm2", "OptO", 1, 0),
        state("frm2", "OptU", 1, 1),
        state("frm2", "chk2", 2, 1),
        text("frm2", "txtwert", 2, "100"),
        state("frm2", "chksms1", 0, 1), // the all box, which the record never reads

        state("frm7", "chk7", -1, 1),
        state("frm7", "optZ", 1, 0),
        state("frm7", "optZ", 11, 1),

        state("frm4", "chk4", 1, 1),
        text("frm4", "txtSMS", 1, "Pumpe"),
        text("frm4", "txtSMS", 2, "Tor auf!"),
        text("frm4", "txtSMS", 3, "Heizung1"),
        text("frm4", "txtSMS", 4, "L4"),
        state("frm4", "chkPsw4", -1, 1),
        state("frm4", "chkCLI", -1, 1),
        state("frm4", "chkAnt4", -1, 1),

        state("frm3", "chk3", 1, 1),
        text("frm3", "txt3", 1, "Tuer offen"),
        text("frm3", "txt3", 2, "Fenster Keller 2"),
        state("frm3", "OptL", 1, 0),
        state("frm3", "OptH", 1, 1),

        state("frm5", "chk5", -1, 1),
        text("frm5", "txt5", -1, "Tank"),
        text("frm5", "txtwert", -1, "85"),
        state("frm5", "OptO", -1, 0),
        state("frm5", "OptU", -1, 1),

        state("frm6", "chk6", -1, 1),
        state("frm6", "chkPsw6", -1, 1),
        state("frm6", "chkCLI", -1, 1),

        text("frm9", "txtZust", -1, "Status"),
        state("frm9", "chkPsw9", -1, 1),
        state("frm9", "chkCLI", -1, 2),
        text("frm9", "txtErr", -1, "Falsch"),
        state("frm9", "chkAntw", -1, 1),
    };
    c << tickAll("frm2", "chksms1", { 1, 3, 6, 8, 12 }) << tickAll("frm2", "chkfax1", { 2, 4 })
      << tickAll("frm2", "chkmail1", { 1, 2, 3, 4 });
    c << tickAll("frm7", "chksms1", { 6, 7, 11 });
    c << tickAll("frm4", "chksms1", { 1, 2, 3, 4, 5, 6 });
    c << tickAll("frm3", "chksms1", { 2, 4, 5, 7, 9, 10, 11 }) << tickAll("frm3", "chkfax1", { 1, 3 });
    c << tickAll("frm5", "chksms1", { 1, 7, 8, 9, 10, 11, 12 }) << tickAll("frm5", "chkfax1", { 1, 2, 3, 4 })
      << tickAll("frm5", "chkmail1", { 4 });
    c << tickAll("frm6", "chksms1", { 5, 12 });
    c << tickAll("frm9", "chksms1", { 2, 3, 9, 10 }) << tickAll("frm9", "chkmail1", { 1, 3 });
    return c;
}

} // namespace

Q_DECLARE_METATYPE(Changes)

class TestParameterRecord : public QObject
{
    Q_OBJECT

private slots:
    void goldenRecordsHaveTheRecordLength();
    void wholeRecord_data();
    void wholeRecord();
    void sectionFollowsItsPage_data();
    void sectionFollowsItsPage();
    void incallOnTimeCodes_data();
    void incallOnTimeCodes();
    void yesNoFlags_data();
    void yesNoFlags();
    void recipientMask_data();
    void recipientMask();
    void padding_data();
    void padding();
    void threeDigitValue_data();
    void threeDigitValue();
    void moduleBytesRefuseAMisplacedRecord_data();
    void moduleBytesRefuseAMisplacedRecord();
    void moduleBytesAreOneBytePerCharacter();
};

void TestParameterRecord::goldenRecordsHaveTheRecordLength()
{
    // Guards the hand-written goldens themselves.
    QCOMPARE(kDefaultRecord.size(), kParameterRecordLength);
    QCOMPARE(kFilledRecord.size(), kParameterRecordLength);
}

void TestParameterRecord::wholeRecord_data()
{
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every page at its defaults") << Changes {} << kDefaultRecord;
    QTest::newRow("every field filled in") << filledConfiguration() << kFilledRecord;
}

void TestParameterRecord::wholeRecord()
{
    QFETCH(Changes, changes);
    QFETCH(QString, expected);
    MapControlValues values;
    apply(values, changes);

    QCOMPARE(BuildParameterRecord(values), expected);
    QCOMPARE(values.unknownReads(), QStringList());

    // The sections one by one, at their offsets.
    struct Section
    {
        const char *name;
        int offset;
        int length;
    };
    const Section sections[] = { { "frm1", 0, 450 }, { "frm2", 450, 29 }, { "frm7", 479, 11 },
        { "frm4", 490, 41 }, { "frm3", 531, 42 }, { "frm5", 573, 29 }, { "frm6", 602, 8 },
        { "frm9", 610, 25 }, { "-", 635, 5 } };
    for (const Section &section : sections) {
        QCOMPARE(EncodeSection(QString::fromLatin1(section.name), values),
            expected.mid(section.offset, section.length));
    }
}

void TestParameterRecord::sectionFollowsItsPage_data()
{
    // Each row changes a few controls; the record must equal the default record except for the text at
    // offset.
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("changedText");

    QTest::newRow("T1 in use: limit below") << Changes { state("frm2", "chk2", 1, 1),
        text("frm2", "txtwert", 1, "7"), state("frm2", "OptO", 1, 0), state("frm2", "OptU", 1, 1) }
                                            << 450 << QStringLiteral("007U000U");
    QTest::newRow("T2 in use alone") << Changes { state("frm2", "chk2", 2, 1),
        text("frm2", "txtwert", 2, "100") }
                                     << 450 << QStringLiteral("000U100O");
    QTest::newRow("T1 not in use: its typed limit is not sent") << Changes { text("frm2", "txtwert", 1, "99"),
        state("frm2", "OptO", 1, 0), state("frm2", "OptU", 1, 1), state("frm2", "chk2", 2, 1) }
                                                                << 450 << QStringLiteral("000U050O");
    QTest::newRow("T1 greyed counts as not in use") << Changes { state("frm2", "chk2", 1, 2),
        text("frm2", "txtwert", 1, "99") } << 450 << QStringLiteral("000U000U");
    QTest::newRow("T1/T2 recipients are sent with no input in use")
        << Changes { state("frm2", "chksms1", 6, 1), state("frm2", "chkfax1", 1, 1) } << 450
        << QStringLiteral("000U000U32000100");

    QTest::newRow("incall in use at its defaults")
        << Changes { state("frm7", "chk7", -1, 1) } << 479 << QStringLiteral("000000000NJ");
    QTest::newRow("incall: anyone may call replaces the caller masks")
        << Changes { state("frm7", "chk7", -1, 1), state("frm7", "chkPsw7", -1, 1),
               state("frm7", "optZ", 1, 0), state("frm7", "optZ", 12, 1), state("frm7", "chksms1", 1, 1) }
        << 479 << QStringLiteral("345600000JJ");
    QTest::newRow("incall not in use: its page is not sent") << Changes { state("frm7", "chkPsw7", -1, 1),
        state("frm7", "optZ", 1, 0), state("frm7", "optZ", 3, 1), state("frm7", "chksms1", 2, 1) }
                                                             << 479 << QStringLiteral("000010000NN");

    QTest::newRow("SMS outputs: output 1 in use sends the page's texts")
        << Changes { state("frm4", "chk4", 1, 1) } << 490
        << QStringLiteral("Relais1 Relais2 Relais3 Relais4 000000NNN");
    QTest::newRow("SMS outputs: outputs 2-4 in use without output 1") << Changes {
        state("frm4", "chk4", 2, 1), state("frm4", "chk4", 3, 1), state("frm4", "chk4", 4, 1),
        text("frm4", "txtSMS", 2, "Tor auf!"), state("frm4", "chkPsw4", -1, 1), state("frm4", "chksms1", 1, 1)
    } << 490 << QStringLiteral("Relais 1Relais 2Relais 3Relais 4000000NNN");

    QTest::newRow("opto: input 1 in use sends the page's texts")
        << Changes { state("frm3", "chk3", 1, 1) } << 531
        << QStringLiteral("        DIGITAL1        DIGITAL2LL00000000");
    QTest::newRow("opto: input 2 alone sends the default texts")
        << Changes { state("frm3", "chk3", 2, 1), text("frm3", "txt3", 1, "Tuer"),
               text("frm3", "txt3", 2, "Fenster"), state("frm3", "chksms1", 1, 1) }
        << 531 << QStringLiteral("          DIGIN1          DIGIN2LL00000000");

    QTest::newRow("ADC in use at its defaults")
        << Changes { state("frm5", "chk5", -1, 1) } << 573 << QStringLiteral("          ADC IN050O00000000X");
    QTest::newRow("ADC empty limit, above")
        << Changes { state("frm5", "chk5", -1, 1), text("frm5", "txtwert", -1, "") } << 573
        << QStringLiteral("          ADC IN000U00000000X");
    QTest::newRow("ADC empty limit, below") << Changes { state("frm5", "chk5", -1, 1),
        text("frm5", "txtwert", -1, ""), state("frm5", "OptO", -1, 0), state("frm5", "OptU", -1, 1) }
                                            << 573 << QStringLiteral("          ADC IN000U00000000X");
    QTest::newRow("ADC not in use: its page is not sent") << Changes {
        text("frm5", "txt5", -1, "Tank"), text("frm5", "txtwert", -1, "85"), state("frm5", "chksms1", 1, 1)
    } << 573 << QStringLiteral("          ADC IN000U00000000X");

    QTest::newRow("PWM in use") << Changes { state("frm6", "chk6", -1, 1), state("frm6", "chkPsw6", -1, 1) }
                                << 602 << QStringLiteral("000000JN");
    QTest::newRow("PWM not in use: its page is not sent") << Changes { state("frm6", "chkPsw6", -1, 1),
        state("frm6", "chksms1", 1, 1) } << 602 << QStringLiteral("000000NN");

    QTest::newRow("fax prefix before a filled number")
        << Changes { text("frm1", "txtFax1", 1, "0301234") } << 220 << QStringLiteral("990301234           ");
    QTest::newRow("empty fax number stays blank despite the prefix")
        << Changes { text("frm1", "txtFAxPref", -1, "1551"), text("frm1", "txtFax1", 2, "0891") } << 220
        << QStringLiteral("                    15510891                                                    ");
    QTest::newRow("empty fax prefix")
        << Changes { text("frm1", "txtFAxPref", -1, ""), text("frm1", "txtFax1", 4, "0301") } << 280
        << QStringLiteral("0301                ");
    QTest::newRow("short unit name and password") << Changes { text("frm1", "txtbez", -1, "Abc"),
        text("frm1", "txtPsw1", -1, "abcd") } << 4 << QStringLiteral("             Abcabcd    ");
}

void TestParameterRecord::sectionFollowsItsPage()
{
    QFETCH(Changes, changes);
    QFETCH(int, offset);
    QFETCH(QString, changedText);
    MapControlValues values;
    apply(values, changes);

    QString expected = kDefaultRecord;
    expected.replace(offset, changedText.size(), changedText);
    QCOMPARE(BuildParameterRecord(values), expected);
}

void TestParameterRecord::incallOnTimeCodes_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("code");
    const char *codes[] = { "00000", "00001", "00004", "00012", "00024", "00120", "00240", "00720", "01440",
        "07200", "17280", "34560" };
    for (int option = 1; option <= 12; ++option)
        QTest::addRow("optZ(%d)", option) << option << QString::fromLatin1(codes[option - 1]);
}

void TestParameterRecord::incallOnTimeCodes()
{
    QFETCH(int, option);
    QFETCH(QString, code);
    MapControlValues values;
    values.set(QStringLiteral("frm7"), QStringLiteral("chk7"), -1, 1);
    for (int k = 1; k <= 12; ++k)
        values.set(QStringLiteral("frm7"), QStringLiteral("optZ"), k, k == option ? 1 : 0);
    QCOMPARE(EncodeSection(u"frm7", values), code + QStringLiteral("0000NJ"));
}

void TestParameterRecord::yesNoFlags_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("flag");

    struct Flag
    {
        const char *form;
        const char *control;
        int offset;
        bool greyedIsYes;
    };
    const Flag flags[] = {
        { "frm4", "chkPsw4", 528, false },
        { "frm4", "chkCLI", 529, false },
        { "frm4", "chkAnt4", 530, false },
        { "frm6", "chkPsw6", 608, false },
        { "frm6", "chkCLI", 609, false },
        { "frm9", "chkPsw9", 624, true },
        { "frm9", "chkCLI", 625, true },
        { "frm9", "chkAntw", 634, false },
    };
    for (const Flag &f : flags) {
        const QString form = QString::fromLatin1(f.form);
        const QString control = QString::fromLatin1(f.control);
        QTest::addRow("%s %s cleared", f.form, f.control) << form << control << f.offset << 0 << "N";
        QTest::addRow("%s %s ticked", f.form, f.control) << form << control << f.offset << 1 << "J";
        QTest::addRow("%s %s greyed", f.form, f.control)
            << form << control << f.offset << 2 << (f.greyedIsYes ? "J" : "N");
    }
}

void TestParameterRecord::yesNoFlags()
{
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(int, offset);
    QFETCH(int, state);
    QFETCH(QString, flag);
    MapControlValues values;
    values.set(QStringLiteral("frm4"), QStringLiteral("chk4"), 1, 1);
    values.set(QStringLiteral("frm6"), QStringLiteral("chk6"), -1, 1);
    values.set(form, control, -1, state);

    const QString record = BuildParameterRecord(values);
    QCOMPARE(record.size(), kParameterRecordLength);
    QCOMPARE(record.mid(offset, 1), flag);
}

void TestParameterRecord::recipientMask_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QString>("mask");

    QTest::newRow("nothing ticked") << "chksms1" << Changes {} << 1 << 6 << "00";
    QTest::newRow("phones 1 and 3") << "chksms1" << tickAll("frm2", "chksms1", { 1, 3 }) << 1 << 6 << "05";
    QTest::newRow("phone 6 is the top bit")
        << "chksms1" << tickAll("frm2", "chksms1", { 6 }) << 1 << 6 << "32";
    QTest::newRow("phones 1-6") << "chksms1" << tickAll("frm2", "chksms1", { 1, 2, 3, 4, 5, 6 }) << 1 << 6
                                << "63";
    QTest::newRow("phone 7 is bit 1 again")
        << "chksms1" << tickAll("frm2", "chksms1", { 7 }) << 7 << 12 << "01";
    QTest::newRow("phone 12") << "chksms1" << tickAll("frm2", "chksms1", { 12 }) << 7 << 12 << "32";
    QTest::newRow("phones 7-12") << "chksms1" << tickAll("frm2", "chksms1", { 7, 8, 9, 10, 11, 12 }) << 7
                                 << 12 << "63";
    QTest::newRow("the other half is not read")
        << "chksms1" << tickAll("frm2", "chksms1", { 1, 2, 3, 4, 5, 6 }) << 7 << 12 << "00";
    QTest::newRow("the all box is not read")
        << "chksms1" << tickAll("frm2", "chksms1", { 0 }) << 1 << 6 << "00";
    QTest::newRow("a greyed box is not ticked")
        << "chksms1" << Changes { state("frm2", "chksms1", 2, 2) } << 1 << 6 << "00";
    QTest::newRow("fax 1-4") << "chkfax1" << tickAll("frm2", "chkfax1", { 1, 2, 3, 4 }) << 1 << 4 << "15";
    QTest::newRow("mail 4") << "chkmail1" << tickAll("frm2", "chkmail1", { 4 }) << 1 << 4 << "08";
}

void TestParameterRecord::recipientMask()
{
    QFETCH(QString, set);
    QFETCH(Changes, changes);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QString, mask);
    MapControlValues values;
    apply(values, changes);
    QCOMPARE(RecipientMask(first, last, values, QStringLiteral("frm2"), set), mask);
}

void TestParameterRecord::padding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("left");

    QTest::newRow("shorter") << "abc" << 5 << "abc  "
                             << "  abc";
    QTest::newRow("empty") << "" << 3 << "   "
                           << "   ";
    QTest::newRow("exact width") << "abcd" << 4 << "abcd"
                                 << "abcd";
    QTest::newRow("longer text is kept whole") << "abcdef" << 4 << "abcdef"
                                               << "abcdef";
    QTest::newRow("width 0") << "ab" << 0 << "ab"
                             << "ab";
    QTest::newRow("negative width") << "ab" << -3 << "ab"
                                    << "ab";
}

void TestParameterRecord::padding()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, right);
    QFETCH(QString, left);
    QCOMPARE(PadRight(text, width), right);
    QCOMPARE(PadLeft(text, width), left);
}

void TestParameterRecord::threeDigitValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");

    QTest::newRow("one digit") << "5"
                               << "005";
    QTest::newRow("two digits") << "50"
                                << "050";
    QTest::newRow("three digits") << "100"
                                  << "100";
    QTest::newRow("zero") << "0"
                          << "000";
    QTest::newRow("leading zeros") << "0007"
                                   << "007";
    QTest::newRow("more than three digits") << "1000"
                                            << "1000";
    QTest::newRow("blanks around a number") << " 42 "
                                            << "042";
    QTest::newRow("empty is not a number") << ""
                                           << "";
    QTest::newRow("letters") << "abc"
                             << "abc";
    QTest::newRow("digits and letters") << "5a"
                                        << "5a";
    QTest::newRow("plus sign") << "+5"
                               << "005";
    QTest::newRow("minus sign") << "-5"
                                << "-005";
    QTest::newRow("sign alone") << "-"
                                << "-";
}

void TestParameterRecord::threeDigitValue()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QCOMPARE(ThreeDigitValue(text), value);
}

void TestParameterRecord::moduleBytesRefuseAMisplacedRecord_data()
{
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<int>("length");

    QTest::newRow("a field longer than its width")
        << Changes { text("frm1", "txtbez", -1, "Halle 7 Pumpe = 2") } << 641;
    QTest::newRow("an input level with no option selected")
        << Changes { state("frm3", "chk3", 1, 1), state("frm3", "OptL", 1, 0) } << 639;
    QTest::newRow("a negative limit from an edited file")
        << Changes { state("frm2", "chk2", 1, 1), text("frm2", "txtwert", 1, "-5") } << 641;
    QTest::newRow("an incall time with no option selected")
        << Changes { state("frm7", "chk7", -1, 1), state("frm7", "optZ", 1, 0) } << 635;
}

void TestParameterRecord::moduleBytesRefuseAMisplacedRecord()
{
    QFETCH(Changes, changes);
    QFETCH(int, length);
    MapControlValues values;
    apply(values, changes);

    RecordProblem problem = RecordProblem::None;
    int actualLength = 0;
    QVERIFY(!RecordToModuleBytes(BuildParameterRecord(values), &problem, &actualLength).has_value());
    QCOMPARE(problem, RecordProblem::WrongLength);
    QCOMPARE(actualLength, length);

    // The same for plain texts one character off, without the optional outputs.
    QVERIFY(!RecordToModuleBytes(QString(639, QLatin1Char('a'))).has_value());
    QVERIFY(!RecordToModuleBytes(QString(641, QLatin1Char('a'))).has_value());
}

void TestParameterRecord::moduleBytesAreOneBytePerCharacter()
{
    MapControlValues values;
    QCOMPARE(
        RecordToModuleBytes(BuildParameterRecord(values)).value_or(QByteArray()), kDefaultRecord.toLatin1());

    // "ó" and "€" have bytes of their own; "Ł", "ź", "→" have none, and each half of the emoji counts as one
    // character, so the record keeps its 640 places.
    values.setText(QStringLiteral("frm1"), QStringLiteral("txtbez"), -1, QStringLiteral("Łódź→€"));
    values.setText(QStringLiteral("frm1"), QStringLiteral("txtPsw1"), -1, QStringLiteral("😀"));
    RecordProblem problem = RecordProblem::WrongLength;
    int actualLength = 0;
    const std::optional<QByteArray> bytes
        = RecordToModuleBytes(BuildParameterRecord(values), &problem, &actualLength);
    QVERIFY(bytes.has_value());
    QCOMPARE(problem, RecordProblem::None);
    QCOMPARE(actualLength, kParameterRecordLength);
    QCOMPARE(bytes->size(), kParameterRecordLength);
    QCOMPARE(bytes->mid(4, 24),
        QByteArray("          ?\xF3"
                   "d??\x80"
                   "??      "));
    QCOMPARE(bytes->mid(28), kDefaultRecord.mid(28).toLatin1());
}

QTEST_GUILESS_MAIN(TestParameterRecord)
#include "tst_parameterrecord.moc"
