#include "core/configfields.h"
#include "core/configuration.h"
#include "core/cp1252.h"
#include "core/inifile.h"
#include "core/unitsfile.h"
#include "l10n/unitstexts.h"
#include "support/specialfile.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Units files read and checked as the pages check a value, and a unit's configuration built from its row.
class tst_UnitsFile : public QObject
{
    Q_OBJECT

private slots:
    void readsRows_data();
    void readsRows();
    void refusesWhatAFieldCannotHold_data();
    void refusesWhatAFieldCannotHold();
    void readsOnlyRegularFiles();
    void overlayLoadsAsASettingsFile_data();
    void overlayLoadsAsASettingsFile();
    void problemTexts();
};

namespace {

// "unit@line [port] key=value …" per row, rows joined by " | "; a line break in a cell shows as "^".
QString rowsText(const UnitsFile &file)
{
    QStringList rows;
    for (const UnitRow &row : file.rows) {
        QString text = row.unit + u'@' + QString::number(row.line);
        if (!row.port.isEmpty())
            text += u" ["_s + row.port + u']';
        for (const auto &[field, value] : row.values)
            text += u' ' + configurationFields()[size_t(field)].settingsKey() + u'=' + value;
        rows << text.replace(u'\n', u'^');
    }
    return rows.join(u" | "_s);
}

QString enumName(UnitsProblem::Kind kind)
{
    static const char *const names[] = { "Unreadable", "Empty", "NoUnitColumn", "UnknownColumn",
        "DuplicateColumn", "UnclosedQuote", "WrongCellCount", "EmptyUnit", "DuplicateUnit", "ValueRefused" };
    return QString::fromLatin1(names[int(kind)]);
}

QString enumName(UnitsProblem::Rule rule)
{
    static const char *const names[]
        = { "None", "Character", "TooLong", "TooShort", "Limit", "NotANumber", "OutOfRange", "GroupTaken" };
    return QString::fromLatin1(names[int(rule)]);
}

// "Kind line:column [Rule]" per problem, in the order found.
QString problemsText(const UnitsFile &file)
{
    QStringList problems;
    for (const UnitsProblem &problem : file.problems) {
        QString text = u"%1 %2:%3"_s.arg(enumName(problem.kind)).arg(problem.line).arg(problem.column);
        if (problem.rule != UnitsProblem::Rule::None)
            text += u' ' + enumName(problem.rule);
        problems << text;
    }
    return problems.join(u" | "_s);
}

} // namespace

void tst_UnitsFile::readsRows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("rows");
    QTest::newRow("UTF-8 with BOM, semicolons, CR LF")
        << "\xEF\xBB\xBFunit;port;frm1/txtsim\r\nA1;COM3;1234\r\nA2;;4321\r\n"_ba
        << u"A1@2 [COM3] frm1/txtsim=1234 | A2@3 frm1/txtsim=4321"_s;
    QTest::newRow("Windows-1252 umlauts")
        << "unit,frm1/txtbez\nM\xFCller,Halle 3\n"_ba << u"Müller@2 frm1/txtbez=Halle 3"_s;
    QTest::newRow("UTF-8 without BOM") << "unit,frm1/txtbez\nGr\xC3\xB6\xC3\x9F"
                                          "e,x\n"_ba
                                       << u"Größe@2 frm1/txtbez=x"_s;
    // The separator is the header's: semicolons in the rows are text.
    QTest::newRow("comma header, semicolons in cells")
        << "unit,frm1/txtbez\nA;B,x\n"_ba << u"A;B@2 frm1/txtbez=x"_s;
    QTest::newRow("quoted separators, quotes and line breaks")
        << "unit;frm1/txtbez\r\n\"A; north\";\"x\"\r\n\"B\r\nsecond\";y\r\n\"say \"\"hi\"\"\";z"_ba
        << u"A; north@2 frm1/txtbez=x | B\r^second@3 frm1/txtbez=y | say \"hi\"@5 frm1/txtbez=z"_s;
    QTest::newRow("names without case, blanks around cells, empty cells keep the base")
        << "UNIT , Frm1/TxtSim,frm1/txtFon1(1),frm4/chk4(1)\n  A ,  ,+49170 ,1\n"_ba
        << u"A@2 frm1/txtFon1(1)=+49170 frm4/chk4(1)=1"_s;
    QTest::newRow("empty lines and rows of separators skipped")
        << "\r\n\nunit;frm1/txtsim\n\nA;1234\n;\n\r\nB;1111"_ba
        << u"A@5 frm1/txtsim=1234 | B@8 frm1/txtsim=1111"_s;
    QTest::newRow("options, tabs, checks") << "unit,frm1/optAnb(3),frm1/opt(2),frm2/chk2(1)\nA,-1,0,2\n"_ba
                                           << u"A@2 frm1/optAnb(3)=-1 frm1/opt(2)=0 frm2/chk2(1)=2"_s;
    QTest::newRow("separator named before the header")
        << "sep=;\r\nunit;frm1/txtbez\r\n\"A,B\";x\r\n"_ba << u"A,B@3 frm1/txtbez=x"_s;
    QTest::newRow("header only") << "unit;frm1/txtsim\r\n"_ba << QString();
}

void tst_UnitsFile::readsRows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, rows);
    const UnitsFile file = parseUnitsFile(bytes);
    QCOMPARE(problemsText(file), QString());
    QVERIFY(file.usable());
    QCOMPARE(rowsText(file), rows);
}

void tst_UnitsFile::refusesWhatAFieldCannotHold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problems");
    QTest::addColumn<QString>("rows"); // the rows that passed
    const auto row
        = [](const char *name, const QByteArray &bytes, const char *problems, const char *rows = "") {
              QTest::newRow(name) << bytes << QString::fromUtf8(problems) << QString::fromUtf8(rows);
          };
    row("empty file", "", "Empty 0:0");
    row("only a BOM and line ends", "\xEF\xBB\xBF\r\n\r\n", "Empty 0:0");
    row("no unit column", "port,frm1/txtsim\nCOM1,1234\n", "NoUnitColumn 1:0");
    row("unknown columns", "unit,frm1/nothing,txtsim,frm9/txtsim,\nA,1,2,3,4\n",
        "UnknownColumn 1:2 | UnknownColumn 1:3 | UnknownColumn 1:4 | UnknownColumn 1:5", "A@2");
    row("a key twice, in two spellings", "unit,frm1/txtsim,FRM1/TXTSIM,unit\nA,1234,12,B\n",
        "DuplicateColumn 1:3 | DuplicateColumn 1:4", "A@2 frm1/txtsim=1234");
    row("wrong cell counts", "unit,frm1/txtsim\nA\nB,1234,5\nC,1234\n",
        "WrongCellCount 2:0 | WrongCellCount 3:0", "C@4 frm1/txtsim=1234");
    row("empty unit", "unit,frm1/txtsim\n ,1234\n", "EmptyUnit 2:1");
    row("duplicate unit without case", "unit\nAbc\nB\naBC\n", "DuplicateUnit 4:1", "Abc@2 | B@3");
    row("unclosed quote", "unit,frm1/txtbez\nA,x\nB,\"abc\nC,y\n", "UnclosedQuote 3:2", "A@2 frm1/txtbez=x");
    // The rules of the fields.
    row("PIN with a letter", "unit;frm1/txtsim\nA;12a4\n", "ValueRefused 2:2 Character");
    row("PIN too short", "unit;frm1/txtsim\nA;123\n", "ValueRefused 2:2 TooShort");
    row("PIN too long", "unit;frm1/txtsim\nA;12345\n", "ValueRefused 2:2 TooLong");
    row("phone number with a blank inside", "unit;frm1/txtFon1(2)\nA;0170 1\n", "ValueRefused 2:2 Character");
    row("name with a digit", "unit;frm1/txtName1(1)\nA;Anna2\n", "ValueRefused 2:2 Character");
    row("name 17 characters", "unit;frm1/txtbez\nA;ABCDEFGHIJKLMNOPQ\n", "ValueRefused 2:2 TooLong");
    row("no Windows-1252 character", "unit;frm1/txtMail1(1)\nA;a\xE2\x9C\x93@b.de\n",
        "ValueRefused 2:2 Character");
    // A problem names the line its cell starts on.
    row("line break in a text", "unit;frm1/txtbez;frm1/txtsim\n\"A\nB\";\"x\ny\";12a4\n",
        "ValueRefused 3:2 Character | ValueRefused 4:3 Character");
    row("limits the leaving check changes",
        "unit;frm2/txtwert(1);frm2/txtwert(2);frm5/txtwert\nA;101;100;007\n", "ValueRefused 2:2 Limit", "");
    row("check box states", "unit;frm2/chk2(1)\nA;3\nB;x\nC;1.0\nD;-1\nE;2\n",
        "ValueRefused 2:2 OutOfRange | ValueRefused 3:2 NotANumber | ValueRefused 4:2 NotANumber | "
        "ValueRefused 5:2 OutOfRange",
        "E@6 frm2/chk2(1)=2");
    // The settings file writes -1 for a selected option; 1 is refused rather than guessed.
    row("option states", "unit;frm1/optAnb(3)\nA;1\nB;-1\nC;0\n", "ValueRefused 2:2 OutOfRange",
        "B@3 frm1/optAnb(3)=-1 | C@4 frm1/optAnb(3)=0");
    row("two options of one group", "unit;frm1/optAnb(0);frm1/optAnb(3)\nA;-1;-1\nB;0;-1\n",
        "ValueRefused 2:3 GroupTaken", "B@3 frm1/optAnb(0)=0 frm1/optAnb(3)=-1");
    // Every problem of the file, in file order; rows after a refused one are still checked.
    row("all problems in file order", "unit;frm1/txtsim;frm1/x\nA;1;2\nA;1234;\n;;\nB\n",
        "UnknownColumn 1:3 | ValueRefused 2:2 TooShort | DuplicateUnit 3:1 | WrongCellCount 5:0");
    row("the unit column last", "frm1/txtsim;unit;frm1/nothing\n12a4;;\n",
        "UnknownColumn 1:3 | ValueRefused 2:1 Character | EmptyUnit 2:2");
}

void tst_UnitsFile::refusesWhatAFieldCannotHold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problems);
    QFETCH(QString, rows);
    const UnitsFile file = parseUnitsFile(bytes);
    QCOMPARE(problemsText(file), problems);
    QVERIFY(!file.usable());
    QCOMPARE(rowsText(file), rows);
}

void tst_UnitsFile::readsOnlyRegularFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath(u"units.csv"_s);
    putFile(good, "unit;frm1/txtsim\r\nA;1234\r\n"_ba);
    UnitsFile file = readUnitsFile(good);
    QVERIFY(file.usable());
    QCOMPARE(file.path, good);
    QCOMPARE(file.columns, (QStringList { u"unit"_s, u"frm1/txtsim"_s }));
    QVERIFY(file.find(u"a"_s));
    QCOMPARE(file.find(u"a"_s)->line, 2);
    QVERIFY(!file.find(u"B"_s));

    const QString large = dir.filePath(u"large.csv"_s);
    putFile(large, "unit\r\n"_ba + QByteArray(int(kMaxUnitsFileSize), 'A'));
    const QString exact = dir.filePath(u"exact.csv"_s);
    putFile(exact, "unit\r\n"_ba + QByteArray(int(kMaxUnitsFileSize) - 6, 'A'));
    QVERIFY(readUnitsFile(exact).usable());

    using Access = UnitsProblem::Access;
    QList<QPair<QString, Access>> refused { { dir.filePath(u"missing.csv"_s), Access::Missing },
        { dir.path(), Access::NotAFile }, { large, Access::TooLarge } };
#ifdef Q_OS_UNIX
    const SpecialFile fifo(u"fifo"_s, dir.filePath(u"fifo"_s));
    QVERIFY(!fifo.path().isEmpty());
    refused.append({ fifo.path(), Access::NotAFile });
    const QString link = dir.filePath(u"link.csv"_s);
    QVERIFY(QFile::link(good, link));
    QVERIFY(readUnitsFile(link).usable());
#endif
    for (const auto &[path, access] : refused) {
        file = readUnitsFile(path);
        QCOMPARE(file.problems.size(), 1);
        QCOMPARE(file.problems.first().kind, UnitsProblem::Kind::Unreadable);
        QCOMPARE(file.problems.first().access, access);
        QVERIFY(file.rows.isEmpty());
    }
}

void tst_UnitsFile::overlayLoadsAsASettingsFile_data()
{
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<QByteArray>("units");
    QTest::addColumn<QString>("expected"); // "key=value" the unit's configuration holds
    const QByteArray base = "[frm1]\r\ntxtsim=1111\r\nTXTBEZ=Base\r\noptAnb(1)=-1\r\ntxtFon1(1)=0301\r\n"
                            "[frm2]\r\nchk2(1)=1\r\n"_ba;
    QTest::newRow("values replace, empty cells keep the base")
        << base << "unit;frm1/txtsim;frm1/txtbez;frm2/chk2(1)\nA;2222;;0\n"_ba
        << u"frm1/txtsim=2222 frm1/txtbez=Base frm2/chk2(1)=0 frm1/txtFon1(1)=0301"_s;
    QTest::newRow("a provider change applies its numbers")
        << base << "unit;frm1/optAnb(3)\nA;-1\n"_ba
        << u"frm1/optAnb(1)=0 frm1/txtAnr=7676245 frm1/txtFAxPref=1551"_s;
    // The base selects a later member of the group: the row's choice still wins.
    QTest::newRow("a provider before the base's") << "[frm1]\r\noptAnb(3)=-1\r\n"_ba
                                                  << "unit;frm1/optAnb(0);frm1/txtAnr\nA;-1;555\n"_ba
                                                  << u"frm1/optAnb(0)=-1 frm1/optAnb(3)=0 frm1/txtAnr=555"_s;
    QTest::newRow("a provider over a number the row gives")
        << base << "unit;frm1/txtAnr;frm1/optAnb(2)\nA;555;-1\n"_ba
        << u"frm1/optAnb(2)=-1 frm1/txtAnr=3400"_s;
    QTest::newRow("a target the event pages follow")
        << base << "unit;frm1/txtFon1(1);frm2/chksms1(1)\nA;;1\n"_ba << u"frm2/chksms1(1)=1"_s;
    QTest::newRow("an emptied target's box") << "[frm2]\r\nchksms1(1)=1\r\n"_ba
                                             << "unit;frm2/chksms1(1)\nA;1\n"_ba << u"frm2/chksms1(1)=0"_s;
}

void tst_UnitsFile::overlayLoadsAsASettingsFile()
{
    QFETCH(QByteArray, base);
    QFETCH(QByteArray, units);
    QFETCH(QString, expected);
    const IniDocument baseDocument = IniDocument::fromBytes(base);
    const UnitsFile file = parseUnitsFile(units);
    QVERIFY2(file.usable(), qPrintable(problemsText(file)));
    const UnitRow &row = file.rows.first();
    const Configuration unit = unitConfiguration(baseDocument, row);
    for (const QString &pair : expected.split(u' ')) {
        const QString key = pair.section(u'=', 0, 0);
        QCOMPARE(key + u'=' + unit.value(key.section(u'/', 0, 0), key.section(u'/', 1)), pair);
    }
    // Exactly what a settings file holding the values gives.
    const IniDocument document = unitDocument(baseDocument, row);
    QVERIFY(unit == Configuration::fromDocument(IniDocument::fromBytes(document.toBytes())));
    // The base stays as it was.
    QCOMPARE(baseDocument.toBytes(), IniDocument::fromBytes(base).toBytes());
}

void tst_UnitsFile::problemTexts()
{
    const UnitsFile file = parseUnitsFile("unit;frm1/txtsim;frm1/nothing\nA;12a4;\nA;1234;\n"_ba);
    QCOMPARE(file.problems.size(), 3);
    const UnitsProblem &pin = file.problems.at(1);
    QCOMPARE(unitsProblemText(pin, kLanguages[kEnglish]),
        u"Line 2, column 2 (frm1/txtsim): \"12a4\" — the field does not take the character \"a\"; "
        "the field takes digits only"_s);
    // A character outside the Basic Multilingual Plane is named whole.
    const UnitsFile emoji = parseUnitsFile("unit;frm1/txtMail1(1)\nA;a\xF0\x9F\x98\x80\n"_ba);
    QCOMPARE(emoji.problems.value(0).detail, u"\U0001F600"_s);
    QVERIFY(unitsProblemText(emoji.problems.value(0), kLanguages[kEnglish]).contains(u"\"\U0001F600\""_s));
    QCOMPARE(unitsProblemText(file.problems.at(2), kLanguages[kGerman]),
        u"Zeile 3, Spalte 1 (unit): die Einheit „A“ steht schon in Zeile 2"_s);
    QCOMPARE(unitsProblemText(file.problems.at(0), kLanguages[kFrench]).left(33),
        u"Ligne 1, colonne 3 (frm1/nothing)"_s);

    // Every kind and rule has a text of its own in each language, naming the place.
    QList<UnitsProblem> problems = file.problems;
    const char *const samples[]
        = { "", "unit\nA\nB,1\n", "port\nx\n", "unit;unit\n", "unit;frm1/txtbez\nA;\"x\n", "unit\n \n",
              "unit;frm1/txtsim;frm2/txtwert(1);frm2/chk2(1);frm1/optAnb(0);frm1/optAnb(1);frm1/txtbez\n"
              "A;123;200;x;-1;-1;ABCDEFGHIJKLMNOPQR\nB;12345;;9;;;a\xE2\x9C\x93\n" };
    for (const char *sample : samples)
        problems += parseUnitsFile(QByteArray(sample)).problems;
    problems += readUnitsFile(u"/nonexistent/units.csv"_s).problems;
    for (const UnitsProblem &problem : problems) {
        QStringList texts;
        for (const Language &language : kLanguages) {
            const QString text = unitsProblemText(problem, language);
            QVERIFY2(!text.isEmpty() && !text.contains(u'%'), qPrintable(text));
            if (problem.line > 0)
                QVERIFY2(text.contains(QString::number(problem.line)), qPrintable(text));
            if (!problem.columnName.isEmpty())
                QVERIFY2(text.contains(problem.columnName), qPrintable(text));
            QVERIFY2(!texts.contains(text), qPrintable(text));
            texts << text;
        }
    }
    // The language of the configuration by default: English for a new one.
    QCOMPARE(unitsProblemText(pin), unitsProblemText(pin, kLanguages[kEnglish]));
}

QTEST_GUILESS_MAIN(tst_UnitsFile)
#include "tst_unitsfile.moc"
