// The caption table against the real windows of the program, and the language as the user meets it:
// the start-up, "D/E/F", the help file, the saved choice and the values in place without opening pages.
#include "comm/historytexts.h"
#include "core/appsetup.h"
#include "core/parameterrecord.h"
#include "core/configurationmodel.h"
#include "core/parameterrecord.h"
#include "l10n/captiontable.h"
#include "shell/frmabout.h"
#include "shell/frmstart.h"
#include "shell/windowcatalog.h"
#include "window/formwindow.h"
#include "window/help.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

QWidget *widgetOf(const CaptionEntry &entry)
{
    FormWindow *window = WindowRegistry::instance().window(entry.window.toString());
    return window ? window->control(entry.control.toString(), entry.index) : nullptr;
}

QString shownText(const CaptionEntry &entry, QWidget *widget)
{
    switch (entry.property) {
    case CaptionProperty::ToolTipText:
        return widget->toolTip();
    case CaptionProperty::Text:
        if (auto *line = qobject_cast<QLineEdit *>(widget))
            return line->text();
        if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
            return plain->toPlainText();
        return {};
    case CaptionProperty::Caption:
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            return button->text();
        if (auto *label = qobject_cast<QLabel *>(widget))
            return label->text();
        if (auto *group = qobject_cast<QGroupBox *>(widget))
            return group->title();
        return {};
    case CaptionProperty::HelpFile:
        return helpFile();
    }
    return {};
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyEntryAddressesAControlOfItsWindow();
    void languageButtonCyclesAndRewritesEveryEntry();
    void noSettingsFileStartsInEnglish();
    void unknownOrNonNumericCodeAppliesNothing_data();
    void unknownOrNonNumericCodeAppliesNothing();
    void helpOfEveryLanguageHasItsTopics_data();
    void helpOfEveryLanguageHasItsTopics();
    void codeOutsideTheListSpeaksGermanAtRunTime_data();
    void codeOutsideTheListSpeaksGermanAtRunTime();
    void savedLanguageComesBackAfterRestart();
    void storedValuesAreInPlaceWithoutOpeningPages();

private:
    FrmStart *startProgram()
    {
        return static_cast<FrmStart *>(WindowRegistry::instance().window(QStringLiteral("frmStart")));
    }
    void writeSettings(const QByteArray &bytes)
    {
        QFile file(IniFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void verifyLanguageShown(int code)
    {
        int checked = 0;
        for (const CaptionEntry &entry : captionTable()) {
            if (entry.isHelpFile()) {
                QCOMPARE(helpFile(), entry.text(code));
                continue;
            }
            QWidget *widget = widgetOf(entry);
            QVERIFY(widget);
            QCOMPARE(shownText(entry, widget), entry.text(code));
            ++checked;
        }
        QCOMPARE(checked, 159);
    }

    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TestLanguages::initTestCase()
{
    registerProgramWindows();
    m_oldCwd = QDir::currentPath();
}

void TestLanguages::init()
{
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
    QDir::setCurrent(m_dir.path());
    AppSetup::setUpApplication({ m_dir.path() });
}

void TestLanguages::cleanup()
{
    WindowRegistry::instance().reset();
    QDir::setCurrent(m_oldCwd);
}

void TestLanguages::everyEntryAddressesAControlOfItsWindow()
{
    startProgram();
    for (const CaptionEntry &entry : captionTable()) {
        if (entry.isHelpFile())
            continue;
        const QString where = entry.window.toString() + QLatin1Char('.') + entry.controlKey();
        QWidget *widget = widgetOf(entry);
        QVERIFY2(widget, qPrintable(where + " does not exist"));
        switch (entry.property) {
        case CaptionProperty::Caption:
            QVERIFY2(qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLabel *>(widget)
                         || qobject_cast<QGroupBox *>(widget),
                     qPrintable(where + " has no caption"));
            break;
        case CaptionProperty::Text:
            QVERIFY2(qobject_cast<QLineEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget),
                     qPrintable(where + " has no text"));
            break;
        default:
            break;
        }
    }
}

void TestLanguages::languageButtonCyclesAndRewritesEveryEntry()
{
    writeSettings("[frm1]\r\nlanguage=0\r\n");
    FrmStart *start = startProgram();
    verifyLanguageShown(0);
    const auto language = [] {
        return WindowRegistry::instance().window("frm1")->controlAs<QLineEdit>("language")->text();
    };
    for (int expected : { 1, 2, 0 }) {
        QTest::mouseClick(start->check(16), Qt::LeftButton);
        QCOMPARE(language(), QString::number(expected));
        verifyLanguageShown(expected);
    }
}

void TestLanguages::noSettingsFileStartsInEnglish()
{
    FrmStart *start = startProgram();
    QCOMPARE(start->check(1)->text(), QString("General Settings"));
    QCOMPARE(start->nPaneltit()->text(), QString("GSM-Module  RM425T"));
    QCOMPARE(helpFile(), QString("\\GSM_HELP.CHM"));
    verifyLanguageShown(1);
}

void TestLanguages::unknownOrNonNumericCodeAppliesNothing_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("afterPress");
    QTest::newRow("unknown number") << QByteArray("7") << QString("0");
    QTest::newRow("not a number") << QByteArray("deutsch") << QString("1");
}

void TestLanguages::unknownOrNonNumericCodeAppliesNothing()
{
    QFETCH(QByteArray, code);
    QFETCH(QString, afterPress);
    writeSettings("[frm1]\r\nlanguage=" + code + "\r\n");
    FrmStart *start = startProgram();
    // The design texts stay: the German ones.
    QCOMPARE(start->check(1)->text(), QString("Allgemeine Einstellungen"));
    QCOMPARE(start->check(11)->toolTip(), QString("  Beenden ohne zu speichern !  "));
    QTest::mouseClick(start->check(16), Qt::LeftButton);
    QCOMPARE(WindowRegistry::instance().window("frm1")->controlAs<QLineEdit>("language")->text(), afterPress);
    verifyLanguageShown(afterPress.toInt());
}

void TestLanguages::helpOfEveryLanguageHasItsTopics_data()
{
    QTest::addColumn<int>("code");
    for (const Language &language : kLanguages)
        QTest::newRow(language.name.toLatin1().constData()) << language.code;
}

void TestLanguages::helpOfEveryLanguageHasItsTopics()
{
    QFETCH(int, code);
    const Language &language = kLanguages[std::size_t(code)];
    writeSettings("[frm1]\r\nlanguage=" + QByteArray::number(code) + "\r\n");
    startProgram();
    QCOMPARE(helpFile(), language.helpFile.toString());
    QCOMPARE(helpTopicSet(), language.helpSet.toString());
    // The topics the windows open with F1 and the help button.
    const QList<int> topics = helpTopics(helpTopicSet());
    for (int topic : { 555, 1030, 1080 })
        QVERIFY2(topics.contains(topic), qPrintable(QString::number(topic)));
}

void TestLanguages::codeOutsideTheListSpeaksGermanAtRunTime_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::newRow("unknown number") << QByteArray("7");
    QTest::newRow("not a number") << QByteArray("deutsch");
}

void TestLanguages::codeOutsideTheListSpeaksGermanAtRunTime()
{
    // The captions keep their German design texts; what is written at run time matches them instead of
    // mixing in another language.
    QFETCH(QByteArray, code);
    writeSettings("[frm1]\r\nlanguage=" + code + "\r\n");
    startProgram();
    WindowRegistry &windows = WindowRegistry::instance();
    QCOMPARE(windows.window("frm2")->windowTitle(), QString::fromUtf8("GSM - 2 Eingänge T1/T2"));
    QCOMPARE(windows.window("frm8")->windowTitle(), QString("GSM - Kommunikation"));
    auto *about = static_cast<FrmAbout *>(windows.window("frmAbout"));
    QVERIFY2(about->filesText().startsWith("Einstellungen: "), qPrintable(about->filesText()));
    QCOMPARE(HistoryText::levelSummary(-90, -72.5, -60, 3),
        QString::fromUtf8("min -90  Ø -72,5  max -60 dBm  (3 Werte)"));
}

void TestLanguages::savedLanguageComesBackAfterRestart()
{
    FrmStart *start = startProgram();
    start->setQuitHandler([] { });
    QTest::mouseClick(start->check(16), Qt::LeftButton); // English -> French
    QTest::mouseClick(start->check(14), Qt::LeftButton); // "Mémoriser"
    WindowRegistry::instance().reset();

    start = startProgram();
    QCOMPARE(start->check(14)->text(), QString::fromUtf8("Mémoriser"));
    QCOMPARE(helpFile(), QString("\\GSM_HILFE.CHM")); // French uses the German help
    verifyLanguageShown(2);
}

void TestLanguages::storedValuesAreInPlaceWithoutOpeningPages()
{
    writeSettings("[frm1]\r\ntxtsim=4321\r\nlanguage=0\r\n"
                  "[frm2]\r\nchk2(1)=1\r\ntxtwert(1)=75\r\n"
                  "[frm9]\r\ntxtZust=Jawohl\r\n");
    startProgram();
    // No page is built, yet the configuration holds every stored value, so the record does.
    for (const char *name : { "frm1", "frm2", "frm3", "frm4", "frm5", "frm6", "frm7", "frm8", "frm9" })
        QVERIFY2(!WindowRegistry::instance().exists(name), name);
    const QString record = BuildParameterRecord(ConfigurationModel::program().configuration());
    QCOMPARE(record.size(), 640);
    QCOMPARE(record.mid(0, 4), QString("4321"));
    QCOMPARE(record.mid(450, 4), QString("075O"));
    QCOMPARE(record.mid(610, 8), QString("Jawohl  "));
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
