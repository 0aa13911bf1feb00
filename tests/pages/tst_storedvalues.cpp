#include "comm/parameterrecord.h"
#include "comm/registrycontrolvalues.h"
#include "core/cp1252.h"
#include "pages/fieldrule.h"
#include "shell/configfiles.h"
#include "shell/frmstart.h"
#include "shell/windowcatalog.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"
#include "support/testfiles.h"

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
    setSettingsDirectory(m_dir->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->filePath(u"config"_s));
}

void tst_StoredValues::cleanup()
{
    WindowRegistry::instance().reset();
    setSettingsDirectory(QString());
}

void tst_StoredValues::storedFieldText_data()
{
    QTest::addColumn<FieldRule>("rule");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text"); // kDesign: the field takes its design value

    const FieldRule pin { KeyFilter::Digits, 4, 4, {} };
    const FieldRule phone { KeyFilter::PhoneNumber, 16, 0, {} };
    const FieldRule name { KeyFilter::Letters, 13, 0, {} };
    const FieldRule plain { KeyFilter::PlainText, 8, 0, {} };
    const FieldRule sms { KeyFilter::SmsText, 160, 0, {} };
    const FieldRule mail { KeyFilter::None, 35, 0, {} };
    const FieldRule shortAny { KeyFilter::None, 3, 0, {} };
    const FieldRule clamp = limitFieldRule(LimitLeaving::Clamp);
    const FieldRule reset = limitFieldRule(LimitLeaving::Reset);

    QTest::newRow("PIN: letters only") << pin << u"AB>D"_s << kDesign;
    QTest::newRow("PIN: three digits left is too short") << pin << u"12a3"_s << kDesign;
    QTest::newRow("PIN: filtered before it is cut") << pin << u"a1b2c3d4e5"_s << u"1234"_s;
    QTest::newRow("phone: words only") << phone << u"call-me>now"_s << kDesign;
    QTest::newRow("phone: plus and digits kept") << phone << u"+49 (170) 12-34"_s << u"+491701234"_s;
    QTest::newRow("name: digits and Backspace dropped") << name << u"An\bna 2"_s << u"Anna "_s;
    QTest::newRow("plain: prompt and brackets dropped") << plain << u"=>@[\\]^_a"_s << u"=a"_s;
    QTest::newRow("plain: code page bytes dropped") << plain << u"A\u20ACB\u0081C\u008DD"_s << u"ABCD"_s;
    QTest::newRow("plain: blanks are a value") << plain << u"   "_s << u"   "_s;
    QTest::newRow("SMS text: umlaut folded, prompt dropped") << sms << u"Tür>@[`"_s << u"Tur"_s;
    QTest::newRow("no filter: euro sign kept, controls dropped")
        << mail << u"a\u20AC\tb\u0081c\u008D\u007F"_s << u"a\u20ACbc"_s;
    QTest::newRow("no filter: controls do not count towards the length") << shortAny << u"\u0001\u0002abcd"_s
                                                                         << u"abc"_s;
    QTest::newRow("no filter: controls only") << mail << u"\u0081\u008D"_s << kDesign;
    QTest::newRow("limit: above 100 clamped") << clamp << u"150"_s << u"100"_s;
    QTest::newRow("limit: the sign is no digit") << clamp << u"-7"_s << u"7"_s;
    QTest::newRow("limit: cut to three digits first") << clamp << u"1000"_s << u"100"_s;
    QTest::newRow("limit: leading zeros kept") << clamp << u"007"_s << u"007"_s;
    QTest::newRow("limit: no digit at all") << clamp << u"abc"_s << kDesign;
    QTest::newRow("ADC limit: above 100 reset") << reset << u"999"_s << u"50"_s;
    QTest::newRow("ADC limit: 100 kept") << reset << u"100"_s << u"100"_s;
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
    QTest::newRow("PIN in letters") << "frm1" << QByteArray("txtsim=AB>D") << "txtsim" << "5173" << 0
                                    << "5173";
    QTest::newRow("PIN of three digits among letters")
        << "frm1" << QByteArray("txtsim=12a3") << "txtsim" << "5173" << 0 << "5173";
    QTest::newRow("PIN longer than its field")
        << "frm1" << QByteArray("txtsim=123456") << "txtsim" << "1234" << 0 << "1234";
    QTest::newRow("unit name with code page bytes") << "frm1" << QByteArray("txtbez=Pumpe\x80 3\x81\x8D!")
                                                    << "txtbez" << "Pumpe 3" << 4 << blanks(9) + "Pumpe 3";
    QTest::newRow("password with digits")
        << "frm1" << QByteArray("txtPsw1=abc123DEF") << "txtPsw1" << "abcDEF" << 20 << "abcDEF  ";
    QTest::newRow("phone number in words")
        << "frm1" << QByteArray("txtFon1(1)=call-me>now") << "txtFon1(1)" << "" << 28 << blanks(16);
    QTest::newRow("phone number longer than its field")
        << "frm1" << QByteArray("txtFon1(2)=+49 170 1234567890123") << "txtFon1(2)" << "+491701234567890"
        << 44 << "+491701234567890";
    QTest::newRow("phone number with a prompt") << "frm1" << QByteArray("txtFon1(12)=+49>170") << "txtFon1(12)"
                                                << "+49170" << 204 << "+49170" + blanks(10);
    QTest::newRow("fax number with a plus") << "frm1" << QByteArray("txtFax1(1)=+49 (30) 12") << "txtFax1(1)"
                                            << "493012" << 220 << "99493012" + blanks(12);
    QTest::newRow("mail address: controls go, the euro sign stays")
        << "frm1" << QByteArray("txtMail1(1)=a\x80z\x81@c\x8D" "d\x7F") << "txtMail1(1)" << "a\u20ACz@cd" << 300
        << "a\u20ACz@cd" + blanks(29);
    QTest::newRow("mail number under another provider")
        << "frm1" << QByteArray("optAnb(0)=-1\r\ntxtAnr=0800-123") << "txtAnr" << "0800123" << 440
        << "0800123   ";
    QTest::newRow("limit above 100 on T1") << "frm2" << QByteArray("chk2(1)=1\r\ntxtwert(1)=150")
                                           << "txtwert(1)" << "100" << 450 << "100O";
    QTest::newRow("limit with a sign on T2") << "frm2" << QByteArray("chk2(2)=1\r\ntxtwert(2)=-7")
                                             << "txtwert(2)" << "7" << 454 << "007O";
    QTest::newRow("optocoupler text with an umlaut")
        << "frm3" << QByteArray("chk3(1)=1\r\ntxt3(1)=T\xFCr offen!") << "txt3(1)" << "Tr offen" << 531
        << blanks(8) + "Tr offen";
    QTest::newRow("switch text of prompt characters") << "frm4" << QByteArray("chk4(1)=1\r\ntxtSMS(1)=>@[\\]^_")
                                                      << "txtSMS(1)" << "Relais1" << 490 << "Relais1 ";
    QTest::newRow("switch text with code page bytes")
        << "frm4" << QByteArray("chk4(1)=1\r\ntxtSMS(2)=An\x80\x81\x8D>aus") << "txtSMS(2)" << "Anaus" << 498
        << "Anaus   ";
    QTest::newRow("switch text longer than its field") << "frm4" << QByteArray("chk4(1)=1\r\ntxtSMS(4)=Pumpe=1 ein")
                                                       << "txtSMS(4)" << "Pumpe=1 " << 514 << "Pumpe=1 ";
    QTest::newRow("ADC text longer than its field")
        << "frm5" << QByteArray("chk5=1\r\ntxt5=Tank 1 voll = leer") << "txt5" << "Tank 1 voll = le" << 573
        << "Tank 1 voll = le";
    QTest::newRow("ADC limit above 100")
        << "frm5" << QByteArray("chk5=1\r\ntxtwert=999") << "txtwert" << "50" << 589 << "050O";
    QTest::newRow("ADC limit in words")
        << "frm5" << QByteArray("chk5=1\r\ntxtwert=abc") << "txtwert" << "50" << 589 << "050O";
    QTest::newRow("ADC limit longer than its field")
        << "frm5" << QByteArray("chk5=1\r\ntxtwert=1000") << "txtwert" << "100" << 589 << "100O";
    QTest::newRow("reply text with a prompt")
        << "frm9" << QByteArray("txtZust=OK>@") << "txtZust" << "OK" << 610 << "OK      ";
    QTest::newRow("error text of code page bytes only")
        << "frm9" << QByteArray("chkAntw=1\r\ntxtErr=\x80\x81\x8D") << "txtErr" << "ERROR" << 626 << "ERROR   ";
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

    // Start-up: the working settings file.
    QCOMPARE(field(form, key)->text(), shown);
    const auto recordBytes = [] { return *RecordToModuleBytes(BuildParameterRecord(RegistryControlValues())); };
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
