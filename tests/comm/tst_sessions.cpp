// The dialogue rules of upload, status monitoring and SMS, checked against a fake link on which the test
// plays the module character by character.

#include "core/cp1252.h"
#include "comm/signallevel.h"
#include "comm/smssession.h"
#include "comm/statussession.h"
#include "comm/uploadsession.h"
#include "support/fakelink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

constexpr auto kSearch = 250ms;
constexpr auto kReply = 100ms;
constexpr auto kGap = 120ms;
const QString kPort = QStringLiteral("COM1");

LinkTimeouts fast()
{
    LinkTimeouts t;
    t.uploadSearch = kSearch;
    t.search = kSearch;
    t.reply = kReply;
    t.messageGap = kGap;
    t.busyStep = 20ms;
    return t;
}

QByteArray testRecord()
{
    QByteArray record;
    for (int i = 0; i < UploadSession::kBlockSize * UploadSession::kBlockCount; ++i)
        record.append(char(0x20 + i % 90));
    return record;
}

QByteArrayList healthyUploadReplies()
{
    QByteArrayList replies { "VP" };
    for (int b = 1; b <= UploadSession::kBlockCount; ++b)
        replies << UploadSession::acknowledgement(b);
    return replies;
}

// Waits for the session's finished signal; the spy holds it afterwards.
bool waitFinished(QSignalSpy &spy, std::chrono::milliseconds limit = 2s)
{
    return spy.count() > 0 || spy.wait(int(limit.count()));
}

} // namespace

class tst_Sessions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // upload
    void uploadSendsVersionRequestThenTenBlocks();
    void uploadEndsAtFirstUnfitReply_data();
    void uploadEndsAtFirstUnfitReply();
    void acknowledgementArrivingInPiecesCounts();
    void searchDropsEverythingBeforeAndAfterTheStar();
    void announcementsInsideRepliesAreDropped_data();
    void announcementsInsideRepliesAreDropped();
    void stopRequestEndsUpload_data();
    void stopRequestEndsUpload();
    void vanishedPortEndsUploadAsLost();
    void withoutPortSearchRunsIntoItsLimit();
    void portThatDoesNotOpenFailsAtOnce();
    void busyIndicatorTurnsWhileSearching();
    void deletedSessionStaysSilent();

    // status
    void statusMessagesEndWithTheGapAndAlternateTheMarker();
    void controlCharactersBecomeLineBreaks();
    void charactersCloserThanTheGapFormOneMessage();
    void endlessMessageIsPassedOnInPiecesNoneLost_data();
    void endlessMessageIsPassedOnInPiecesNoneLost();
    void statusWithoutFirstCharacterIsNoAnswer();
    void statusEnds_data();
    void statusEnds();
    void unwritableLogIsReportedOnceAndMonitoringGoesOn();
    void levelIsReportedOnlyForTwoDigits();
    void signalLevelOfMessage_data();
    void signalLevelOfMessage();
    void barColoursFollowTheLevelTable_data();
    void barColoursFollowTheLevelTable();

    // SMS
    void smsHandsOverNumberAndTextByteForByte();
    void smsEndsAtFirstUnfitReply_data();
    void smsEndsAtFirstUnfitReply();

private:
    FakeLink *m_link = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCurrent;
};

void tst_Sessions::init()
{
    m_link = new FakeLink(this);
    // The status log goes to the current directory; keep it out of the build tree.
    m_oldCurrent = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir::setCurrent(m_dir->path());
}

void tst_Sessions::cleanup()
{
    delete m_link;
    m_link = nullptr;
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

// --- upload -------------------------------------------------------------------------------------------

void tst_Sessions::uploadSendsVersionRequestThenTenBlocks()
{
    UploadSession upload(m_link, fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    QSignalSpy blocks(&upload, &UploadSession::transferring);
    QSignalSpy found(&upload, &UploadSession::moduleFound);
    m_link->setReplies(healthyUploadReplies());

    const QByteArray record = testRecord();
    QVERIFY(upload.start(kPort, record));
    QVERIFY(!upload.start(kPort, record)); // one run at a time
    m_link->feed("*");

    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::Success);
    QCOMPARE(found.count(), 1);
    QCOMPARE(blocks.count(), 10);
    QCOMPARE(blocks.last().at(0).toInt(), 10);
    QByteArrayList expected { "D" };
    for (int b = 0; b < 10; ++b)
        expected << record.mid(b * 64, 64);
    QCOMPARE(m_link->writes(), expected);
    QVERIFY(!m_link->isOpen());
    QVERIFY(!upload.isRunning());
}

void tst_Sessions::uploadEndsAtFirstUnfitReply_data()
{
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<UploadSession::Outcome>("outcome");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("blocksSent");

    using O = UploadSession::Outcome;
    const QByteArrayList healthy = healthyUploadReplies();
    auto upTo = [&](int block) { return healthy.mid(0, block + 1); }; // "VP" and the first `block` acks

    QTest::newRow("wrong version") << QByteArrayList { "VX" } << O::WrongVersion << 0 << 0;
    QTest::newRow("three characters after D") << QByteArrayList { "VPX" } << O::NoAnswer << 0 << 0;
    QTest::newRow("one character after D") << QByteArrayList { "V" } << O::NoAnswer << 0 << 0;
    QTest::newRow("silent after D") << QByteArrayList {} << O::NoAnswer << 0 << 0;
    QTest::newRow("block 3 acknowledged as 4") << (upTo(2) << "XX4") << O::IncompleteTransfer << 3 << 3;
    QTest::newRow("four characters for block 1")
        << QByteArrayList { "VP", "XX1X" } << O::IncompleteTransfer << 1 << 1;
    QTest::newRow("XX10 is no acknowledgement of block 10")
        << (upTo(9) << "XX10") << O::IncompleteTransfer << 10 << 10;
    QTest::newRow("no answer after block 5") << upTo(4) << O::IncompleteTransfer << 5 << 5;
}

void tst_Sessions::uploadEndsAtFirstUnfitReply()
{
    QFETCH(QByteArrayList, replies);
    QFETCH(UploadSession::Outcome, outcome);
    QFETCH(int, block);
    QFETCH(int, blocksSent);

    UploadSession upload(m_link, fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    m_link->setReplies(replies);
    upload.start(kPort, testRecord());
    m_link->feed("*");

    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), outcome);
    QCOMPARE(finished.first().at(1).toInt(), block);
    QCOMPARE(m_link->writes().size(), 1 + blocksSent);
    QVERIFY(!m_link->isOpen());
}

void tst_Sessions::acknowledgementArrivingInPiecesCounts()
{
    UploadSession upload(m_link, fast());
    QSignalSpy blocks(&upload, &UploadSession::transferring);
    m_link->setReplies({ "VP", {} });
    upload.start(kPort, testRecord());
    m_link->feed("*");
    QTRY_COMPARE(blocks.count(), 1);

    m_link->feed("X");
    m_link->feed("X");
    m_link->feed("1");
    QTRY_COMPARE(blocks.count(), 2);
}

void tst_Sessions::searchDropsEverythingBeforeAndAfterTheStar()
{
    m_link->open(kPort); // left open by an earlier function, with old input in it
    m_link->feed("VP");
    UploadSession upload(m_link, fast());
    QSignalSpy found(&upload, &UploadSession::moduleFound);
    QSignalSpy blocks(&upload, &UploadSession::transferring);
    upload.start(kPort, testRecord());
    QCOMPARE(m_link->openCount(), 1); // an open port is used as it is

    m_link->feed("VPab");
    QTest::qWait(20);
    QCOMPARE(found.count(), 0);
    m_link->feed("x*VP"); // what follows the star in the same burst is dropped with it
    QCOMPARE(found.count(), 1);
    QCOMPARE(m_link->written(), QByteArray("D"));
    QTest::qWait(20);
    QCOMPARE(blocks.count(), 0);
    m_link->feed("VP");
    QTRY_COMPARE(blocks.count(), 1);
    upload.requestStop();
}

void tst_Sessions::announcementsInsideRepliesAreDropped_data()
{
    QTest::addColumn<int>("chunk");
    for (const int chunk : { 0, 1, 2, 3 })
        QTest::addRow("pieces of %d", chunk) << chunk;
}

void tst_Sessions::announcementsInsideRepliesAreDropped()
{
    // A module whose announcement timer knows nothing of the exchange: "*" before, inside and after the
    // replies. However the bytes are split into reads, upload and SMS succeed and send the same bytes.
    QFETCH(int, chunk);
    m_link->setReplyChunk(chunk);

    QByteArrayList replies = healthyUploadReplies();
    replies[0] = "**VP";
    replies[1] = "X*X1";
    replies[2] = "XX2*";
    replies[10] = "*R*EC*";
    UploadSession upload(m_link, fast());
    QSignalSpy uploaded(&upload, &UploadSession::finished);
    m_link->setReplies(replies);
    upload.start(kPort, testRecord());
    m_link->feed("*");
    QVERIFY(waitFinished(uploaded));
    QCOMPARE(uploaded.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::Success);
    QCOMPARE(m_link->written(), "D" + testRecord());

    SmsSession sms(m_link, fast());
    QSignalSpy sent(&sms, &SmsSession::finished);
    m_link->setReplies({ "*S*MS", "SEND*" });
    sms.start(kPort, QStringLiteral("0123"), QStringLiteral("Hallo"));
    m_link->feed("*");
    QVERIFY(waitFinished(sent));
    QCOMPARE(sent.first().at(0).value<SmsSession::Outcome>(), SmsSession::Outcome::Success);
}

void tst_Sessions::stopRequestEndsUpload_data()
{
    QTest::addColumn<int>("blocksBeforeStop");
    QTest::addColumn<bool>("closePort");
    QTest::addColumn<UploadSession::Outcome>("outcome");

    using O = UploadSession::Outcome;
    QTest::newRow("during search") << -1 << false << O::NoAnswer;
    QTest::newRow("waiting for version") << 0 << false << O::NoAnswer;
    QTest::newRow("waiting for block 2") << 2 << false << O::IncompleteTransfer;
    QTest::newRow("port closed while waiting for block 2") << 2 << true << O::IncompleteTransfer;
}

void tst_Sessions::stopRequestEndsUpload()
{
    QFETCH(int, blocksBeforeStop);
    QFETCH(bool, closePort);
    QFETCH(UploadSession::Outcome, outcome);

    LinkTimeouts slow = fast();
    slow.uploadSearch = slow.reply = 10s;
    UploadSession upload(m_link, slow);
    QSignalSpy finished(&upload, &UploadSession::finished);
    QSignalSpy blocks(&upload, &UploadSession::transferring);
    QByteArrayList replies { {} };
    if (blocksBeforeStop > 0)
        replies = healthyUploadReplies().mid(0, blocksBeforeStop) << QByteArray();
    m_link->setReplies(replies);
    upload.start(kPort, testRecord());
    if (blocksBeforeStop >= 0)
        m_link->feed("*");
    QTRY_COMPARE(blocks.count(), qMax(blocksBeforeStop, 0));

    if (closePort)
        m_link->close();
    else
        upload.requestStop();
    // The outcome comes from the event loop, after the caller's own step.
    QCOMPARE(finished.count(), 0);
    QVERIFY(waitFinished(finished, 1s));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), outcome);
    QVERIFY(!m_link->isOpen());
}

void tst_Sessions::vanishedPortEndsUploadAsLost()
{
    UploadSession upload(m_link, fast());
    QSignalSpy finished(&upload, &UploadSession::finished);
    QSignalSpy blocks(&upload, &UploadSession::transferring);
    m_link->setReplies({ "VP", "XX1", {} });
    upload.start(kPort, testRecord());
    m_link->feed("*");
    QTRY_COMPARE(blocks.count(), 2);
    m_link->vanish();
    QVERIFY(waitFinished(finished, 1s));
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::PortLost);
    QCOMPARE(finished.first().at(1).toInt(), 2);
}

void tst_Sessions::withoutPortSearchRunsIntoItsLimit()
{
    UploadSession upload(m_link, fast());
    QSignalSpy noPort(&upload, &UploadSession::noPort);
    QSignalSpy finished(&upload, &UploadSession::finished);
    QElapsedTimer clock;
    clock.start();
    upload.start(QString(), testRecord());
    QCOMPARE(noPort.count(), 1);
    QVERIFY(waitFinished(finished));
    QVERIFY(clock.elapsed() >= kSearch.count());
    QCOMPARE(finished.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::NoAnswer);
    QCOMPARE(m_link->openCount(), 0);
}

void tst_Sessions::portThatDoesNotOpenFailsAtOnce()
{
    LinkTimeouts slow = fast();
    slow.uploadSearch = slow.search = 10s;
    m_link->setOpenError(QStringLiteral("gone"));

    UploadSession upload(m_link, slow);
    QSignalSpy uploadDone(&upload, &UploadSession::finished);
    upload.start(kPort, testRecord());
    QCOMPARE(uploadDone.count(), 0);
    QVERIFY(waitFinished(uploadDone, 1s));
    QCOMPARE(
        uploadDone.first().at(0).value<UploadSession::Outcome>(), UploadSession::Outcome::PortOpenFailed);
    QCOMPARE(upload.portError(), QStringLiteral("gone"));

    StatusSession status(m_link, slow);
    QSignalSpy statusDone(&status, &StatusSession::finished);
    status.start(kPort);
    QVERIFY(waitFinished(statusDone, 1s));
    QCOMPARE(
        statusDone.first().at(0).value<StatusSession::Outcome>(), StatusSession::Outcome::PortOpenFailed);

    SmsSession sms(m_link, slow);
    QSignalSpy smsDone(&sms, &SmsSession::finished);
    sms.start(kPort, QStringLiteral("1"), QStringLiteral("x"));
    QVERIFY(waitFinished(smsDone, 1s));
    QCOMPARE(smsDone.first().at(0).value<SmsSession::Outcome>(), SmsSession::Outcome::PortOpenFailed);
    QVERIFY(m_link->written().isEmpty());
}

void tst_Sessions::busyIndicatorTurnsWhileSearching()
{
    UploadSession upload(m_link, fast());
    QSignalSpy turns(&upload, &UploadSession::busyIndicator);
    upload.start(kPort, testRecord());
    QTRY_VERIFY(turns.count() >= 5);
    QString seen;
    for (const auto &turn : std::as_const(turns))
        seen += turn.at(0).value<QChar>();
    QVERIFY2(seen.startsWith(QStringLiteral("-\\|/-")), qPrintable(seen));

    m_link->feed("*");
    const auto afterFound = turns.count();
    QTest::qWait(60);
    QCOMPARE(turns.count(), afterFound); // only the search turns it
    upload.requestStop();
}

void tst_Sessions::deletedSessionStaysSilent()
{
    LinkTimeouts timeouts = fast();
    timeouts.uploadSearch = 50ms;
    auto *upload = new UploadSession(m_link, timeouts);
    QSignalSpy finished(upload, &UploadSession::finished);
    upload->start(kPort, testRecord());
    upload->requestStop();
    delete upload;
    m_link->feed("*");
    QTest::qWait(100);
    QVERIFY(m_link->written().isEmpty());
    QCOMPARE(finished.count(), 0);
}

// --- status -------------------------------------------------------------------------------------------

void tst_Sessions::statusMessagesEndWithTheGapAndAlternateTheMarker()
{
    StatusSession status(m_link, fast());
    QSignalSpy messages(&status, &StatusSession::message);
    QSignalSpy started(&status, &StatusSession::monitoringStarted);
    status.start(kPort);
    QVERIFY(!QFile::exists(StatusLog::kDefaultFileName)); // nothing before the first character

    m_link->feed("OK");
    QTRY_COMPARE(messages.count(), 1);
    QCOMPARE(started.count(), 1);
    m_link->feed("OK");
    QTRY_COMPARE(messages.count(), 2);
    m_link->feed("OK");
    QTRY_COMPARE(messages.count(), 3);
    QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("OK"));
    QCOMPARE(messages.at(1).at(0).toString(), QStringLiteral("OK*"));
    QCOMPARE(messages.at(2).at(0).toString(), QStringLiteral("OK"));

    status.stopMonitoring();
    QSignalSpy finished(&status, &StatusSession::finished);
    QVERIFY(waitFinished(finished));
    QFile log(StatusLog::kDefaultFileName);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("OK\r\nOK*\r\nOK\r\n"));
}

void tst_Sessions::controlCharactersBecomeLineBreaks()
{
    StatusSession status(m_link, fast());
    QSignalSpy messages(&status, &StatusSession::message);
    status.start(kPort);
    m_link->feed(QByteArray("A\r\nB\0\xE4", 6));
    QTRY_COMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("A\r\n\r\nB\r\n\u00E4"));
    status.stopMonitoring();
    QTRY_VERIFY(!status.isRunning());

    QFile log(StatusLog::kDefaultFileName);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("A\r\n\r\nB\r\n\xE4\r\n"));
}

void tst_Sessions::charactersCloserThanTheGapFormOneMessage()
{
    LinkTimeouts timeouts = fast();
    timeouts.messageGap = 300ms; // far above the spacing, even on a busy machine
    StatusSession status(m_link, timeouts);
    QSignalSpy messages(&status, &StatusSession::message);
    status.start(kPort);
    QByteArray sent;
    for (int i = 0; i < 40; ++i) {
        const QByteArray c(1, char('a' + i % 26));
        m_link->feed(c);
        sent += c;
        QTest::qWait(5);
    }
    QTRY_COMPARE(messages.count(), 1);
    QCOMPARE(messages.at(0).at(0).toString(), QString::fromLatin1(sent));
    status.stopMonitoring();
}

void tst_Sessions::endlessMessageIsPassedOnInPiecesNoneLost_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("pieces"); // passed on before the gap

    const int bound = int(StatusSession::kMaxMessageLength);
    QTest::addColumn<bool>("breaks"); // a CR every hundred characters

    QTest::newRow("exactly the bound") << bound << 0 << false;
    QTest::newRow("one over the bound") << bound + 1 << 1 << false;
    QTest::newRow("several pieces, line breaks inside") << 10000 << 2 << true;
}

void tst_Sessions::endlessMessageIsPassedOnInPiecesNoneLost()
{
    QFETCH(int, length);
    QFETCH(int, pieces);
    QFETCH(bool, breaks);

    StatusSession status(m_link, fast());
    QSignalSpy messages(&status, &StatusSession::message);
    status.start(kPort);
    m_link->feed("first");
    QTRY_COMPARE(messages.count(), 1);

    // The long message is the second, so its end gets the alternate marker; control characters inside
    // it become line breaks wherever the pieces are cut.
    QByteArray sent;
    for (int i = 0; i < length; ++i)
        sent.append(breaks && i % 100 == 99 ? '\r' : char('A' + i % 26));
    m_link->feed(sent.left(3000));
    m_link->feed(sent.mid(3000));
    QCOMPARE(messages.count(), 1 + pieces);
    QTRY_COMPARE(messages.count(), 2 + pieces);

    QString shown;
    for (int i = 1; i < messages.count(); ++i) {
        const QString piece = messages.at(i).at(0).toString();
        QVERIFY(piece.size() <= StatusSession::kMaxMessageLength + 1);
        QCOMPARE(piece.endsWith(QLatin1Char('*')), i == messages.count() - 1);
        shown += piece;
    }
    const QByteArray text = QByteArray(sent).replace('\r', "\r\n");
    QCOMPARE(shown, QString::fromLatin1(text + "*"));
    status.stopMonitoring();

    // The log holds each message once with its line end; a piece boundary adds nothing.
    QFile log(StatusLog::kDefaultFileName);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), "first\r\n" + text + "*\r\n");
}

void tst_Sessions::statusWithoutFirstCharacterIsNoAnswer()
{
    StatusSession status(m_link, fast());
    QSignalSpy finished(&status, &StatusSession::finished);
    status.start(kPort);
    QVERIFY(m_link->isOpen());
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<StatusSession::Outcome>(), StatusSession::Outcome::NoAnswer);
    QVERIFY(!m_link->isOpen());
    QVERIFY(!QFile::exists(StatusLog::kDefaultFileName));
}

void tst_Sessions::statusEnds_data()
{
    QTest::addColumn<bool>("monitoring");
    QTest::addColumn<QString>("how");
    QTest::addColumn<StatusSession::Outcome>("outcome");
    QTest::addColumn<bool>("portOpenAfter");

    using O = StatusSession::Outcome;
    QTest::newRow("stop request while waiting") << false << "stop" << O::NoAnswer << false;
    QTest::newRow("other function chosen while waiting") << false << "end" << O::Stopped << true;
    QTest::newRow("port closed while waiting") << false << "close" << O::Stopped << false;
    QTest::newRow("stop request while monitoring") << true << "stop" << O::Stopped << true;
    QTest::newRow("other function chosen while monitoring") << true << "end" << O::Stopped << true;
    QTest::newRow("port closed while monitoring") << true << "close" << O::Stopped << false;
    QTest::newRow("port vanished while monitoring") << true << "vanish" << O::PortLost << false;
}

void tst_Sessions::statusEnds()
{
    QFETCH(bool, monitoring);
    QFETCH(QString, how);
    QFETCH(StatusSession::Outcome, outcome);
    QFETCH(bool, portOpenAfter);

    LinkTimeouts slow = fast();
    slow.search = 10s;
    StatusSession status(m_link, slow);
    QSignalSpy finished(&status, &StatusSession::finished);
    QSignalSpy messages(&status, &StatusSession::message);
    status.start(kPort);
    QSignalSpy started(&status, &StatusSession::monitoringStarted);
    if (monitoring) {
        m_link->feed("unfinished");
        QCOMPARE(started.count(), 1);
    }

    if (how == QLatin1String("stop"))
        status.requestStop();
    else if (how == QLatin1String("end"))
        status.stopMonitoring();
    else if (how == QLatin1String("close"))
        m_link->close();
    else
        m_link->vanish();

    QVERIFY(waitFinished(finished, 1s));
    QCOMPARE(finished.first().at(0).value<StatusSession::Outcome>(), outcome);
    QCOMPARE(m_link->isOpen(), portOpenAfter);
    if (monitoring) {
        // What had arrived since the last message is not shown after the end.
        QTest::qWait(kGap.count() + 50);
    }
    QCOMPARE(messages.count(), 0);
}

void tst_Sessions::unwritableLogIsReportedOnceAndMonitoringGoesOn()
{
    QVERIFY(QDir().mkdir(StatusLog::kDefaultFileName)); // a directory cannot be opened as the log
    StatusSession status(m_link, fast());
    QSignalSpy failures(&status, &StatusSession::logFailed);
    QSignalSpy messages(&status, &StatusSession::message);
    status.start(kPort);
    m_link->feed("one");
    QTRY_COMPARE(messages.count(), 1);
    m_link->feed("two");
    QTRY_COMPARE(messages.count(), 2);
    QCOMPARE(failures.count(), 1);
    QCOMPARE(failures.first().at(0).toString(), StatusLog::kDefaultFileName);
    status.stopMonitoring();
}

void tst_Sessions::levelIsReportedOnlyForTwoDigits()
{
    StatusSession status(m_link, fast());
    QSignalSpy levels(&status, &StatusSession::signalLevel);
    QSignalSpy messages(&status, &StatusSession::message);
    status.start(kPort);
    m_link->feed("PEGEL: 12345x9");
    QTRY_COMPARE(messages.count(), 1);
    m_link->feed("NETZ PEGEL:      17 dBm");
    QTRY_COMPARE(messages.count(), 2);
    QCOMPARE(levels.count(), 1);
    QCOMPARE(levels.first().at(0).toInt(), 17);
    status.stopMonitoring();
}

void tst_Sessions::signalLevelOfMessage_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("level"); // -1: none

    // "PEGEL", seven other characters, then what stands where the level belongs.
    auto pegel = [](const QString &level) { return QStringLiteral("PEGEL:      ") + level; };

    QTest::newRow("17") << pegel("17") << 17;
    QTest::newRow("07") << pegel("07") << 7;
    QTest::newRow("99") << pegel("99") << 99;
    QTest::newRow("00") << pegel("00") << 0;
    QTest::newRow("inside a longer text") << "NETZ " + pegel("23") + " dBm\r\n" << 23;
    QTest::newRow("first occurrence counts") << pegel("12") + pegel("31") << 12;
    QTest::newRow("first occurrence without digits") << pegel("xx") + pegel("31") << -1;
    QTest::newRow("case matters") << "pegel:      12" << -1;
    QTest::newRow("not digits") << pegel("1x") << -1;
    QTest::newRow("sign is no digit") << pegel("-1") << -1;
    QTest::newRow("blank is no digit") << pegel(" 7") << -1;
    QTest::newRow("message ends after one") << pegel("1") << -1;
    QTest::newRow("message ends before") << QStringLiteral("PEGEL") << -1;
    QTest::newRow("marker after one digit") << pegel("4*") << -1;
}

void tst_Sessions::signalLevelOfMessage()
{
    QFETCH(QString, message);
    QFETCH(int, level);
    const auto found = signalLevelOf(message);
    QCOMPARE(found.value_or(-1), level);
}

void tst_Sessions::barColoursFollowTheLevelTable_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("bars"); // o off, g green, r red; empty: unchanged

    const QList<std::pair<int, QString>> table {
        { 0, "roooo" },
        { 1, "ggooo" },
        { 5, "ggooo" },
        { 6, "gggoo" },
        { 9, "gggoo" },
        { 10, "ggggo" },
        { 14, "ggggo" },
        { 15, "ggggg" },
        { 31, "ggggg" },
        { 32, "rrrrr" },
        { 99, "rrrrr" },
        { -1, "" },
        { 100, "" },
    };
    for (const auto &[level, bars] : table)
        QTest::addRow("%d", level) << level << bars;
}

void tst_Sessions::barColoursFollowTheLevelTable()
{
    QFETCH(int, level);
    QFETCH(QString, bars);
    const auto colours = signalBarColours(level);
    QString seen;
    if (colours) {
        for (BarColour c : *colours)
            seen += c == BarColour::Off ? u'o' : c == BarColour::Green ? u'g' : u'r';
    }
    QCOMPARE(seen, bars);
}

// --- SMS ----------------------------------------------------------------------------------------------

void tst_Sessions::smsHandsOverNumberAndTextByteForByte()
{
    SmsSession sms(m_link, fast());
    QSignalSpy finished(&sms, &SmsSession::finished);
    QSignalSpy handing(&sms, &SmsSession::handingOver);
    m_link->setReplies({ "SMS", "SEND" });
    sms.start(kPort, QStringLiteral("+4917012"), QStringLiteral("Grüße, 5 € \"ok\"\r\nZeile 2"));
    m_link->feed("**");

    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.first().at(0).value<SmsSession::Outcome>(), SmsSession::Outcome::Success);
    QCOMPARE(handing.count(), 1);
    QCOMPARE(m_link->writes(),
        QByteArrayList({ "S",
            "+4917012\"\r>Gr\xFC\xDF"
            "e, 5 \x80 \"ok\"\r\nZeile 2\x1A" }));
    QVERIFY(!m_link->isOpen());
}

void tst_Sessions::smsEndsAtFirstUnfitReply_data()
{
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<SmsSession::Outcome>("outcome");
    QTest::addColumn<int>("writes");

    using O = SmsSession::Outcome;
    QTest::newRow("four characters after S") << QByteArrayList { "SMSX" } << O::NoAnswer << 1;
    QTest::newRow("other three characters after S") << QByteArrayList { "SMX" } << O::NoAnswer << 1;
    QTest::newRow("FAIL") << QByteArrayList { "SMS", "FAIL" } << O::SendFailed << 2;
    QTest::newRow("three characters after the SMS") << QByteArrayList { "SMS", "SEN" } << O::NoAnswer << 2;
    QTest::newRow("five characters after the SMS") << QByteArrayList { "SMS", "SENDX" } << O::NoAnswer << 2;
}

void tst_Sessions::smsEndsAtFirstUnfitReply()
{
    QFETCH(QByteArrayList, replies);
    QFETCH(SmsSession::Outcome, outcome);
    QFETCH(int, writes);

    SmsSession sms(m_link, fast());
    QSignalSpy finished(&sms, &SmsSession::finished);
    m_link->setReplies(replies);
    sms.start(kPort, QStringLiteral("0123"), QStringLiteral("Hallo"));
    m_link->feed("*");
    QVERIFY(waitFinished(finished));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().at(0).value<SmsSession::Outcome>(), outcome);
    QCOMPARE(m_link->writes().size(), writes);
    QVERIFY(!m_link->isOpen());
}

QTEST_GUILESS_MAIN(tst_Sessions)
#include "tst_sessions.moc"
