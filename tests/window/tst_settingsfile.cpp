#include "core/appsetup.h"
#include "core/inifile.h"
#include "support/specialfile.h"
#include "support/testfiles.h"
#include "window/formwindow.h"
#include "window/settingsfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The working settings file as it stands now.
IniDocument workingFile()
{
    return readSettingsFile(IniFileReadPath(), SettingsFileUse::Working).document.value_or(IniDocument());
}

// A page with one control of every kind the settings file knows, plus a label that it must leave alone.
class TestPage : public FormWindow
{
public:
    explicit TestPage(const QString &name)
        : FormWindow(name)
    {
        txtName = add(new QLineEdit(this), u"txtName"_s);
        txtName->setMaxLength(20);
        txtLong = add(new QLineEdit(this), u"txtLong"_s);
        chkOn = add(new QCheckBox(this), u"chkOn"_s);
        chkOn->setTristate(true);
        add(new QLabel(u"label"_s, this), u"lblInfo"_s);
        opt1 = add(new QRadioButton(this), u"opt"_s, 1);
        opt2 = add(new QRadioButton(this), u"opt"_s, 2);
        opt1->setChecked(true);
        cmbList = add(new QComboBox(this), u"cmbList"_s);
        cmbList->addItems({ u"a"_s, u"b"_s, u"c"_s });
        for (int i = 0; i < 3; ++i)
            chksms1[i] = add(new QCheckBox(this), u"chksms1"_s, i);
        connect(chkOn, &QCheckBox::toggled, this, [this] { ++chkOnToggles; });
    }

    QLineEdit *txtName = nullptr;
    QLineEdit *txtLong = nullptr;
    QCheckBox *chkOn = nullptr;
    QRadioButton *opt1 = nullptr;
    QRadioButton *opt2 = nullptr;
    QComboBox *cmbList = nullptr;
    QCheckBox *chksms1[3] = {};
    int chkOnToggles = 0;
};

} // namespace

class tst_SettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveWritesEveryKindAndReplacesTheOldFile();
    void loadRestoresEveryKind();
    void loadAppliesValuesByKind_data();
    void loadAppliesValuesByKind();
    void longTextsAreCut();
    void windowsDoNotShareControls();
    void loadWithoutFileKeepsDesignValues();
    void greyedTwoStateBoxClicksOnlyTickAndUntick();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void interruptedSaveIsFoundByItsCopy_data();
    void interruptedSaveIsFoundByItsCopy();

private:
    QTemporaryDir *m_dir = nullptr;
};

void tst_SettingsFile::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    AppSetup::setUpApplication({ m_dir->path() });
}

void tst_SettingsFile::cleanup()
{
    AppSetup::setUpApplication();
    delete m_dir;
    m_dir = nullptr;
}

void tst_SettingsFile::saveWritesEveryKindAndReplacesTheOldFile()
{
    QCOMPARE(IniFilePath(), m_dir->filePath(u"ZERiruze.ini"_s));
    putFile(IniFilePath(), "[frm1]\r\ntxtLong=old\r\n[frm8]\r\nx=1\r\n");

    TestPage page(u"frm1"_s);
    page.txtName->setText(u"Müller"_s);
    page.chkOn->setCheckState(Qt::PartiallyChecked);
    page.opt2->setChecked(true);
    page.cmbList->setCurrentIndex(2);
    page.chksms1[0]->setChecked(true);
    page.chksms1[2]->setChecked(true);

    QString error;
    QVERIFY2(writeSettingsFile(documentOfWindows({ &page }), &error), qPrintable(error));
    // The empty text box and the label have no key; the old file's keys are gone.
    QCOMPARE(fileBytes(IniFilePath()),
        QByteArray("[frm1]\r\ntxtName=M\xFCller\r\nchkOn=2\r\nopt(1)=0\r\nopt(2)=-1\r\ncmbList=2\r\n"
                   "chksms1(0)=1\r\nchksms1(1)=0\r\nchksms1(2)=1\r\n"));
}

void tst_SettingsFile::loadRestoresEveryKind()
{
    TestPage saved(u"frm1"_s);
    saved.txtName->setText(u"  Müller \"A\" "_s);
    saved.chkOn->setChecked(true);
    saved.opt2->setChecked(true);
    saved.cmbList->setCurrentIndex(1);
    saved.chksms1[1]->setChecked(true);
    QVERIFY(writeSettingsFile(documentOfWindows({ &saved })));

    TestPage restored(u"frm1"_s);
    LoadFormSettings(&restored, workingFile());
    QCOMPARE(restored.txtName->text(), saved.txtName->text());
    QCOMPARE(restored.chkOn->checkState(), Qt::Checked);
    QCOMPARE(restored.chkOnToggles, 1); // the page's own handling ran for the restored value
    QVERIFY(!restored.opt1->isChecked());
    QVERIFY(restored.opt2->isChecked());
    QCOMPARE(restored.cmbList->currentIndex(), 1);
    QVERIFY(!restored.chksms1[0]->isChecked());
    QVERIFY(restored.chksms1[1]->isChecked());
}

void tst_SettingsFile::loadAppliesValuesByKind_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expected"); // controlState after loading; the design value when ignored

    QTest::newRow("check 1.0") << QByteArray("chkOn=1.0") << u"chkOn"_s << -1 << 1;
    QTest::newRow("check ' 2'") << QByteArray("chkOn=\" 2\"") << u"chkOn"_s << -1 << 2;
    QTest::newRow("check not a number") << QByteArray("chkOn=abc") << u"chkOn"_s << -1 << 0;
    QTest::newRow("check out of range") << QByteArray("chkOn=3") << u"chkOn"_s << -1 << 0;
    QTest::newRow("option -1") << QByteArray("opt(2)=-1") << u"opt"_s << 2 << 1;
    QTest::newRow("option any non-zero") << QByteArray("opt(2)=1") << u"opt"_s << 2 << 1;
    QTest::newRow("option 0") << QByteArray("opt(2)=0\r\nopt(1)=0") << u"opt"_s << 2 << 0;
    QTest::newRow("option not a number") << QByteArray("opt(2)=ja") << u"opt"_s << 2 << 0;
    QTest::newRow("list index") << QByteArray("cmbList=2") << u"cmbList"_s << -1 << 2;
    QTest::newRow("list no selection") << QByteArray("cmbList=-1") << u"cmbList"_s << -1 << -1;
    QTest::newRow("list past last entry") << QByteArray("cmbList=3") << u"cmbList"_s << -1 << 0;
    QTest::newRow("list not a number") << QByteArray("cmbList=x") << u"cmbList"_s << -1 << 0;
    QTest::newRow("array member") << QByteArray("chksms1(2)=1") << u"chksms1"_s << 2 << 1;
    QTest::newRow("array key needs index") << QByteArray("chksms1=1") << u"chksms1"_s << 0 << 0;
}

void tst_SettingsFile::loadAppliesValuesByKind()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(int, expected);

    putFile(IniFilePath(), "[frm1]\r\n" + line + "\r\n");
    TestPage page(u"frm1"_s);
    LoadFormSettings(&page, workingFile());
    const ControlRef *ref = page.findRef(control, index);
    QVERIFY(ref);
    QCOMPARE(controlState(*ref), expected);
}

void tst_SettingsFile::longTextsAreCut()
{
    const QByteArray longText(300, 'x');
    putFile(IniFilePath(), "[frm1]\r\ntxtName=" + longText + "\r\ntxtLong=" + longText + "\r\n");

    TestPage page(u"frm1"_s);
    LoadFormSettings(&page, workingFile());
    QCOMPARE(page.txtName->text(), QString(20, u'x')); // the field's maximum length
    QCOMPARE(page.txtLong->text(), QString(255, u'x')); // the longest value the file gives back
}

void tst_SettingsFile::windowsDoNotShareControls()
{
    TestPage first(u"frm1"_s);
    TestPage second(u"frm2"_s);
    first.txtName->setText(u"eins"_s);
    second.txtName->setText(u"zwei"_s);
    second.chkOn->setChecked(true);
    QVERIFY(writeSettingsFile(documentOfWindows({ &first, &second })));

    TestPage first2(u"frm1"_s);
    TestPage second2(u"frm2"_s);
    LoadFormSettings(&first2, workingFile());
    LoadFormSettings(&second2, workingFile());
    QCOMPARE(first2.txtName->text(), u"eins"_s);
    QCOMPARE(second2.txtName->text(), u"zwei"_s);
    QCOMPARE(first2.chkOn->checkState(), Qt::Unchecked);
    QCOMPARE(second2.chkOn->checkState(), Qt::Checked);
}

void tst_SettingsFile::loadWithoutFileKeepsDesignValues()
{
    TestPage page(u"frm1"_s);
    page.txtName->setText(u"design"_s);
    LoadFormSettings(&page, workingFile());
    QCOMPARE(page.txtName->text(), u"design"_s);
    QVERIFY(page.opt1->isChecked());
    QCOMPARE(page.chkOnToggles, 0);
    QVERIFY(!QFile::exists(IniFilePath()));
}

void tst_SettingsFile::greyedTwoStateBoxClicksOnlyTickAndUntick()
{
    putFile(IniFilePath(), "[frm1]\r\nchksms1(1)=2\r\n");
    TestPage page(u"frm1"_s);
    QCheckBox *box = page.chksms1[1];
    LoadFormSettings(&page, workingFile());
    QCOMPARE(box->checkState(), Qt::PartiallyChecked);

    page.show();
    QTest::mouseClick(box, Qt::LeftButton);
    const Qt::CheckState first = box->checkState();
    QTest::mouseClick(box, Qt::LeftButton);
    const Qt::CheckState second = box->checkState();
    QTest::mouseClick(box, Qt::LeftButton);
    // Never greyed again by a click, and every click changes the state.
    QVERIFY(first != Qt::PartiallyChecked && second != Qt::PartiallyChecked);
    QVERIFY(first != second);
    QCOMPARE(box->checkState(), first);
}

void tst_SettingsFile::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("problem");
    QTest::newRow("FIFO") << u"fifo"_s << int(SettingsFileProblem::NotAFile);
    QTest::newRow("terminal") << u"pty"_s << int(SettingsFileProblem::NotAFile);
    QTest::newRow("device") << u"/dev/null"_s << int(SettingsFileProblem::NotAFile);
    QTest::newRow("folder") << u"folder"_s << int(SettingsFileProblem::NotAFile);
    QTest::newRow("link to a file") << u"link"_s << int(SettingsFileProblem::None);
    QTest::newRow("missing") << u"missing"_s << int(SettingsFileProblem::Missing);
}

void tst_SettingsFile::onlyRegularFilesAreRead()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, kind);
    QFETCH(int, problem);
    const QString candidate = m_dir->filePath(u"candidate.ini"_s);
    const bool node = kind == u"fifo"_s || kind == u"pty"_s || kind.startsWith(u'/');
    SpecialFile special(node ? kind : QString(), candidate);
    const QString path = node ? special.path() : candidate;
    QVERIFY(!node || special.isValid());
    if (kind == u"folder"_s) {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"link"_s) {
        putFile(m_dir->filePath(u"real.ini"_s), "[frm1]\r\ntxtName=x\r\n");
        QVERIFY(QFile::link(m_dir->filePath(u"real.ini"_s), path));
    }
    // Both uses: a FIFO with no writer would block an ordinary open, a terminal would be taken over.
    for (const SettingsFileUse use : { SettingsFileUse::Working, SettingsFileUse::Chosen }) {
        const SettingsFileRead read = readSettingsFile(path, use);
        QCOMPARE(int(read.problem), problem);
        QCOMPARE(read.document.has_value(), problem == int(SettingsFileProblem::None));
    }
#else
    QSKIP("FIFOs and terminals are Unix files");
#endif
}

void tst_SettingsFile::interruptedSaveIsFoundByItsCopy_data()
{
    QTest::addColumn<QByteArray>("file"); // "-": no file
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("offered");
    const QByteArray whole = "[frm1]\r\ntxtName=neu\r\ntxtLong=lang\r\n";
    QTest::newRow("no copy") << whole << false << false;
    QTest::newRow("file whole, copy left") << whole << true << false;
    QTest::newRow("cut in the middle") << whole.left(20) << true << true;
    QTest::newRow("new start, old end")
        << QByteArray("[frm1]\r\ntxtName=neu\r\ntxtLong=alt\r\n") << true << true;
    QTest::newRow("empty") << QByteArray() << true << true;
    QTest::newRow("gone") << QByteArray("-") << true << true;
}

void tst_SettingsFile::interruptedSaveIsFoundByItsCopy()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, copy);
    QFETCH(bool, offered);
    IniDocument saving;
    saving.setValue(u"frm1"_s, u"txtName"_s, u"neu"_s);
    saving.setValue(u"frm1"_s, u"txtLong"_s, u"lang"_s);
    const QString copyPath = inPlaceWriteOf(IniFilePath()).copyPath;
    QVERIFY(copyPath.startsWith(StateFolderPath()));
    if (file != "-")
        putFile(IniFilePath(), file);
    if (copy) {
        QVERIFY(QDir().mkpath(StateFolderPath()));
        putFile(copyPath, saving.toBytes());
    }
    const std::optional<InterruptedSave> found = interruptedSave();
    QCOMPARE(found.has_value(), offered);
    if (found) {
        QCOMPARE(found->copyPath, copyPath);
        QVERIFY(sameSettings(found->document, saving));
    }
    // A copy is kept exactly as long as it is the only whole version.
    QCOMPARE(QFile::exists(copyPath), offered);
    QCOMPARE(file == "-" ? QByteArray("-") : fileBytes(IniFilePath()), file);
}

QTEST_MAIN(tst_SettingsFile)
#include "tst_settingsfile.moc"
