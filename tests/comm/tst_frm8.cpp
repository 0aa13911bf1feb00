// The communication page driven like a user would, against the module simulator on a pseudo-terminal, with
// short time limits. Texts are checked as the page must show them, in more than one language.

#include "core/appsetup.h"
#include "core/cp1252.h"
#include "comm/frm8.h"
#include "core/parameterrecord.h"
#include "comm/registrycontrolvalues.h"
#include "comm/seriallink.h"
#include "window/colors.h"
#include "window/help.h"
#include "window/helpwindow.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"
#include "support/fasttimeouts.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

QStringList simArguments(const QStringList &extra = {})
{
    return QStringList { QStringLiteral("--announce-ms"), QStringLiteral("30"),
        QStringLiteral("--abandon-ms"), QStringLiteral("0"), QStringLiteral("--quiet-log") }
    + extra;
}

const QString kGerman = QStringLiteral("0");
const QString kEnglish = QStringLiteral("1");
const QString kFrench = QStringLiteral("2");

const QString kNoAnswerDe = QStringLiteral("FEHLER:\r\nKeine Antwort vom Modul erhalten !\r\n");
const QString kNoAnswerEn = QStringLiteral("ERROR:\r\nNo response from module !\r\n");
const QString kIncompleteDe
    = QStringLiteral("FEHLER:\r\nDie Daten wurden nicht vollständig übertragen !\r\n\r\n"
                     "GSM- Modul ausschalten und Daten neu senden !\r\n");
const QString kIncompleteEn
    = QStringLiteral("ERROR:\r\nData not sent complete !\r\n\r\nSwitch module off and send data again !\r\n");

// The user turns to another window of the program.
void leaveForFrm1()
{
    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    frm1->show();
    frm1->activateWindow();
}

// The window colour of a label, as a Windows colour value.
unsigned barColour(QLabel *bar)
{
    const QRgb rgb = bar->palette().color(QPalette::Window).rgb();
    return unsigned(qRed(rgb)) | unsigned(qGreen(rgb)) << 8 | unsigned(qBlue(rgb)) << 16;
}

} // namespace

class tst_Frm8 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void uploadSendsTheRecordOfThePages_data();
    void uploadSendsTheRecordOfThePages();
    void uploadFailuresEndWithTheirText_data();
    void uploadFailuresEndWithTheirText();
    void recordOfWrongLengthIsNotSent();
    void noPortListedShowsNoPortThenNoAnswer();
    void vanishedPortIsReportedAtOnce_data();
    void vanishedPortIsReportedAtOnce();
    void lostPortEndsTheFunction_data();
    void lostPortEndsTheFunction();
    void portChangeEndsTheTransfer();
    void activationResetsThePage();
    void leavingThePageMidTransferShowsTheBox();
    void helpWindowDoesNotStopTheUpload();
    void interruptedUploadBoxStaysForItsHelp();
    void leavingWhileSearchingShowsNoFailure_data();
    void leavingWhileSearchingShowsNoFailure();
    void statusMessagesAreShownLoggedAndLevelled();
    void statusLogThatCannotBeWrittenIsSaidOnce_data();
    void statusLogThatCannotBeWrittenIsSaidOnce();
    void statusWithoutModuleIsNoAnswer();
    void statusEndsWhenAnotherFunctionStarts();
    void smsWithoutTextOrNumberSendsNothing_data();
    void smsWithoutTextOrNumberSendsNothing();
    void smsSentThenMonitoring();
    void smsRefusedByModule();
    void sendCaptionCountsCharactersLeft_data();
    void sendCaptionCountsCharactersLeft();
    void smsTextHoldsAtMost160Characters_data();
    void smsTextHoldsAtMost160Characters();
    void f1TopicFollowsTheFunction();

private:
    // The program's windows, whose communication page records its boxes in m_boxes.
    ProgramWindowOptions programOptions();
    // The page as the program creates it, listing the given ports (or the system's, when none are given).
    Frm8 *openPage(const std::optional<QStringList> &ports, const LinkTimeouts &timeouts = fastTimeouts());
    Frm8 *showActive(Frm8 *page);
    void setLanguage(const QString &code);
    template<class T> T *control(const QString &name, int index = -1)
    {
        return m_page->controlAs<T>(name, index);
    }
    QAbstractButton *button(const QString &name) { return control<QAbstractButton>(name); }
    TwoStateButton *functionButton(const QString &name) { return control<TwoStateButton>(name); }
    void verifyIdleButtons();
    bool startSim(SimProcess &sim, const QStringList &extra = {});

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_cwd;
    QString m_oldCwd;
    std::unique_ptr<SimProcess> m_sim;
    Frm8 *m_page = nullptr;
    QList<QStringList> m_boxes; // title, text of each interrupted-upload box
    bool m_realBoxes = false; // the page opened next shows its boxes itself
};

void tst_Frm8::initTestCase()
{
    QVERIFY(m_settings.isValid());
    AppSetup::setUpApplication({ m_settings.path() });
    registerProgramWindows(programOptions());
}

void tst_Frm8::cleanupTestCase()
{
    AppSetup::setUpApplication();
}

void tst_Frm8::init()
{
    m_boxes.clear();
    m_realBoxes = false;
    m_cwd = std::make_unique<QTemporaryDir>();
    QVERIFY(m_cwd->isValid());
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_cwd->path());
    m_sim = std::make_unique<SimProcess>();
}

void tst_Frm8::cleanup()
{
    closeAllHelp();
    WindowRegistry::instance().reset();
    registerProgramWindows(programOptions());
    m_page = nullptr;
    m_sim.reset();
    QDir::setCurrent(m_oldCwd);
    m_cwd.reset();
}

ProgramWindowOptions tst_Frm8::programOptions()
{
    ProgramWindowOptions options;
    options.dialogs.showMessage = [this](QWidget *, const QString &title, const QString &text) {
        m_boxes.append({ title, text });
    };
    return options;
}

Frm8 *tst_Frm8::openPage(const std::optional<QStringList> &ports, const LinkTimeouts &timeouts)
{
    Frm8Options options;
    options.timeouts = timeouts;
    if (!m_realBoxes)
        options.dialogs = programOptions().dialogs;
    if (ports) {
        options.discoverPorts = [names = *ports] {
            QList<PortEntry> entries;
            for (const QString &name : names)
                entries << PortCatalog::entryFor(name);
            return entries;
        };
    }
    WindowRegistry::instance().registerFactory(
        QStringLiteral("frm8"), [options] { return new Frm8(nullptr, options); });
    m_page = WindowRegistry::instance().get<Frm8>(QStringLiteral("frm8"));
    return m_page;
}

Frm8 *tst_Frm8::showActive(Frm8 *page)
{
    page->show();
    page->activateWindow();
    if (!QTest::qWaitForWindowActive(page))
        return nullptr;
    return page;
}

void tst_Frm8::setLanguage(const QString &code)
{
    WindowRegistry::instance()
        .window(QStringLiteral("frm1"))
        ->controlAs<QLineEdit>("language")
        ->setText(code);
}

bool tst_Frm8::startSim(SimProcess &sim, const QStringList &extra)
{
    return sim.start(simArguments(extra));
}

void tst_Frm8::verifyIdleButtons()
{
    for (const QString &name : { QStringLiteral("cmd"), QStringLiteral("cmd2"), QStringLiteral("cmd3") }) {
        TwoStateButton *b = functionButton(name);
        QVERIFY2(b->isEnabled(), qPrintable(name));
        QVERIFY2(!b->isBold(), qPrintable(name));
        QCOMPARE(b->background(), fromBgr(0xFF8080));
    }
    QVERIFY(!m_page->link()->isOpen());
}

void tst_Frm8::uploadSendsTheRecordOfThePages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("transferring");
    QTest::addColumn<QString>("done");

    QTest::newRow("German") << kGerman << QStringLiteral("Die Daten werden zum Modul übertragen.\r\n\r\n")
                            << QStringLiteral(
                                   "Alle Daten wurden übermittelt ! Das Modul macht jetzt einen "
                                   "Neustart.\r\n\r\nUnter STATUS können Sie die Meldungen überwachen.");
    QTest::newRow("French") << kFrench << QStringLiteral("Données transmises au module.\r\n\r\n")
                            << QStringLiteral(
                                   "Toutes les données ont été transmises ! Le module va redémarrer."
                                   "\r\n\r\nVous pouvez vérifier les messages sous ETAT.");
}

void tst_Frm8::uploadSendsTheRecordOfThePages()
{
    QFETCH(QString, language);
    QFETCH(QString, transferring);
    QFETCH(QString, done);

    QVERIFY(startSim(*m_sim));
    // Found the way the program finds it: through the list of extra ports, before the page loads.
    const QByteArray saved = qgetenv(PortCatalog::kExtraPortsVariable);
    qputenv(PortCatalog::kExtraPortsVariable, m_sim->devicePath().toLocal8Bit());
    openPage(std::nullopt);
    qputenv(PortCatalog::kExtraPortsVariable, saved);
    auto *ports = control<QComboBox>(QStringLiteral("cmbCOM"));
    const int item = ports->findText(m_sim->devicePath());
    QVERIFY(item >= 0);
    ports->setCurrentIndex(item);

    setLanguage(language);
    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    if (auto *name = frm1->controlAs<QLineEdit>(QStringLiteral("txtbez")))
        name->setText(QStringLiteral("Pumpe 3"));
    const QString record = BuildParameterRecord(RegistryControlValues());
    QCOMPARE(record.size(), kParameterRecordLength);

    button(QStringLiteral("cmd"))->click();
    QVERIFY(m_page->uploadRunning());
    QCOMPARE(m_page->helpTopic(), 1050);
    QVERIFY(functionButton(QStringLiteral("cmd"))->isBold());
    QCOMPARE(functionButton(QStringLiteral("cmd"))->background(), fromBgr(0xFFFFFF));
    for (const QString &name : { QStringLiteral("cmd"), QStringLiteral("cmd2"), QStringLiteral("cmd3") })
        QVERIFY(!button(name)->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QCOMPARE(m_page->meldText(), transferring + done);
    verifyIdleButtons();
    QVERIFY(m_sim->waitForRecorded(1 + kParameterRecordLength));
    QCOMPARE(m_sim->recordedBytes(), "D" + toCp1252(record));
    if (frm1->controlAs<QLineEdit>(QStringLiteral("txtbez")))
        QCOMPARE(m_sim->recordedBytes().mid(1 + 4, 16), QByteArray("         Pumpe 3"));
}

void tst_Frm8::uploadFailuresEndWithTheirText_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("scenario");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("blocksReceived");

    QTest::newRow("wrong version, German") << kGerman << QStringList { "--scenario", "wrong-version" }
                                           << QStringLiteral("FEHLER:\r\nFalsche Version !\r\n") << 0;
    QTest::newRow("wrong version, English") << kEnglish << QStringList { "--scenario", "wrong-version" }
                                            << QStringLiteral("ERROR:\r\nWrong version !\r\n") << 0;
    QTest::newRow("wrong acknowledgement at block 3, German")
        << kGerman << QStringList { "--scenario", "wrong-ack", "--block", "3" } << kIncompleteDe << 3;
    QTest::newRow("wrong acknowledgement at block 3, French")
        << kFrench << QStringList { "--scenario", "wrong-ack", "--block", "3" }
        << QStringLiteral("ERREUR:\r\nToutes les données n’ont pas été transmises !\r\n\r\n"
                          "éteindre le module GSM et envoyer à nouveau !\r\n")
        << 3;
    QTest::newRow("silent module, English")
        << kEnglish << QStringList { "--scenario", "silent" } << kNoAnswerEn << -1;
}

void tst_Frm8::uploadFailuresEndWithTheirText()
{
    QFETCH(QString, language);
    QFETCH(QStringList, scenario);
    QFETCH(QString, text);
    QFETCH(int, blocksReceived);

    QVERIFY(startSim(*m_sim, scenario));
    LinkTimeouts timeouts = fastTimeouts();
    if (scenario.contains(QStringLiteral("silent")))
        timeouts.uploadSearch = 300ms;
    openPage(QStringList { m_sim->devicePath() }, timeouts);
    setLanguage(language);
    const QByteArray record = *RecordToModuleBytes(BuildParameterRecord(RegistryControlValues()));

    button(QStringLiteral("cmd"))->click();
    QVERIFY(m_page->link()->isOpen());
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QCOMPARE(m_page->meldText(), text);
    verifyIdleButtons();
    if (blocksReceived < 0) {
        QVERIFY(m_sim->recordedBytes().isEmpty());
    } else {
        const QByteArray expected = "D" + record.left(blocksReceived * 64);
        QVERIFY(m_sim->waitForRecorded(expected.size()));
        QCOMPARE(m_sim->recordedBytes(), expected);
    }
}

void tst_Frm8::recordOfWrongLengthIsNotSent()
{
    QVERIFY(startSim(*m_sim));
    Frm8Options options;
    options.timeouts = fastTimeouts();
    options.discoverPorts
        = [device = m_sim->devicePath()] { return QList<PortEntry> { PortCatalog::entryFor(device) }; };
    options.buildRecord = [] { return QString(kParameterRecordLength + 3, QLatin1Char('x')); };
    WindowRegistry::instance().registerFactory(
        QStringLiteral("frm8"), [options] { return new Frm8(nullptr, options); });
    m_page = WindowRegistry::instance().get<Frm8>(QStringLiteral("frm8"));
    setLanguage(kEnglish);

    button(QStringLiteral("cmd"))->click();
    QVERIFY(!m_page->uploadRunning());
    QVERIFY(m_page->meldText().startsWith(QStringLiteral("ERROR:\r\n")));
    QVERIFY(m_page->meldText().contains(QStringLiteral("643")));
    verifyIdleButtons();
    QTest::qWait(100);
    QVERIFY(m_sim->recordedBytes().isEmpty());
}

void tst_Frm8::noPortListedShowsNoPortThenNoAnswer()
{
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.uploadSearch = 300ms;
    openPage(QStringList {}, timeouts);
    setLanguage(kGerman);
    QCOMPARE(control<QComboBox>(QStringLiteral("cmbCOM"))->count(), 0);

    button(QStringLiteral("cmd"))->click();
    QCOMPARE(m_page->meldText(), QStringLiteral("FEHLER:\r\nKein COM- Port verfügbar !\r\n"));
    QTest::qWait(150); // the busy indicator turns meanwhile, but leaves this text alone
    QCOMPARE(m_page->meldText(), QStringLiteral("FEHLER:\r\nKein COM- Port verfügbar !\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QCOMPARE(m_page->meldText(), kNoAnswerDe);
    verifyIdleButtons();
}

void tst_Frm8::vanishedPortIsReportedAtOnce_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("format");

    const QString de = QStringLiteral("FEHLER:\r\nCOM- Port %1 nicht verfügbar !\r\n");
    const QString en = QStringLiteral("ERROR:\r\nCOM- Port %1 not available !\r\n");
    QTest::newRow("upload, German") << kGerman << QStringLiteral("cmd") << de;
    QTest::newRow("upload, English") << kEnglish << QStringLiteral("cmd") << en;
    QTest::newRow("status, German") << kGerman << QStringLiteral("cmd2") << de;
    QTest::newRow("SMS, English") << kEnglish << QStringLiteral("cmdS") << en;
}

void tst_Frm8::vanishedPortIsReportedAtOnce()
{
    QFETCH(QString, language);
    QFETCH(QString, function);
    QFETCH(QString, format);

    // Through a link of our own, which goes with the simulator: the pseudo-terminal's number may be handed
    // to another test's simulator at once, and opening that one would disturb it.
    const QString device = m_cwd->filePath(QStringLiteral("module"));
    QVERIFY(startSim(*m_sim, { "--link", device }));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.uploadSearch = 30s;
    timeouts.search = 30s;
    openPage(QStringList { device }, timeouts);
    setLanguage(language);
    m_sim->stop();
    QVERIFY(!QFile::exists(device));

    if (function == QLatin1String("cmdS")) {
        button(QStringLiteral("cmd3"))->click();
        control<QPlainTextEdit>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Hallo"));
        control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("0170"));
    }
    button(function)->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), format.arg(device), 3000); // far below the 30 s limit
    QTest::qWait(50);
    QCOMPARE(m_page->meldText(), format.arg(device));
    QVERIFY(!m_page->uploadRunning());
    QVERIFY(!m_page->statusRunning());
    QVERIFY(!m_page->smsServiceActive());
    verifyIdleButtons();
}

void tst_Frm8::lostPortEndsTheFunction_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("scenario");
    QTest::addColumn<QString>("format");

    QTest::newRow("upload at block 4, German")
        << kGerman << QStringLiteral("cmd") << QStringList { "--scenario", "hangup", "--block", "4" }
        << QStringLiteral("FEHLER:\r\nCOM- Port %1 nicht verfügbar !\r\n"
                          "Die Daten wurden nicht vollständig übertragen !\r\n\r\n"
                          "GSM- Modul ausschalten und Daten neu senden !\r\n");
    QTest::newRow("status monitoring, English")
        << kEnglish << QStringLiteral("cmd2") << QStringList { "--scenario", "silent" }
        << QStringLiteral("ERROR:\r\nCOM- Port %1 not available !\r\n");
}

void tst_Frm8::lostPortEndsTheFunction()
{
    QFETCH(QString, language);
    QFETCH(QString, function);
    QFETCH(QStringList, scenario);
    QFETCH(QString, format);

    QVERIFY(startSim(*m_sim, scenario));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.reply = 10s; // only the lost port may end it
    timeouts.portReturn = 300ms; // monitoring waits this long for the port to come back; it does not
    openPage(QStringList { m_sim->devicePath() }, timeouts);
    setLanguage(language);

    button(function)->click();
    if (function == QLatin1String("cmd2")) {
        m_sim->say("PEGEL Netz: 17");
        QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), QStringLiteral("PEGEL Netz: 17"), 10000);
        QCOMPARE(barColour(control<QLabel>(QStringLiteral("lbl"), 5)), 0x008000u);
        m_sim->command("hangup");
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), format.arg(m_sim->devicePath()), 10000);
    QVERIFY(!m_page->uploadRunning());
    QTRY_VERIFY(!m_page->statusRunning());
    QCOMPARE(m_page->meldText(), format.arg(m_sim->devicePath()));
    verifyIdleButtons();
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(barColour(control<QLabel>(QStringLiteral("lbl"), i)), 0xC0C0C0u);
}

void tst_Frm8::portChangeEndsTheTransfer()
{
    SimProcess other;
    QVERIFY(startSim(*m_sim, { "--scenario", "no-answer", "--block", "2" }));
    QVERIFY(startSim(other));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.reply = 10s; // only the change of port may end it
    openPage(QStringList { m_sim->devicePath(), other.devicePath() }, timeouts);
    setLanguage(kGerman);
    auto *ports = control<QComboBox>(QStringLiteral("cmbCOM"));
    QCOMPARE(ports->currentIndex(), 0);

    button(QStringLiteral("cmd"))->click();
    QVERIFY2(m_sim->waitForRecorded(1 + 2 * 64, 10s), qPrintable(m_page->meldText()));
    QVERIFY(m_page->uploadRunning());
    // Choosing the port in use again changes nothing.
    QSignalSpy closed(m_page->link(), &SerialLink::closed);
    m_page->cmbCOM_Click();
    QTest::qWait(50);
    QVERIFY(m_page->uploadRunning());
    QVERIFY(closed.isEmpty());

    ports->setCurrentIndex(1);
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QCOMPARE(m_page->meldText(), kIncompleteDe);
    verifyIdleButtons();
    QCOMPARE(m_sim->recordedBytes().size(), 1 + 2 * 64);
    QVERIFY(other.recordedBytes().isEmpty());
}

void tst_Frm8::activationResetsThePage()
{
    openPage(QStringList {});
    QVERIFY(showActive(m_page));
    QCOMPARE(WindowRegistry::instance().currentPage(), 8);
    button(QStringLiteral("cmd3"))->click();
    QVERIFY(!control<QWidget>(QStringLiteral("Text1"))->isHidden());
    QVERIFY(functionButton(QStringLiteral("cmd3"))->isBold());

    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    frm1->show();
    frm1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frm1));
    WindowRegistry::instance().setCurrentPage(1);
    QVERIFY(m_page->meldText().isEmpty());

    m_page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page));
    QCOMPARE(WindowRegistry::instance().currentPage(), 8);
    for (const char *field : { "Text1", "Text2", "Text3", "Text4", "cmdS" })
        QVERIFY(control<QWidget>(QString::fromLatin1(field))->isHidden());
    verifyIdleButtons();
    QCOMPARE(m_page->helpTopic(), 1060);
    QVERIFY(m_boxes.isEmpty());
}

void tst_Frm8::leavingThePageMidTransferShowsTheBox()
{
    // Announcements at any moment, as a busy machine makes them cross the "D": the upload still gets going.
    QVERIFY(startSim(*m_sim, { "--scenario", "no-answer", "--block", "2", "--chatty", "--seed", "7" }));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.reply = 10s;
    openPage(QStringList { m_sim->devicePath() }, timeouts);
    setLanguage(kGerman);
    QVERIFY(showActive(m_page));

    button(QStringLiteral("cmd"))->click();
    QVERIFY2(m_sim->waitForRecorded(1 + 2 * 64, 10s), qPrintable(m_page->meldText()));

    // Another window of the program becomes active.
    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    frm1->show();
    frm1->activateWindow();
    QTRY_COMPARE_WITH_TIMEOUT(m_boxes.size(), 1, 10000);
    QCOMPARE(m_boxes.first().at(0), QStringLiteral("Kommunikation"));
    QCOMPARE(m_boxes.first().at(1),
        QStringLiteral("FEHLER:\r\nDaten wurden nicht vollständig übertragen !\r\n"
                       "GSM- Modul ausschalten und Daten neu senden !"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QCOMPARE(m_page->meldText(), kIncompleteDe);
    verifyIdleButtons();
    QCOMPARE(m_boxes.size(), 1);
}

void tst_Frm8::helpWindowDoesNotStopTheUpload()
{
    // Announcements at any moment, as a busy machine makes them cross the "D": the upload still gets going.
    QVERIFY(startSim(*m_sim, { "--scenario", "no-answer", "--block", "2", "--chatty", "--seed", "7" }));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.reply = 10s;
    openPage(QStringList { m_sim->devicePath() }, timeouts);
    setLanguage(kEnglish);
    QVERIFY(showActive(m_page));

    button(QStringLiteral("cmd"))->click();
    QVERIFY2(m_sim->waitForRecorded(1 + 2 * 64, 10s), qPrintable(m_page->meldText()));
    QTest::keyClick(m_page, Qt::Key_F1);
    QTRY_VERIFY(currentHelpWindow() && currentHelpWindow()->isActiveWindow());
    QCOMPARE(currentHelpWindow()->shownTopic(), 1050);
    QTest::qWait(50);
    QVERIFY(m_page->uploadRunning());
    QVERIFY(m_boxes.isEmpty());

    // Back on the page, the upload still runs with its buttons disabled.
    m_page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page));
    QVERIFY(m_page->uploadRunning());
    QVERIFY(!button(QStringLiteral("cmd2"))->isEnabled());

    m_page->close();
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QVERIFY(m_boxes.isEmpty()); // closing the page shows no box
    QCOMPARE(m_page->meldText(), kIncompleteEn);
}

void tst_Frm8::interruptedUploadBoxStaysForItsHelp()
{
    QVERIFY(startSim(*m_sim, { "--scenario", "no-answer", "--block", "2" }));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.reply = 10s;
    m_realBoxes = true; // the box itself this time
    openPage(QStringList { m_sim->devicePath() }, timeouts);
    QVERIFY(showActive(m_page));
    button(QStringLiteral("cmd"))->click();
    QVERIFY(m_sim->waitForRecorded(1 + 2 * 64, 10s));
    leaveForFrm1();
    QPointer<QMessageBox> box;
    QTRY_VERIFY_WITH_TIMEOUT((box = m_page->findChild<QMessageBox *>()) && box->isVisible(), 10000);
    box->button(QMessageBox::Help)->click();
    QTRY_COMPARE(currentHelpWindow() ? currentHelpWindow()->shownTopic() : 0, 1095);
    QVERIFY(box && box->isVisible());
    box->button(QMessageBox::Ok)->click();
    QTRY_VERIFY(!box);
}

void tst_Frm8::leavingWhileSearchingShowsNoFailure_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("sms"); // else "Status"
    QTest::addColumn<bool>("close"); // else another window of the program is activated
    QTest::newRow("Status, German") << kGerman << false << false;
    QTest::newRow("SMS, closed, French") << kFrench << true << true;
}

void tst_Frm8::leavingWhileSearchingShowsNoFailure()
{
    QFETCH(QString, language);
    QFETCH(bool, sms);
    QFETCH(bool, close);
    QVERIFY(startSim(*m_sim, { "--scenario", "silent" }));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(language);
    QVERIFY(showActive(m_page));
    if (sms) {
        button(QStringLiteral("cmd3"))->click();
        control<QPlainTextEdit>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Hallo"));
        control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("0170"));
        button(QStringLiteral("cmdS"))->click();
    } else {
        button(QStringLiteral("cmd2"))->click();
    }
    QVERIFY(m_page->link()->isOpen());
    if (close)
        m_page->close();
    else
        leaveForFrm1();
    QTRY_VERIFY(!m_page->link()->isOpen());
    QTest::qWait(300); // the run reports its end from the event loop
    QCOMPARE(m_page->meldText(), QString());
}

void tst_Frm8::statusMessagesAreShownLoggedAndLevelled()
{
    QVERIFY(startSim(*m_sim, { "--scenario", "silent" }));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(kFrench);
    QVERIFY(showActive(m_page));

    button(QStringLiteral("cmd2"))->click();
    QCOMPARE(m_page->meldText(), QStringLiteral("éTAT\r\nRecherche du module...-"));
    QVERIFY(functionButton(QStringLiteral("cmd2"))->isBold());
    QVERIFY(button(QStringLiteral("cmd"))->isEnabled());
    QVERIFY(m_page->statusRunning());

    const auto bars = [this] {
        QList<unsigned> colours;
        for (int i = 1; i <= 5; ++i)
            colours << barColour(control<QLabel>(QStringLiteral("lbl"), i));
        return colours;
    };
    constexpr unsigned G = 0x008000, R = 0x0000FF, O = 0xC0C0C0;

    struct Step
    {
        QByteArray sent;
        QString shown;
        QList<unsigned> bars;
    };
    const QList<Step> steps = {
        { "AB", "AB", { O, O, O, O, O } },
        { "AB", "AB*", { O, O, O, O, O } },
        { "X\r\nY", "X\r\n\r\nY", { O, O, O, O, O } },
        { "PEGEL Netz: 17", "PEGEL Netz: 17*", { G, G, G, G, G } },
        { "PEGEL Netz: 07", "PEGEL Netz: 07", { G, G, G, O, O } },
        { "PEGEL Netz: ab", "PEGEL Netz: ab*", { G, G, G, O, O } },
        { "PEGEL Netz: 99", "PEGEL Netz: 99", { R, R, R, R, R } },
        { "PEGEL Netz: 00", "PEGEL Netz: 00*", { R, O, O, O, O } },
    };
    QByteArray log;
    for (const Step &step : steps) {
        m_sim->say(step.sent);
        QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), step.shown, 10000);
        QCOMPARE(bars(), step.bars);
        log += toCp1252(step.shown) + "\r\n";
    }
    QFile file(QStringLiteral("GSM.DAT"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), log);
    file.close();

    // Leaving the page ends monitoring.
    m_page->formDeactivate();
    QVERIFY(!m_page->statusRunning());
    QVERIFY(m_page->meldText().isEmpty());
    QCOMPARE(bars(), QList<unsigned>({ O, O, O, O, O }));
    verifyIdleButtons();
    m_sim->say("late");
    QTest::qWait(200);
    QVERIFY(m_page->meldText().isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), log);
}

void tst_Frm8::statusLogThatCannotBeWrittenIsSaidOnce_data()
{
    QTest::addColumn<bool>("fifo"); // else a folder where the log should be
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("note");
    QTest::newRow("folder") << false << kEnglish
                            << QStringLiteral("Note: GSM.DAT is a folder and is not written !");
    // Opening a named pipe for writing would wait for a reader: it is refused instead.
    QTest::newRow("named pipe")
        << true << kGerman
        << QStringLiteral("Hinweis: GSM.DAT ist eine benannte Pipe und wird nicht beschrieben !");
    QTest::newRow("named pipe, French")
        << true << QStringLiteral("2")
        << QStringLiteral("Remarque: GSM.DAT est un tube nommé et n'est pas écrit !");
}

void tst_Frm8::statusLogThatCannotBeWrittenIsSaidOnce()
{
    QFETCH(bool, fifo);
    QFETCH(QString, language);
    QFETCH(QString, note);
    if (fifo)
        QCOMPARE(::mkfifo("GSM.DAT", 0600), 0);
    else
        QVERIFY(QDir().mkdir(QStringLiteral("GSM.DAT")));
    QVERIFY(startSim(*m_sim, { "--scenario", "silent" }));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(language);

    button(QStringLiteral("cmd2"))->click();
    m_sim->say("AB");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), QStringLiteral("AB\r\n") + note, 10000);
    m_sim->say("CD");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), QStringLiteral("CD*\r\n") + note, 10000);
    QVERIFY(m_page->statusRunning());
}

void tst_Frm8::statusWithoutModuleIsNoAnswer()
{
    QVERIFY(startSim(*m_sim, { "--scenario", "silent" }));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.search = 400ms;
    openPage(QStringList { m_sim->devicePath() }, timeouts);
    setLanguage(kGerman);

    QString turns;
    connect(control<QPlainTextEdit>(QStringLiteral("txtMeld")), &QPlainTextEdit::textChanged, this, [&] {
        if (m_page->meldText().startsWith(QStringLiteral("STATUS\r\nModul wird gesucht...")))
            turns += m_page->meldText().back();
    });

    button(QStringLiteral("cmd2"))->click();
    QVERIFY(m_page->link()->isOpen());
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->statusRunning(), 10000);
    QCOMPARE(m_page->meldText(), kNoAnswerDe);
    // The busy indicator turned the last character of the search text meanwhile.
    QVERIFY2(turns.contains(QStringLiteral("-\\|/")), qPrintable(turns));
    verifyIdleButtons();
    QVERIFY(!QFile::exists(QStringLiteral("GSM.DAT")));
}

void tst_Frm8::statusEndsWhenAnotherFunctionStarts()
{
    QVERIFY(startSim(*m_sim, { "--announce-ms", "200" }));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(kEnglish);

    // "SMS-Dienst" ends monitoring and leaves the port open.
    button(QStringLiteral("cmd2"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), QStringLiteral("*"), 10000);
    button(QStringLiteral("cmd3"))->click();
    QVERIFY(!m_page->statusRunning());
    QCOMPARE(m_page->meldText(), QStringLiteral(" "));
    QVERIFY(m_page->link()->isOpen());
    QTest::qWait(300);
    QCOMPARE(m_page->meldText(), QStringLiteral(" "));
    // Nobody listens meanwhile, so what the module sends is not piled up.
    QSignalSpy heard(m_page->link(), &SerialLink::readyRead);
    m_sim->say("for nobody");
    QTRY_VERIFY_WITH_TIMEOUT(!heard.isEmpty(), 10000);
    QCOMPARE(m_page->link()->bytesAvailable(), 0);

    // The upload takes over the open port from monitoring and closes it at its end.
    button(QStringLiteral("cmd2"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_page->meldText().startsWith(QLatin1Char('*')), 10000);
    button(QStringLiteral("cmd"))->click();
    QVERIFY(!m_page->statusRunning());
    QVERIFY(!functionButton(QStringLiteral("cmd2"))->isBold());
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QVERIFY(m_page->meldText().startsWith(
        QStringLiteral("Sending data to module.\r\n\r\nAll data transferred !")));
    verifyIdleButtons();
    const QByteArray record = *RecordToModuleBytes(BuildParameterRecord(RegistryControlValues()));
    QVERIFY(m_sim->waitForRecorded(1 + record.size()));
    QCOMPARE(m_sim->recordedBytes(), "D" + record);
}

void tst_Frm8::smsWithoutTextOrNumberSendsNothing_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no number, German")
        << kGerman << QStringLiteral("Hallo") << QString()
        << QStringLiteral("FEHLER:\r\nKeine Nachricht oder keine Telefonnummer gefunden !");
    QTest::newRow("no text, English")
        << kEnglish << QString() << QStringLiteral("0170")
        << QStringLiteral("ERROR:\r\nNo message or no telephone number found !");
}

void tst_Frm8::smsWithoutTextOrNumberSendsNothing()
{
    QFETCH(QString, language);
    QFETCH(QString, text);
    QFETCH(QString, number);
    QFETCH(QString, shown);

    QVERIFY(startSim(*m_sim));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(language);

    button(QStringLiteral("cmd3"))->click();
    QVERIFY(m_page->smsServiceActive());
    QCOMPARE(m_page->meldText(), QStringLiteral(" "));
    QVERIFY(!control<QWidget>(QStringLiteral("Text1"))->isHidden());
    QVERIFY(!control<QWidget>(QStringLiteral("cmdS"))->isHidden());
    control<QPlainTextEdit>(QStringLiteral("Text1"))->setPlainText(text);
    control<QLineEdit>(QStringLiteral("Text2"))->setText(number);

    button(QStringLiteral("cmdS"))->click();
    QCOMPARE(m_page->meldText(), shown);
    QVERIFY(!m_page->smsServiceActive());
    for (const char *field : { "Text1", "Text2", "Text3", "Text4", "cmdS" })
        QVERIFY(control<QWidget>(QString::fromLatin1(field))->isHidden());
    verifyIdleButtons();
    QTest::qWait(100);
    QVERIFY(m_sim->recordedBytes().isEmpty());
}

void tst_Frm8::smsSentThenMonitoring()
{
    QVERIFY(startSim(*m_sim, { "--status-ms", "400" }));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(kGerman);
    QVERIFY(showActive(m_page));
    QStringList shown;
    connect(control<QPlainTextEdit>(QStringLiteral("txtMeld")), &QPlainTextEdit::textChanged, this, [&] {
        // The turns of the busy indicator count as the search text they belong to.
        QString text = m_page->meldText();
        if (!text.isEmpty() && QStringLiteral("\\|/").contains(text.back()))
            text.back() = QLatin1Char('-');
        if (shown.isEmpty() || shown.last() != text)
            shown << text;
    });

    button(QStringLiteral("cmd3"))->click();
    auto *text1 = control<QPlainTextEdit>(QStringLiteral("Text1"));
    QTRY_VERIFY(text1->hasFocus());
    QTest::keyClick(text1, 'T');
    QTest::sendKeyEvent(QTest::Click, text1, Qt::Key_Udiaeresis, QStringLiteral("ü"), Qt::NoModifier);
    QTest::keyClicks(text1, QStringLiteral("r @ offen"));
    QCOMPARE(text1->toPlainText(), QStringLiteral("Tur  offen")); // the SMS filter folds and drops
    QTest::keyClicks(control<QLineEdit>(QStringLiteral("Text2")), QStringLiteral("+49 170x1"));

    shown.clear();
    button(QStringLiteral("cmdS"))->click();
    QCOMPARE(m_page->meldText(), QStringLiteral("SMS-Dienst\r\nModul wird gesucht...-"));
    QVERIFY(m_page->smsServiceActive());
    QCOMPARE(m_page->helpTopic(), 1095);

    QTRY_VERIFY_WITH_TIMEOUT(m_page->statusRunning() && !m_page->smsServiceActive(), 10000);
    QVERIFY(functionButton(QStringLiteral("cmd2"))->isBold());
    QVERIFY(!functionButton(QStringLiteral("cmd3"))->isBold());
    // The module's reports follow.
    QTRY_VERIFY_WITH_TIMEOUT(shown.last().startsWith(QStringLiteral("PEGEL")), 10000);
    QCOMPARE(shown.mid(0, 4),
        QStringList({ QStringLiteral("SMS-Dienst\r\nModul wird gesucht...-"),
            QStringLiteral("Die SMS wird an das Modul gesendet.\r\n\r\n"),
            QStringLiteral("Die SMS wurde gesendet !\r\n\r\n"),
            QStringLiteral("STATUS\r\nModul wird gesucht...-") }));
    QVERIFY(m_sim->recordedBytes().startsWith("S+491701\"\r>Tur  offen\x1A"));
}

void tst_Frm8::smsRefusedByModule()
{
    QVERIFY(startSim(*m_sim, { "--scenario", "sms-fail" }));
    openPage(QStringList { m_sim->devicePath() });
    setLanguage(kFrench);

    button(QStringLiteral("cmd3"))->click();
    control<QPlainTextEdit>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Hallo"));
    control<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("0170"));
    button(QStringLiteral("cmdS"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->smsServiceActive(), 10000);
    QCOMPARE(m_page->meldText(),
        QStringLiteral("ERREUR:\r\nSMS n’a pu être transmis !\r\n\r\nVeuillez renvoyer le SMS !\r\n"));
    QVERIFY(!m_page->statusRunning());
    verifyIdleButtons();
}

void tst_Frm8::sendCaptionCountsCharactersLeft_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");

    QTest::newRow("German, empty") << kGerman << QString() << QStringLiteral("SMS senden (160)");
    QTest::newRow("German, full") << kGerman << QString(165, QLatin1Char('a'))
                                  << QStringLiteral("SMS senden (0)");
    QTest::newRow("English, empty") << kEnglish << QString() << QStringLiteral("send SMS(160)");
    QTest::newRow("French, five") << kFrench << QStringLiteral("Salut")
                                  << QStringLiteral("Envoyer SMS (155)");
}

void tst_Frm8::sendCaptionCountsCharactersLeft()
{
    QFETCH(QString, language);
    QFETCH(QString, typed);
    QFETCH(QString, caption);

    openPage(QStringList {});
    setLanguage(language);
    QVERIFY(showActive(m_page));
    auto *cmdS = button(QStringLiteral("cmdS"));
    const QString designCaption = cmdS->text();

    button(QStringLiteral("cmd3"))->click();
    auto *text1 = control<QPlainTextEdit>(QStringLiteral("Text1"));
    QTRY_VERIFY(text1->hasFocus());
    QTest::keyClicks(text1, typed);
    QVERIFY(text1->toPlainText().size() <= 160);
    QCOMPARE(cmdS->text(), caption);
    control<QLineEdit>(QStringLiteral("Text2"))->setFocus();
    QCOMPARE(cmdS->text(), caption);
    QVERIFY(caption != designCaption);
}

void tst_Frm8::smsTextHoldsAtMost160Characters_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");

    const QString full(160, QLatin1Char('a'));
    QTest::newRow("set beyond the limit")
        << QString(170, QLatin1Char('a')) << false << QString() << QString() << full;
    QTest::newRow("typed into a full text") << full << false << QStringLiteral("b") << QString() << full;
    QTest::newRow("typed over a full selection")
        << full << true << QStringLiteral("b") << QString() << QStringLiteral("b");
    QTest::newRow("pasted beyond the limit")
        << QString(150, QLatin1Char('a')) << false << QString() << QString(20, QLatin1Char('b'))
        << QString(150, QLatin1Char('a')) + QString(10, QLatin1Char('b'));
}

void tst_Frm8::smsTextHoldsAtMost160Characters()
{
    QFETCH(QString, before);
    QFETCH(bool, selectAll);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, after);

    openPage(QStringList {});
    setLanguage(kGerman);
    QVERIFY(showActive(m_page));
    button(QStringLiteral("cmd3"))->click();
    auto *text1 = control<QPlainTextEdit>(QStringLiteral("Text1"));
    QTRY_VERIFY(text1->hasFocus());
    text1->setPlainText(before);
    if (selectAll)
        text1->selectAll();
    else
        text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(text1, typed);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(text1->toPlainText(), after);
    // The caption counts by the same rule.
    control<QLineEdit>(QStringLiteral("Text2"))->setFocus();
    QCOMPARE(
        button(QStringLiteral("cmdS"))->text(), QStringLiteral("SMS senden (%1)").arg(160 - after.size()));
}

void tst_Frm8::f1TopicFollowsTheFunction()
{
    QVERIFY(startSim(*m_sim, { "--scenario", "silent" }));
    openPage(QStringList { m_sim->devicePath() });
    QVERIFY(showActive(m_page));
    const auto topicShownByF1 = [this] {
        QTest::keyClick(m_page, Qt::Key_F1);
        const int topic = currentHelpWindow() ? currentHelpWindow()->shownTopic() : 0;
        closeAllHelp();
        m_page->activateWindow();
        return QTest::qWaitForWindowActive(m_page) ? topic : -1;
    };

    QCOMPARE(topicShownByF1(), 1060);
    button(QStringLiteral("cmd3"))->click();
    QCOMPARE(topicShownByF1(), 1095);
    button(QStringLiteral("cmd2"))->click();
    QCOMPARE(topicShownByF1(), 1060);
    button(QStringLiteral("cmd"))->click();
    QCOMPARE(topicShownByF1(), 1050);
}

QTEST_MAIN(tst_Frm8)
#include "tst_frm8.moc"
