#include "core/appsetup.h"
#include "core/parameterrecord.h"
#include "comm/registrycontrolvalues.h"
#include "core/cp1252.h"
#include "core/fieldrule.h"
#include "shell/configfiles.h"
#include "shell/frmstart.h"
#include "shell/windowcatalog.h"
#include "support/testfiles.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FieldRule)

// A value read from a settings file reaches a field as pasted text does: through the field's filter and
// length, then its leaving check, in the window and in the commands alike; the file stays as it was.
namespace {

const QString kDesign = u"<design>"_s;

QLineEdit *field(const QString &form, const QString &key)
{
    FormWindow *window = WindowRegistry::instance().window(form);
    const qsizetype open = key.indexOf(u'(');
    if (open < 0)
        return window->controlAs<QLineEdit>(key);
    return window->controlAs<QLineEdit>(key.left(open), key.mid(open + 1).chopped(1).toInt());
}

} // namespace

class tst_StoredValues : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void storedFieldText_data();
    void storedFieldText();
    void windowLoadAndOpenFilterTheFile_data() { valuesFromAFile(); }
    void windowLoadAndOpenFilterTheFile();
    void recordCommandFiltersTheFile_data() { valuesFromAFile(); }
    void recordCommandFiltersTheFile();

private:
    void valuesFromAFile();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_StoredValues::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    AppSetup::setUpApplication({ m_dir->path() });
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->filePath(u"config"_s));
}

void tst_StoredValues::cleanup()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

void tst_StoredValues::storedFieldText_data()
{
    QTest::addColumn<FieldRule>("rule");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text"); // kDesign: the field takes its design value

    const FieldRule pin { KeyFilter::Digits, 4, 4, {} };
    const FieldRule name { KeyFilter::Letters, 13, 0, {} };
    const FieldRule any { KeyFilter::None, 3, 0, {} };
    const FieldRule limit = limitFieldRule(LimitLeaving::Clamp);
    QTest::newRow("filtered before it is cut") << pin << u"a1b2c3d4e5"_s << u"1234"_s;
    QTest::newRow("Backspace and digits dropped") << name << u"An\bna 2"_s << u"Anna "_s;
    QTest::newRow("blanks are a value") << name << u"   "_s << u"   "_s;
    QTest::newRow("no filter: euro kept, controls dropped")
        << any << u"\u20AC\tb\u0081\u007F"_s << u"\u20ACb"_s;
    QTest::newRow("no filter: controls do not count") << any << u"\u0001\u008Dabcd"_s << u"abc"_s;
    QTest::newRow("no filter: controls only") << any << u"\u0081\u008D"_s << kDesign;
    QTest::newRow("limit: leading zeros kept") << limit << u"007"_s << u"007"_s;
    QTest::newRow("ADC limit: 100 kept") << limitFieldRule(LimitLeaving::Reset) << u"100"_s << u"100"_s;
}

void tst_StoredValues::storedFieldText()
{
    QFETCH(FieldRule, rule);
    QFETCH(QString, value);
    QFETCH(QString, text);

    const std::optional<QString> stored = ::storedFieldText(rule, value);
    QCOMPARE(stored.value_or(kDesign), text);
    if (!stored)
        return;
    // Whatever a field takes from a file, typing could have put there.
    QCOMPARE(filterInsertedText(rule.filter, *stored), *stored);
    QVERIFY(rule.maxLength < 0 || stored->size() <= rule.maxLength);
    QVERIFY(stored->size() >= qMax(1, rule.minLength));
}

// Per row one settings file: the page's section with the value (and the in-use box that has it sent), the
// text the field shows, and the characters the record carries for it.
void tst_StoredValues::valuesFromAFile()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QByteArray>("lines"); // Windows-1252, as in the file
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("record");

    const auto blanks = [](int n) { return QString(n, u' '); };
    const auto row = [](const char *tag, const char *form, const QByteArray &lines, const char *key,
                         const QString &shown, int offset, const QString &record) {
        QTest::newRow(tag) << QString::fromLatin1(form) << lines << QString::fromLatin1(key) << shown
                           << offset << record;
    };
    row("PIN in letters", "frm1", "txtsim=AB>D", "txtsim", u"5173"_s, 0, u"5173"_s);
    row("PIN of three digits", "frm1", "txtsim=12a3", "txtsim", u"5173"_s, 0, u"5173"_s);
    row("PIN too long", "frm1", "txtsim=123456", "txtsim", u"1234"_s, 0, u"1234"_s);
    row("unit name with code page bytes", "frm1", "txtbez=Pumpe\x80 3\x81\x8D!", "txtbez", u"Pumpe 3"_s, 4,
        blanks(9) + "Pumpe 3");
    row("password with digits", "frm1", "txtPsw1=abc123DEF", "txtPsw1", u"abcDEF"_s, 20, u"abcDEF  "_s);
    row("phone number in words", "frm1", "txtFon1(1)=call-me>now", "txtFon1(1)", u""_s, 28, blanks(16));
    row("phone number too long", "frm1", "txtFon1(2)=+49 170>1234567890123", "txtFon1(2)",
        u"+491701234567890"_s, 44, u"+491701234567890"_s);
    row("fax number with a plus", "frm1", "txtFax1(1)=+49 (30) 12", "txtFax1(1)", u"493012"_s, 220,
        "99493012" + blanks(12));
    row("mail address: controls go, the euro sign stays", "frm1",
        "txtMail1(1)=a\x80z\x81@c\x8D"
        "d\x7F",
        "txtMail1(1)", u"a\u20ACz@cd"_s, 300, u"a\u20ACz@cd"_s + blanks(29));
    row("mail number of another provider", "frm1", "optAnb(0)=-1\r\ntxtAnr=0800-123", "txtAnr", u"0800123"_s,
        440, u"0800123   "_s);
    row("limit above 100 on T1", "frm2", "chk2(1)=1\r\ntxtwert(1)=150", "txtwert(1)", u"100"_s, 450,
        u"100O"_s);
    row("limit with a sign on T2", "frm2", "chk2(2)=1\r\ntxtwert(2)=-7", "txtwert(2)", u"7"_s, 454,
        u"007O"_s);
    row("optocoupler text with an umlaut", "frm3", "chk3(1)=1\r\ntxt3(1)=T\xFCr offen!", "txt3(1)",
        u"Tr offen"_s, 531, blanks(8) + "Tr offen");
    row("switch text of prompt characters", "frm4", "chk4(1)=1\r\ntxtSMS(1)=>@[\\]^_", "txtSMS(1)",
        u"Relais1"_s, 490, u"Relais1 "_s);
    row("switch text with code page bytes", "frm4", "chk4(1)=1\r\ntxtSMS(2)=An\x80\x81\x8D>aus", "txtSMS(2)",
        u"Anaus"_s, 498, u"Anaus   "_s);
    row("switch text too long", "frm4", "chk4(1)=1\r\ntxtSMS(4)=Pumpe=1 ein", "txtSMS(4)", u"Pumpe=1 "_s, 514,
        u"Pumpe=1 "_s);
    row("ADC limit above 100", "frm5", "chk5=1\r\ntxtwert=999", "txtwert", u"50"_s, 589, u"050O"_s);
    row("ADC limit in words", "frm5", "chk5=1\r\ntxtwert=abc", "txtwert", u"50"_s, 589, u"050O"_s);
    row("ADC limit too long", "frm5", "chk5=1\r\ntxtwert=1000", "txtwert", u"100"_s, 589, u"100O"_s);
    row("reply text with a prompt", "frm9", "txtZust=OK>@", "txtZust", u"OK"_s, 610, u"OK      "_s);
    row("error text of code page bytes", "frm9", "chkAntw=1\r\ntxtErr=\x80\x81\x8D", "txtErr", u"ERROR"_s,
        626, u"ERROR   "_s);
}

void tst_StoredValues::windowLoadAndOpenFilterTheFile()
{
    QFETCH(QString, form);
    QFETCH(QByteArray, lines);
    QFETCH(QString, key);
    QFETCH(QString, shown);
    QFETCH(int, offset);
    QFETCH(QString, record);

    const QByteArray file = "[" + form.toLatin1() + "]\r\n" + lines + "\r\n";
    putFile(IniFilePath(), file);
    const QString chosen = m_dir->filePath(u"Kunde.ini"_s);
    putFile(chosen, file);
    registerProgramWindows();
    loadSettingsIntoConfiguration(IniFileReadPath());

    // Start-up: the working settings file.
    QCOMPARE(field(form, key)->text(), shown);
    const auto recordBytes
        = [] { return *RecordToModuleBytes(BuildParameterRecord(RegistryControlValues())); };
    QCOMPARE(recordBytes().mid(offset, record.size()), toCp1252(record));

    // "Open configuration" over a page that held something else.
    field(form, key)->clear();
    auto *start = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    start->setQuitHandler([] {});
    QVERIFY(start->configurationFiles()->openConfiguration(chosen));
    QCOMPARE(field(form, key)->text(), shown);
    QCOMPARE(recordBytes().mid(offset, record.size()), toCp1252(record));

    QCOMPARE(fileBytes(IniFilePath()), file);
    QCOMPARE(fileBytes(chosen), file);
}

void tst_StoredValues::recordCommandFiltersTheFile()
{
    QFETCH(QString, form);
    QFETCH(QByteArray, lines);
    QFETCH(int, offset);
    QFETCH(QString, record);

    const QByteArray file = "[" + form.toLatin1() + "]\r\n" + lines + "\r\n";
    const QString path = m_dir->filePath(u"Kunde.ini"_s);
    putFile(path, file);

    QProcess command;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    env.insert(u"HOME"_s, m_dir->path());
    env.insert(u"XDG_CONFIG_HOME"_s, m_dir->filePath(u"config"_s));
    command.setProcessEnvironment(env);
    command.setWorkingDirectory(m_dir->path());
    command.start(QStringLiteral(RM425T_PROGRAM_PATH), { u"record"_s, u"--settings"_s, path });
    QVERIFY(command.waitForFinished(30000));
    QCOMPARE(command.exitStatus(), QProcess::NormalExit);
    QCOMPARE(command.exitCode(), 0);
    const QByteArray out = command.readAllStandardOutput();
    QCOMPARE(out.size(), kParameterRecordLength + 1);
    QCOMPARE(out.mid(offset, record.size()), toCp1252(record));
    QCOMPARE(fileBytes(path), file);
}

QTEST_MAIN(tst_StoredValues)
#include "tst_storedvalues.moc"
