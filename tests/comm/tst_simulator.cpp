// The module simulator is what every communication test and every training session talks to, so its
// side of the dialogue is checked here byte for byte, over a real pty, without the program in between.

#include "support/testsupport.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace std::chrono_literals;

namespace {

constexpr qsizetype kBlockSize = 64;
constexpr int kBlockCount = 10;
// No timer of the simulator should fire during a dialogue test unless the test asks for it.
const QString kNever = QStringLiteral("600000");

// A record whose bytes cover every value, control characters, Ctrl+Z and "*" included.
QByteArray testRecord()
{
    QByteArray record;
    for (int i = 0; i < kBlockSize * kBlockCount; ++i)
        record.append(char((i * 7 + 3) % 256));
    return record;
}

QByteArray block(int number)
{
    return testRecord().mid((number - 1) * kBlockSize, kBlockSize);
}

QByteArray acknowledgement(int number)
{
    return number == kBlockCount ? QByteArray("REC") : "XX" + QByteArray::number(number);
}

struct Step
{
    QByteArray send;
    QByteArray expect;
};
using Dialogue = QList<Step>;

// "D" and the blocks up to `last`, each acknowledged normally.
Dialogue uploadUpTo(int last)
{
    Dialogue steps { { "D", "VP" } };
    for (int b = 1; b <= last; ++b)
        steps.append(Step { block(b), acknowledgement(b) });
    return steps;
}

QStringList quietArguments(QStringList extra = {})
{
    return extra << QStringLiteral("--announce-ms") << kNever << QStringLiteral("--status-ms") << kNever;
}

} // namespace

Q_DECLARE_METATYPE(Dialogue)

class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void rejectsBadCommandLine_data();
    void rejectsBadCommandLine();
    void answersLikeTheModule_data();
    void answersLikeTheModule();
    void uploadIsAcknowledgedAndRecordedWithoutAnnouncementsInBetween();
    void silentModuleSendsNothing();
    void noiseComesBeforeTheStarAndRepeatsWithItsSeed();
    void strictModuleDropsCommandsUntilItAnnounced();
    void chattyModuleAnnouncesInsideTheUpload();
    void fragmentedWriteComesInPiecesWithGaps();
    void statusMessagesCarryTheLevelTwelvePositionsAfterPegel();
    void reportsStatusAfterSmsThenAnnouncesAgain();
    void reportsStatusAfterRestartWhenAsked();
    void floodStreamsWithoutPauses();
    void stalledExchangeIsAbandoned();
    void hungModuleRecoversOnReset();
    void sayDecodesEscapesAndWindows1252_data();
    void sayDecodesEscapesAndWindows1252();
    void endsCleanlyAndRemovesLink_data();
    void endsCleanlyAndRemovesLink();
    void survivesEndOfCommandInput();
};

void tst_Simulator::rejectsBadCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList { QStringLiteral("--baud") };
    QTest::newRow("unknown scenario")
        << QStringList { QStringLiteral("--scenario"), QStringLiteral("broken") };
    QTest::newRow("block beyond the record")
        << QStringList { QStringLiteral("--block"), QStringLiteral("11") };
    QTest::newRow("interval not a number")
        << QStringList { QStringLiteral("--announce-ms"), QStringLiteral("fast") };
    QTest::newRow("missing value") << QStringList { QStringLiteral("--record") };
    QTest::newRow("value for a flag") << QStringList { QStringLiteral("--status=1") };
    QTest::newRow("seed not a number") << QStringList { QStringLiteral("--seed"), QStringLiteral("x1") };
    QTest::newRow("fragment gap of zero") << QStringList { QStringLiteral("--fragment=0") };
    QTest::newRow("value for chatty") << QStringList { QStringLiteral("--chatty=yes") };
    QTest::newRow("line with unknown parity")
        << QStringList { QStringLiteral("--require-line"), QStringLiteral("9600,x,8,1") };
    QTest::newRow("line with unknown flow control")
        << QStringList { QStringLiteral("--require-line"), QStringLiteral("9600,n,8,1,cts") };
}

void tst_Simulator::rejectsBadCommandLine()
{
    QFETCH(QStringList, arguments);
    QProcess process;
    process.start(SimProcess::executablePath(), arguments);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(!process.readAllStandardError().isEmpty());
}

void tst_Simulator::answersLikeTheModule_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Dialogue>("dialogue");

    const auto scenario = [](const char *name, QStringList extra = {}) {
        return quietArguments(extra << QStringLiteral("--scenario") << QString::fromLatin1(name));
    };
    const Dialogue sms { { "S", "SMS" }, { "0171234567\"\r>Hallo Modul\x1a", "SEND" } };

    QTest::newRow("version") << quietArguments() << Dialogue { { "D", "VP" } };
    QTest::newRow("wrong version") << scenario("wrong-version") << Dialogue { { "D", "VX" } };
    QTest::newRow("extra character before the version")
        << scenario("extra-chars") << Dialogue { { "D", "*VP" } };
    QTest::newRow("stray characters are ignored")
        << quietArguments() << Dialogue { { "xyz\r\n*", "" }, { "D", "VP" } };
    QTest::newRow("block split over several writes")
        << quietArguments()
        << Dialogue { { "D", "VP" }, { block(1).left(30), "" }, { block(1).mid(30), "XX1" } };
    QTest::newRow("paced line") << quietArguments({ QStringLiteral("--pace-9600") }) << uploadUpTo(2);

    Dialogue wrongAck = uploadUpTo(2);
    wrongAck.append(Step { block(3), "XX4" });
    QTest::newRow("wrong ack at block 3") << scenario("wrong-ack") << wrongAck;
    Dialogue wrongAckNine = uploadUpTo(8);
    wrongAckNine.append(Step { block(9), "REC" });
    QTest::newRow("wrong ack at block 9 is that of block 10")
        << scenario("wrong-ack", { QStringLiteral("--block"), QStringLiteral("9") }) << wrongAckNine;
    Dialogue noAnswer = uploadUpTo(1);
    noAnswer.append(Step { block(2), "" });
    noAnswer.append(Step { "D", "" });
    QTest::newRow("no answer after block 2")
        << scenario("no-answer", { QStringLiteral("--block"), QStringLiteral("2") }) << noAnswer;

    QTest::newRow("sms") << quietArguments() << sms;
    QTest::newRow("sms split over several writes")
        << quietArguments()
        << Dialogue { { "S", "SMS" }, { "0171\"\r", "" }, { ">Hi", "" }, { "\x1a", "SEND" } };
    QTest::newRow("sms fails") << scenario("sms-fail")
                               << Dialogue { { "S", "SMS" }, { "0171234567\"\r>Hallo\x1a", "FAIL" } };
    QTest::newRow("sms reply too long") << scenario("sms-long-reply") << Dialogue { { "S", "SMS!" } };
    QTest::newRow("sms without number is refused")
        << quietArguments() << Dialogue { { "S", "SMS" }, { "\"\r>Hallo\x1a", "FAIL" } };
    QTest::newRow("sms without prompt is refused")
        << quietArguments() << Dialogue { { "S", "SMS" }, { "0171\"Hallo\x1a", "FAIL" } };
}

void tst_Simulator::answersLikeTheModule()
{
    QFETCH(QStringList, arguments);
    QFETCH(Dialogue, dialogue);

    SimProcess sim;
    QVERIFY(sim.start(arguments));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));

    QByteArray sent;
    for (qsizetype i = 0; i < dialogue.size(); ++i) {
        const Step &step = dialogue.at(i);
        QVERIFY(line.write(step.send));
        sent += step.send;
        if (!step.expect.isEmpty())
            QCOMPARE(line.read(step.expect.size()), step.expect);
        // Nothing comes where no answer is due, nor after the last answer; anything extra in between
        // would spoil the next comparison.
        if (step.expect.isEmpty() || i == dialogue.size() - 1)
            QCOMPARE(line.readUntilQuiet(60ms), QByteArray());
    }
    QVERIFY(sim.waitForRecorded(sent.size()));
    QCOMPARE(sim.recordedBytes(), sent);
}

void tst_Simulator::uploadIsAcknowledgedAndRecordedWithoutAnnouncementsInBetween()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--announce-ms"), QStringLiteral("20") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));

    QCOMPARE(line.readThrough('*'), QByteArray("*"));
    QVERIFY(line.write("D"));
    // An announcement may have crossed the "D" on the line; after the version there are none.
    const QByteArray version = line.readThrough('P');
    QVERIFY2(version.endsWith("VP") && version.count('*') == version.size() - 2, version.constData());

    const QByteArray record = testRecord();
    for (int b = 1; b <= kBlockCount; ++b) {
        QVERIFY(line.write(block(b)));
        QCOMPARE(line.read(3), acknowledgement(b));
        if (b == 5)
            QCOMPARE(line.readUntilQuiet(150ms), QByteArray()); // a pause mid-transfer: still no "*"
    }
    QVERIFY(sim.waitForRecorded(1 + record.size()));
    QCOMPARE(sim.recordedBytes(), "D" + record);

    // The module restarts and announces itself again.
    QCOMPARE(line.read(1), QByteArray("*"));
}

void tst_Simulator::noiseComesBeforeTheStarAndRepeatsWithItsSeed()
{
    QStringList noises;
    for (int run = 0; run < 2; ++run) {
        SimProcess sim;
        QVERIFY(sim.start({ QStringLiteral("--noise"), QStringLiteral("--seed"), QStringLiteral("5"),
            QStringLiteral("--announce-ms"), QStringLiteral("30") }));
        PtyLine line;
        QVERIFY(line.open(sim.devicePath()));
        const QByteArray first = line.readThrough('*');
        QVERIFY2(first.contains("\r\nRM425T") && first.indexOf('*') == first.size() - 1,
            first.toHex().constData());
        QVERIFY(sim.waitForLog(QStringLiteral("seed 5\n")));
        const QString log = sim.log();
        noises << log.mid(log.indexOf(QStringLiteral("boot noise"))).section(QLatin1Char('\n'), 0, 0);
    }
    QCOMPARE(noises.at(0), noises.at(1));
}

void tst_Simulator::strictModuleDropsCommandsUntilItAnnounced()
{
    SimProcess sim;
    QVERIFY(
        sim.start({ QStringLiteral("--strict"), QStringLiteral("--announce-ms"), QStringLiteral("400") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    QVERIFY(line.write("D"));
    QCOMPARE(line.readUntilQuiet(100ms), QByteArray());
    QVERIFY(sim.waitForLog(QStringLiteral("received D before announcing itself, dropped")));

    QCOMPARE(line.readThrough('*', 2s), QByteArray("*"));
    QVERIFY(line.write("S"));
    QCOMPARE(line.read(3), QByteArray("SMS"));
}

void tst_Simulator::chattyModuleAnnouncesInsideTheUpload()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--chatty"), QStringLiteral("--seed"), QStringLiteral("3"),
        QStringLiteral("--announce-ms"), QStringLiteral("20") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    QVERIFY(line.readThrough('*').endsWith('*'));
    QVERIFY(line.write("D"));
    QByteArray replies = line.readThrough('P');
    for (int b = 1; b <= kBlockCount; ++b) {
        QVERIFY(line.write(block(b)));
        replies += line.readThrough(acknowledgement(b).back());
    }
    replies += line.readUntilQuiet(30ms);
    // Without the announcements, the replies are those of a quiet module, in order.
    QByteArray expected = "VP";
    for (int b = 1; b <= kBlockCount; ++b)
        expected += acknowledgement(b);
    QCOMPARE(QByteArray(replies).replace('*', ""), expected);
    const qsizetype inside = replies.left(replies.lastIndexOf("REC")).count('*');
    QVERIFY2(inside >= 1, replies.constData());
}

void tst_Simulator::fragmentedWriteComesInPiecesWithGaps()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--fragment=40"), QStringLiteral("--seed"), QStringLiteral("1"),
        QStringLiteral("--status"), QStringLiteral("--status-ms"), QStringLiteral("100") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    // Pieces of at most eight characters: a fourteen-character message comes in two or more reads.
    QByteArray message = line.read(1, 2s);
    QElapsedTimer span;
    span.start();
    int reads = 1;
    while (message.size() < 14) {
        const QByteArray piece = line.readUntilQuiet(1ms, 1ms);
        if (!piece.isEmpty()) {
            message += piece;
            ++reads;
        }
        QVERIFY(span.elapsed() < 2000);
    }
    QCOMPARE(message, QByteArray("PEGEL Netz: 17"));
    QVERIFY2(reads >= 2, qPrintable(QString::number(reads)));
}

void tst_Simulator::silentModuleSendsNothing()
{
    SimProcess sim;
    QVERIFY(
        sim.start({ QStringLiteral("--scenario"), QStringLiteral("silent"), QStringLiteral("--announce-ms"),
            QStringLiteral("10"), QStringLiteral("--status-ms"), QStringLiteral("10") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    QVERIFY(line.write("DS"));
    QCOMPARE(line.readUntilQuiet(250ms), QByteArray());
    QVERIFY(sim.waitForRecorded(2));
    QCOMPARE(sim.recordedBytes(), QByteArray("DS"));
    // Not even in status mode, as its help says.
    sim.command("status on");
    QVERIFY(sim.waitForLog(QStringLiteral("status messages on")));
    QCOMPARE(line.readUntilQuiet(250ms), QByteArray());
}

void tst_Simulator::statusMessagesCarryTheLevelTwelvePositionsAfterPegel()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--status"), QStringLiteral("--status-ms"), QStringLiteral("100"),
        QStringLiteral("--announce-ms"), QStringLiteral("10") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));

    // Messages are told apart by the pause after them; no announcement comes in status mode.
    QList<QByteArray> messages;
    QDeadlineTimer deadline(5s);
    while (messages.size() < 4 && !deadline.hasExpired()) {
        const QByteArray message = line.readUntilQuiet(50ms);
        if (!message.isEmpty())
            messages.append(message);
    }
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages.first(), QByteArray("PEGEL Netz: 17"));
    int levels = 0;
    for (const QByteArray &message : std::as_const(messages)) {
        QVERIFY2(!message.contains('*'), message.constData());
        const qsizetype p = message.indexOf("PEGEL");
        if (p < 0)
            continue;
        ++levels;
        bool isNumber = false;
        const int level = message.mid(p + 12, 2).toInt(&isNumber);
        QVERIFY2(isNumber && level >= 0 && level <= 31, message.constData());
    }
    QVERIFY(levels >= 1);
}

void tst_Simulator::reportsStatusAfterSmsThenAnnouncesAgain()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--announce-ms"), QStringLiteral("100"), QStringLiteral("--status-ms"),
        QStringLiteral("120"), QStringLiteral("--sms-reports"), QStringLiteral("2") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    QVERIFY(sim.waitForLog(QStringLiteral("announcing")));
    sim.command("quiet");
    QVERIFY(sim.waitForLog(QStringLiteral("announcements off")));
    line.discardInput();

    QVERIFY(line.write("S"));
    QCOMPARE(line.read(3), QByteArray("SMS"));
    QVERIFY(line.write("0171\"\r>Test\x1a"));
    QCOMPARE(line.read(4), QByteArray("SEND"));
    QCOMPARE(line.readUntilQuiet(60ms), QByteArray()); // a pause before each report
    QCOMPARE(line.read(14), QByteArray("PEGEL Netz: 17"));
    QCOMPARE(line.readUntilQuiet(60ms), QByteArray());
    QCOMPARE(line.read(16), QByteArray("Netz: eingebucht"));

    // After its reports the module is idle again: the next thing it sends is an announcement.
    sim.command("announce");
    QCOMPARE(line.read(1), QByteArray("*"));
}

void tst_Simulator::reportsStatusAfterRestartWhenAsked()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--announce-ms"), QStringLiteral("20"), QStringLiteral("--status-ms"),
        QStringLiteral("120"), QStringLiteral("--restart-reports"), QStringLiteral("1") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    QCOMPARE(line.readThrough('*'), QByteArray("*"));
    QVERIFY(line.write("D"));
    QVERIFY(line.readThrough('P').endsWith("VP"));
    for (int b = 1; b <= kBlockCount; ++b) {
        QVERIFY(line.write(block(b)));
        QCOMPARE(line.read(3), acknowledgement(b));
    }
    // The restarted module reports its state before it announces itself again.
    QCOMPARE(line.read(14), QByteArray("PEGEL Netz: 17"));
    QCOMPARE(line.readThrough('*').right(1), QByteArray("*"));
}

void tst_Simulator::floodStreamsWithoutPauses()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--scenario"), QStringLiteral("flood"),
        QStringLiteral("--announce-ms"), QStringLiteral("20") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));

    QCOMPARE(line.readThrough('*'), QByteArray("*"));
    // A gap of 300 ms would end a status message; the stream has none, and no more announcements.
    const QByteArray stream = line.readUntilQuiet(300ms, 400ms);
    QVERIFY2(stream.size() >= 1000, QByteArray::number(stream.size()).constData());
    QVERIFY(!stream.contains('*'));
    QVERIFY(stream.contains("PEGEL"));
}

void tst_Simulator::stalledExchangeIsAbandoned()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--announce-ms"), QStringLiteral("30"), QStringLiteral("--abandon-ms"),
        QStringLiteral("400") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    sim.command("quiet");
    QVERIFY(sim.waitForLog(QStringLiteral("announcements off")));
    line.discardInput();

    QVERIFY(line.write("D"));
    QCOMPARE(line.read(2), QByteArray("VP"));
    QVERIFY(line.write(block(1).left(10)));
    sim.command("announce");
    // Announcements stay off while the transfer waits for its bytes, and resume when it is given up.
    QCOMPARE(line.readUntilQuiet(150ms), QByteArray());
    QVERIFY(sim.waitForLog(QStringLiteral("abandoned")));
    QCOMPARE(line.read(1), QByteArray("*"));
}

void tst_Simulator::hungModuleRecoversOnReset()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--scenario"), QStringLiteral("no-answer"), QStringLiteral("--block"),
        QStringLiteral("1"), QStringLiteral("--announce-ms"), QStringLiteral("20") }));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    QCOMPARE(line.readThrough('*'), QByteArray("*"));
    QVERIFY(line.write("D"));
    QVERIFY(line.readThrough('P').endsWith("VP"));
    QVERIFY(line.write(block(1)));
    QCOMPARE(line.readUntilQuiet(200ms), QByteArray());

    sim.command("reset");
    QCOMPARE(line.read(1), QByteArray("*"));
}

void tst_Simulator::sayDecodesEscapesAndWindows1252_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain text") << QByteArray("say PEGEL Netz: 05") << QByteArray("PEGEL Netz: 05");
    QTest::newRow("escapes") << QByteArray("say A\\rB\\nC\\tD\\\\E") << QByteArray("A\rB\nC\tD\\E");
    QTest::newRow("hex bytes") << QByteArray("say \\x00\\x1a\\xFF\\x2a") << QByteArray("\x00\x1a\xff*", 4);
    QTest::newRow("unknown escape kept") << QByteArray("say a\\qb\\x4") << QByteArray("a\\qb\\x4");
    QTest::newRow("umlauts in Windows-1252") << QByteArray("say Grüße")
                                             << QByteArray("Gr\xfc\xdf"
                                                           "e");
    QTest::newRow("euro sign in Windows-1252") << QByteArray("say 5 €") << QByteArray("5 \x80");
    QTest::newRow("no byte for the character") << QByteArray("say Ω") << QByteArray("?");
    QTest::newRow("blanks kept") << QByteArray("say  a  ") << QByteArray(" a  ");
}

void tst_Simulator::sayDecodesEscapesAndWindows1252()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);
    SimProcess sim;
    QVERIFY(sim.start(quietArguments()));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    sim.command(command);
    QCOMPARE(line.read(expected.size()), expected);
    QCOMPARE(line.readUntilQuiet(50ms), QByteArray());
}

void tst_Simulator::endsCleanlyAndRemovesLink_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("ending");
    QTest::newRow("hang-up mid-transfer") << QStringList { QStringLiteral("--scenario"),
        QStringLiteral("hangup"), QStringLiteral("--block"), QStringLiteral("2") }
                                          << QStringLiteral("transfer");
    QTest::newRow("hangup command") << QStringList() << QStringLiteral("hangup");
    QTest::newRow("quit command") << QStringList() << QStringLiteral("quit");
    QTest::newRow("SIGTERM") << QStringList() << QStringLiteral("sigterm");
    QTest::newRow("SIGINT") << QStringList() << QStringLiteral("sigint");
}

void tst_Simulator::endsCleanlyAndRemovesLink()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, ending);
    QTemporaryDir dir;
    const QString linkPath = dir.filePath(QStringLiteral("ttyRM425T"));
    SimProcess sim;
    QVERIFY(sim.start(quietArguments(arguments) << QStringLiteral("--link") << linkPath));
    QCOMPARE(QFileInfo(linkPath).symLinkTarget(), sim.devicePath());
    PtyLine line;
    QVERIFY(line.open(linkPath));

    if (ending == QLatin1String("transfer")) {
        QVERIFY(line.write("D"));
        QCOMPARE(line.read(2), QByteArray("VP"));
        QVERIFY(line.write(block(1)));
        QCOMPARE(line.read(3), QByteArray("XX1"));
        QVERIFY(line.write(block(2)));
    } else if (ending == QLatin1String("sigterm")) {
        ::kill(pid_t(sim.process().processId()), SIGTERM);
    } else if (ending == QLatin1String("sigint")) {
        ::kill(pid_t(sim.process().processId()), SIGINT);
    } else {
        sim.command(ending.toLatin1());
    }

    QVERIFY(line.waitForHangup());
    QVERIFY(sim.waitForExit());
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo(linkPath).isSymLink());
}

void tst_Simulator::survivesEndOfCommandInput()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--announce-ms"), QStringLiteral("20") }));
    sim.process().closeWriteChannel();
    QVERIFY(sim.waitForLog(QStringLiteral("end of command input")));
    PtyLine line;
    QVERIFY(line.open(sim.devicePath()));
    line.discardInput();
    QCOMPARE(line.read(1), QByteArray("*"));
    QVERIFY(sim.isRunning());
}

QTEST_GUILESS_MAIN(tst_Simulator)
#include "tst_simulator.moc"
