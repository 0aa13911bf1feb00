// The sessions over a real serial port: the program's link code on one end of a pseudo-terminal, the module
// simulator on the other, with short time limits.

#include "comm/portcatalog.h"
#include "comm/seriallink.h"
#include "comm/smssession.h"
#include "comm/statussession.h"
#include "comm/uploadsession.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

LinkTimeouts fast()
{
    LinkTimeouts t;
    t.uploadSearch = 2s;
    t.search = 2s;
    t.reply = 400ms;
    t.messageGap = 80ms;
    t.busyStep = 50ms;
    return t;
}

QStringList simArguments(const QStringList &extra = {})
{
    return QStringList { QStringLiteral("--announce-ms"), QStringLiteral("30"),
        QStringLiteral("--abandon-ms"), QStringLiteral("0"), QStringLiteral("--quiet-log") }
    + extra;
}

QByteArray testRecord()
{
    QByteArray record;
    for (int i = 0; i < UploadSession::kBlockSize * UploadSession::kBlockCount; ++i)
        record.append(char((i * 7 + 3) % 256)); // every byte value, "*" and Ctrl+Z among them
    return record;
}

QByteArray blocksUpTo(int last)
{
    return testRecord().left(last * UploadSession::kBlockSize);
}

bool waitFinished(QSignalSpy &spy, std::chrono::milliseconds limit = 5s)
{
    return spy.count() > 0 || spy.wait(int(limit.count()));
}

} // namespace

class tst_SerialPty : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void uploadReachesTheModuleByteForByte();
    void uploadFailures_data();
    void uploadFailures();
    void silentModuleIsNoAnswer();
    void stopRequestEndsTheSearch();
    void hangupMidTransferLosesThePort();
    void smsExchange_data();
    void smsExchange();
    void statusMessagesAreShownLoggedAndLevelled();
    void lineIsSetTo9600N81WithoutFlowControl();
    void discoveryListsExtraPortsInTheirOrder();
    void vanishedPortFailsToOpenAtOnce();

private:
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<QtSerialLink> m_link;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCurrent;
};

void tst_SerialPty::init()
{
    m_sim = std::make_unique<SimProcess>();
    m_link = std::make_unique<QtSerialLink>();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void tst_SerialPty::cleanup()
{
    m_link.reset();
    m_sim.reset();
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

void tst_SerialPty::uploadReachesTheModuleByteForByte()
{
    QVERIFY(m_sim->start(simArguments()));
    UploadSession upload(m_link.get(), fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    QSignalSpy found(&upload, &UploadSession::moduleFound);

    upload.start(m_sim->devicePath(), testRecord());
    QTRY_VERIFY(m_link->isOpen());
    QCOMPARE(m_link->portName(), m_sim->devicePath()); // the device path whole, as it was opened
    QVERIFY(waitFinished(finished));
    QCOMPARE(found.count(), 1);
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::Success);
    QVERIFY(!m_link->isOpen());
    QVERIFY(m_sim->waitForRecorded(1 + testRecord().size()));
    QCOMPARE(m_sim->recordedBytes(), "D" + testRecord());
}

void tst_SerialPty::uploadFailures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<UploadSession::Outcome>("outcome");
    QTest::addColumn<int>("block");
    QTest::addColumn<QByteArray>("received");

    using O = UploadSession::Outcome;
    QTest::newRow("wrong version") << QStringList { "--scenario", "wrong-version" } << O::WrongVersion << 0
                                   << QByteArray("D");
    QTest::newRow("wrong acknowledgement at block 3") << QStringList { "--scenario", "wrong-ack", "--block",
        "3" } << O::IncompleteTransfer << 3 << "D" + blocksUpTo(3);
    // A second "*" is the module announcing itself once too often, not part of the version.
    QTest::newRow("second star before the version")
        << QStringList { "--scenario", "extra-chars" } << O::Success << 0 << "D" + testRecord();
    QTest::newRow("no answer after block 5") << QStringList { "--scenario", "no-answer", "--block", "5" }
                                             << O::IncompleteTransfer << 5 << "D" + blocksUpTo(5);
}

void tst_SerialPty::uploadFailures()
{
    QFETCH(QStringList, arguments);
    QFETCH(UploadSession::Outcome, outcome);
    QFETCH(int, block);
    QFETCH(QByteArray, received);

    QVERIFY(m_sim->start(simArguments(arguments)));
    UploadSession upload(m_link.get(), fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    upload.start(m_sim->devicePath(), testRecord());
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), outcome);
    QCOMPARE(finished.first().at(1).toInt(), block);
    QVERIFY(!m_link->isOpen());
    QVERIFY(m_sim->waitForRecorded(received.size()));
    QCOMPARE(m_sim->recordedBytes(), received);
}

void tst_SerialPty::silentModuleIsNoAnswer()
{
    QVERIFY(m_sim->start(simArguments({ "--scenario", "silent" })));
    LinkTimeouts timeouts = fast();
    timeouts.uploadSearch = 300ms;
    UploadSession upload(m_link.get(), timeouts);
    QSignalSpy finished(&upload, &UploadSession::finished);
    upload.start(m_sim->devicePath(), testRecord());
    QVERIFY(m_link->isOpen());
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::NoAnswer);
    QVERIFY(!m_link->isOpen());
    QVERIFY(m_sim->recordedBytes().isEmpty());
}

void tst_SerialPty::stopRequestEndsTheSearch()
{
    QVERIFY(m_sim->start(simArguments({ "--scenario", "silent" })));
    LinkTimeouts timeouts = fast();
    timeouts.search = 30s;
    SmsSession sms(m_link.get(), timeouts);
    QSignalSpy finished(&sms, &SmsSession::finished);
    sms.start(m_sim->devicePath(), QStringLiteral("0123"), QStringLiteral("Hallo"));
    QTest::qWait(50);
    QVERIFY(finished.isEmpty());
    sms.requestStop();
    QVERIFY(waitFinished(finished, 2s));
    QCOMPARE(finished.first().at(0).value<SmsSession::Outcome>(), SmsSession::Outcome::NoAnswer);
    QVERIFY(!m_link->isOpen());
}

void tst_SerialPty::hangupMidTransferLosesThePort()
{
    QVERIFY(m_sim->start(simArguments({ "--scenario", "hangup", "--block", "4" })));
    LinkTimeouts timeouts = fast();
    timeouts.reply = 10s; // only the hang-up may end it
    UploadSession upload(m_link.get(), timeouts);
    QSignalSpy finished(&upload, &UploadSession::finished);
    QSignalSpy lost(m_link.get(), &SerialLink::lost);
    upload.start(m_sim->devicePath(), testRecord());
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::PortLost);
    QCOMPARE(finished.first().at(1).toInt(), 4);
    QCOMPARE(lost.count(), 1);
    QVERIFY(!m_link->isOpen());
}

void tst_SerialPty::smsExchange_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<SmsSession::Outcome>("outcome");
    QTest::addColumn<bool>("handedOver");

    using O = SmsSession::Outcome;
    QTest::newRow("sent") << QStringList {} << O::Success << true;
    QTest::newRow("FAIL") << QStringList { "--scenario", "sms-fail" } << O::SendFailed << true;
    QTest::newRow("four characters after S")
        << QStringList { "--scenario", "sms-long-reply" } << O::NoAnswer << false;
}

void tst_SerialPty::smsExchange()
{
    QFETCH(QStringList, arguments);
    QFETCH(SmsSession::Outcome, outcome);
    QFETCH(bool, handedOver);

    QVERIFY(m_sim->start(simArguments(arguments)));
    SmsSession sms(m_link.get(), fast());
    QSignalSpy finished(&sms, &SmsSession::finished);
    const QString number = QStringLiteral("+491701234");
    const QString text = QStringLiteral("Tür offen, 5 €");
    sms.start(m_sim->devicePath(), number, text);
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<SmsSession::Outcome>(), outcome);
    QVERIFY(!m_link->isOpen());

    const QByteArray expected
        = handedOver ? "S" + QByteArray("+491701234\"\r>T\xFCr offen, 5 \x80\x1A") : "S";
    QVERIFY(m_sim->waitForRecorded(expected.size()));
    QCOMPARE(m_sim->recordedBytes(), expected);
}

void tst_SerialPty::statusMessagesAreShownLoggedAndLevelled()
{
    QVERIFY(m_sim->start(simArguments({ "--status", "--status-ms", "200" })));
    StatusSession status(m_link.get(), fast());
    QSignalSpy messages(&status, &StatusSession::message);
    QSignalSpy levels(&status, &StatusSession::signalLevel);
    QSignalSpy finished(&status, &StatusSession::finished);
    status.start(m_sim->devicePath());
    QTRY_VERIFY_WITH_TIMEOUT(messages.count() >= 2, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!levels.isEmpty(), 3000);
    QCOMPARE(levels.first().at(0).toInt(), 17);

    // The line stays open for the module; closing the port from outside ends monitoring.
    m_link->close();
    QVERIFY(waitFinished(finished, 1s));
    QCOMPARE(finished.first().at(0).value<StatusSession::Outcome>(), StatusSession::Outcome::Stopped);

    QFile log(StatusLog::kDefaultFileName);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (int i = 0; i < messages.count(); ++i)
        expected += messages.at(i).at(0).toString().toLatin1() + "\r\n";
    QCOMPARE(log.readAll(), expected);
    QVERIFY(messages.at(1).at(0).toString().endsWith(QLatin1Char('*')));
}

void tst_SerialPty::lineIsSetTo9600N81WithoutFlowControl()
{
    // The module answers only on a line set so; it starts out at another speed, two stop bits and both
    // kinds of flow control, so only the program's own settings can satisfy it.
    const QStringList required { "--require-line", "9600,n,8,1,none" };
    QVERIFY(m_sim->start(QStringList { "--announce-ms", "30", "--abandon-ms", "0" } + required));
    QVERIFY(m_sim->waitForLog(QStringLiteral("not answering: the line is 38400,n,8,2,both")));

    UploadSession upload(m_link.get(), fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    upload.start(m_sim->devicePath(), testRecord());
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::Success);
    QVERIFY2(m_sim->log().contains(QStringLiteral("line set to 9600,n,8,1,none")), qPrintable(m_sim->log()));

    // A line opened without those settings gets no answer, and the module says why.
    SimProcess other;
    QVERIFY(other.start(QStringList { "--announce-ms", "30" } + required));
    PtyLine raw;
    QVERIFY(raw.open(other.devicePath())); // raw, but speed, stop bits and flow control left as they were
    QVERIFY(raw.write("D"));
    QCOMPARE(raw.readUntilQuiet(200ms), QByteArray());
    QVERIFY(other.waitForLog(QStringLiteral("received D, not answered: the line is 38400,n,8,2,both, not "
                                            "9600,n,8,1,none")));
}

void tst_SerialPty::discoveryListsExtraPortsInTheirOrder()
{
    SimProcess second;
    QVERIFY(m_sim->start(simArguments()));
    QVERIFY(second.start(simArguments()));
    const QString first = m_sim->devicePath();
    const QString other = second.devicePath();
    const QString missing = m_dir->filePath(QStringLiteral("no-such-port"));

    const QByteArray saved = qgetenv(PortCatalog::kExtraPortsVariable);
    qputenv(PortCatalog::kExtraPortsVariable,
        QStringList { other, missing, first, other }.join(':').toLocal8Bit());
    const QList<PortEntry> ports = PortCatalog::usablePorts();
    qputenv(PortCatalog::kExtraPortsVariable, saved);

    QStringList names;
    for (const PortEntry &port : ports)
        names << port.portName;
    QVERIFY2(names.size() >= 2, qPrintable(names.join(' ')));
    // The named ports lead the list in their order, each once, so the first of them is selected.
    QCOMPARE(names.mid(0, 2), QStringList({ other, first }));
    QVERIFY(!names.contains(missing));
    QCOMPARE(ports.at(1).label, first);

    // Probing leaves the ports closed and the modules undisturbed.
    UploadSession upload(m_link.get(), fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    upload.start(first, testRecord());
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::Success);
}

void tst_SerialPty::vanishedPortFailsToOpenAtOnce()
{
    // Through a link of our own, which goes with the simulator: the pseudo-terminal's number may be handed
    // to another test's simulator at once, and opening that one would disturb it.
    const QString path = m_dir->filePath(QStringLiteral("module"));
    QVERIFY(m_sim->start(simArguments({ "--link", path })));
    m_sim->stop();
    QVERIFY(!QFile::exists(path));
    QVERIFY(!PortCatalog::probe(path));

    LinkTimeouts timeouts = fast();
    timeouts.uploadSearch = 30s;
    UploadSession upload(m_link.get(), timeouts);
    QSignalSpy finished(&upload, &UploadSession::finished);
    upload.start(path, testRecord());
    QVERIFY(waitFinished(finished, 2s));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::PortOpenFailed);
    QVERIFY(!upload.portError().isEmpty());
    QVERIFY(!m_link->isOpen());
}

QTEST_GUILESS_MAIN(tst_SerialPty)
#include "tst_serialpty.moc"
