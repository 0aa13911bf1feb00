// Upload, status monitoring and SMS through the communication page against a module on a real line: its
// writes split with gaps, announcements in the middle of exchanges, commands dropped before it announced
// itself, noise before its first "*", and all of that at once. Seeds are fixed, so a failure can be
// repeated with the simulator's command line from the test's output.

#include "core/appsetup.h"
#include "core/cp1252.h"
#include "comm/frm8.h"
#include "core/parameterrecord.h"
#include "comm/registrycontrolvalues.h"
#include "comm/seriallink.h"
#include "comm/smssession.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

LinkTimeouts lineTimeouts()
{
    // Limits a loaded machine still meets. The message gap stays well above the simulator's gaps between
    // the pieces of one write (20 ms at most) and well below its pause between status messages (400 ms),
    // so a stall of the test process on a busy machine neither splits nor joins messages.
    LinkTimeouts t;
    t.uploadSearch = 10s;
    t.search = 10s;
    t.reply = 2s;
    t.messageGap = 150ms;
    t.busyStep = 50ms;
    return t;
}

enum class Function { Upload, Status, Sms };

// What the module sends in status mode, in its order.
const QStringList kStatusTexts = { QStringLiteral("PEGEL Netz: 17"), QStringLiteral("Netz: eingebucht"),
    QStringLiteral("Eingang 1: EIN\r\nEingang 2: AUS"), QStringLiteral("PEGEL Netz: 23"),
    QStringLiteral("Relais 1: AUS\r\n\r\nRelais 2: EIN"), QStringLiteral("Akku: 12.6 V\r\nNetz: OK"),
    QStringLiteral("T1: 045%  T2: 012%"), QStringLiteral("PEGEL Netz: 09"), QStringLiteral("ADC: 2.47 V"),
    QStringLiteral("PEGEL Netz: 31") };

const QString kTransferred
    = QStringLiteral("Die Daten werden zum Modul übertragen.\r\n\r\n"
                     "Alle Daten wurden übermittelt ! Das Modul macht jetzt einen "
                     "Neustart.\r\n\r\nUnter STATUS können Sie die Meldungen überwachen.");

} // namespace

class tst_LineMatrix : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void oneResultWhateverTheLine_data();
    void oneResultWhateverTheLine();

private:
    QAbstractButton *button(const QString &name) { return m_page->controlAs<QAbstractButton>(name); }
    void verifyIdleButtons();
    void runUpload();
    void runStatus();
    void runSms();

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_cwd;
    QString m_oldCwd;
    std::unique_ptr<SimProcess> m_sim;
    Frm8 *m_page = nullptr;
    QStringList m_shown; // every text of the message box, the busy indicator's turns folded
};

void tst_LineMatrix::initTestCase()
{
    QVERIFY(m_settings.isValid());
    AppSetup::setUpApplication({ m_settings.path() });
    registerProgramWindows();
}

void tst_LineMatrix::cleanupTestCase()
{
    AppSetup::setUpApplication();
}

void tst_LineMatrix::init()
{
    m_cwd = std::make_unique<QTemporaryDir>();
    QVERIFY(m_cwd->isValid());
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_cwd->path());
    m_sim = std::make_unique<SimProcess>();
    m_shown.clear();
}

void tst_LineMatrix::cleanup()
{
    if (QTest::currentTestFailed() && m_sim)
        qWarning().noquote() << "simulator log:\n" << m_sim->log();
    if (m_page)
        m_page->formDeactivate();
    m_page = nullptr;
    m_sim.reset();
    WindowRegistry::instance().reset();
    registerProgramWindows();
    QDir::setCurrent(m_oldCwd);
    m_cwd.reset();
}

void tst_LineMatrix::verifyIdleButtons()
{
    for (const QString &name : { QStringLiteral("cmd"), QStringLiteral("cmd2"), QStringLiteral("cmd3") }) {
        auto *b = m_page->controlAs<TwoStateButton>(name);
        QVERIFY2(b->isEnabled(), qPrintable(name));
        QVERIFY2(!b->isBold(), qPrintable(name));
    }
    QVERIFY(!m_page->link()->isOpen());
}

void tst_LineMatrix::oneResultWhateverTheLine_data()
{
    QTest::addColumn<Function>("function");
    QTest::addColumn<QStringList>("manners");
    QTest::addColumn<int>("seed");

    const QList<std::pair<const char *, QStringList>> manners = {
        { "fragment", { "--fragment" } },
        { "chatty", { "--chatty" } },
        { "strict", { "--strict" } },
        { "noise", { "--noise" } },
        { "all", { "--fragment", "--chatty", "--strict", "--noise" } },
    };
    const QList<std::pair<const char *, Function>> functions
        = { { "upload", Function::Upload }, { "status", Function::Status }, { "sms", Function::Sms } };
    for (const auto &[functionName, function] : functions) {
        for (const auto &[mannerName, arguments] : manners) {
            for (const int seed : { 11, 4711 })
                QTest::addRow("%s, %s, seed %d", functionName, mannerName, seed)
                    << function << arguments << seed;
        }
        QTest::addRow("%s, all, seed 90125", functionName) << function << manners.last().second << 90125;
    }
}

void tst_LineMatrix::oneResultWhateverTheLine()
{
    QFETCH(Function, function);
    QFETCH(QStringList, manners);
    QFETCH(int, seed);

    QStringList arguments { QStringLiteral("--seed"), QString::number(seed), QStringLiteral("--announce-ms"),
        QStringLiteral("30"), QStringLiteral("--abandon-ms"), QStringLiteral("0"),
        QStringLiteral("--status-ms"), QStringLiteral("400"), QStringLiteral("--sms-reports"),
        QStringLiteral("3") };
    if (function == Function::Status)
        arguments << QStringLiteral("--status");
    QVERIFY(m_sim->start(arguments + manners));

    Frm8Options options;
    options.timeouts = lineTimeouts();
    options.discoverPorts
        = [port = m_sim->devicePath()] { return QList<PortEntry> { PortCatalog::entryFor(port) }; };
    WindowRegistry::instance().registerFactory(
        QStringLiteral("frm8"), [options] { return new Frm8(nullptr, options); });
    m_page = WindowRegistry::instance().get<Frm8>(QStringLiteral("frm8"));
    WindowRegistry::instance()
        .window(QStringLiteral("frm1"))
        ->controlAs<QLineEdit>(QStringLiteral("language"))
        ->setText(QStringLiteral("0"));
    connect(m_page->controlAs<QPlainTextEdit>(QStringLiteral("txtMeld")), &QPlainTextEdit::textChanged,
        m_page, [this] {
            QString text = m_page->meldText();
            if (!text.isEmpty() && QStringLiteral("\\|/").contains(text.back()))
                text.back() = QLatin1Char('-');
            if (m_shown.isEmpty() || m_shown.last() != text)
                m_shown << text;
        });

    switch (function) {
    case Function::Upload:
        runUpload();
        break;
    case Function::Status:
        runStatus();
        break;
    case Function::Sms:
        runSms();
        break;
    }
}

void tst_LineMatrix::runUpload()
{
    const QByteArray record = *RecordToModuleBytes(BuildParameterRecord(RegistryControlValues()));
    button(QStringLiteral("cmd"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 20000);
    QCOMPARE(m_page->meldText(), kTransferred);
    verifyIdleButtons();
    QVERIFY(m_sim->waitForRecorded(1 + record.size()));
    QCOMPARE(m_sim->recordedBytes(), "D" + record);
}

void tst_LineMatrix::runStatus()
{
    button(QStringLiteral("cmd2"))->click();
    // The first message may be the tail of one the module was sending when monitoring began.
    constexpr int kWanted = 6;
    QTRY_VERIFY_WITH_TIMEOUT(m_shown.size() >= 1 + kWanted, 20000);
    m_page->formDeactivate();
    QVERIFY(!m_page->statusRunning());
    verifyIdleButtons();
    QVERIFY(m_sim->recordedBytes().isEmpty());

    QCOMPARE(m_shown.first(), QStringLiteral("STATUS\r\nModul wird gesucht...-"));
    const QStringList messages = m_shown.mid(1, m_shown.size() - 2); // the last is the cleared box
    QCOMPARE(m_shown.last(), QString());
    const auto plain = [&](int i) {
        QString text = messages.at(i);
        if (i % 2 == 1) {
            // Every second message is marked, so two equal ones in a row still look different.
            const bool marked = text.endsWith(QLatin1Char('*'));
            text.chop(marked ? 1 : 0);
            return marked ? text : QStringLiteral("(unmarked) ") + text;
        }
        return text;
    };
    const int first = kStatusTexts.contains(plain(0)) ? 0 : 1;
    const qsizetype start = kStatusTexts.indexOf(plain(first));
    QVERIFY2(start >= 0, qPrintable(messages.join(QLatin1String(" | "))));
    for (int i = first; i < messages.size(); ++i)
        QCOMPARE(plain(i), kStatusTexts.at((start + i - first) % kStatusTexts.size()));

    // The log holds every message shown, each once, with its line end.
    QByteArray log;
    for (const QString &message : messages)
        log += toCp1252(message) + "\r\n";
    QFile file(QStringLiteral("GSM.DAT"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), log);
}

void tst_LineMatrix::runSms()
{
    button(QStringLiteral("cmd3"))->click();
    m_page->controlAs<QPlainTextEdit>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Tür offen"));
    m_page->controlAs<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("+491701"));
    m_shown.clear();
    button(QStringLiteral("cmdS"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_page->statusRunning() && !m_page->smsServiceActive(), 20000);
    QCOMPARE(m_shown.mid(0, 4),
        QStringList({ QStringLiteral("SMS-Dienst\r\nModul wird gesucht...-"),
            QStringLiteral("Die SMS wird an das Modul gesendet.\r\n\r\n"),
            QStringLiteral("Die SMS wurde gesendet !\r\n\r\n"),
            QStringLiteral("STATUS\r\nModul wird gesucht...-") }));
    // The module's reports follow the SMS, whatever it announced right after "SEND". A slow machine may
    // open the port for monitoring only after the first of them.
    const auto reportShown = [this] {
        return std::any_of(m_shown.begin() + 4, m_shown.end(), [](const QString &text) {
            return std::any_of(kStatusTexts.begin(), kStatusTexts.begin() + 3,
                [&](const QString &report) { return text.startsWith(report); });
        });
    };
    QTRY_VERIFY2_WITH_TIMEOUT(reportShown(), qPrintable(m_shown.join(QLatin1String(" | "))), 20000);
    m_page->formDeactivate();
    verifyIdleButtons();
    const QByteArray expected
        = "S" + SmsSession::handOver(QStringLiteral("+491701"), QStringLiteral("Tür offen"));
    QVERIFY(m_sim->waitForRecorded(expected.size()));
    QCOMPARE(m_sim->recordedBytes(), expected);
}

QTEST_MAIN(tst_LineMatrix)
#include "tst_linematrix.moc"
