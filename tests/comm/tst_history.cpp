// The history of the line: what the communication page writes into it while it talks to the module
// simulator on a pseudo-terminal, the table and the curve that show it, and the window around them.

#include "comm/frm8.h"
#include "comm/history.h"
#include "comm/historycurve.h"
#include "comm/historymodel.h"
#include "comm/historyrecorder.h"
#include "comm/historywindow.h"
#include "comm/portcatalog.h"
#include "comm/signallevel.h"
#include "core/appsetup.h"
#include "core/cp1252.h"
#include "core/csv.h"
#include "core/filekind.h"
#include "shell/windowcatalog.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"
#include "support/testfiles.h"
#include "support/fasttimeouts.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QContextMenuEvent>
#include <QApplication>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <sys/stat.h>

using namespace std::chrono_literals;
using Kind = HistoryEvent::Kind;

namespace {

// The events of one kind, oldest first, and their texts.
QList<HistoryEvent> eventsOf(const History &history, Kind kind)
{
    QList<HistoryEvent> events;
    for (const HistoryEvent &event : history.events()) {
        if (event.kind == kind)
            events << event;
    }
    return events;
}

QStringList textsOf(const History &history, Kind kind)
{
    QStringList texts;
    for (const HistoryEvent &event : eventsOf(history, kind))
        texts << event.text;
    return texts;
}

// The program's windows, with the box of a page left during an upload answered at once.
ProgramWindowOptions programOptions()
{
    ProgramWindowOptions options;
    options.dialogs.showMessage = [](QWidget *, const QString &, const QString &) {};
    return options;
}

} // namespace

class tst_History : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlCharactersAreWrittenOut_data();
    void controlCharactersAreWrittenOut();
    void levelStatisticsCoverTheLastMinuteAndTheRun();
    void modelTakesEventsInChunksWithinItsBound();
    void curveKeepsItsLatestPointsAndPieces();

    void statusMessagesAreKeptAsReceived();
    void levelsAreShownInDbm_data();
    void levelsAreShownInDbm();
    void uploadIsWrittenStepByStep();
    void failedUploadSaysWhereItStopped_data();
    void failedUploadSaysWhereItStopped();
    void leavingThePageIsWrittenAsTheUploadsEnd();
    void smsIsWrittenStepByStep();
    void floodKeepsEveryCharacterWithinTheBound();

    void windowFiltersCopiesAndSaves();
    void windowOpensFromThePageAndLeavesItRunning();
    void windowBelongsToTheStartWindow();

private:
    Frm8 *openPage(const QString &port, int historyBound = History::kDefaultBound);
    void setLanguage(const QString &code);
    bool startSim(const QStringList &extra = {});

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_cwd;
    QString m_oldCwd;
    std::unique_ptr<SimProcess> m_sim;
    Frm8 *m_page = nullptr;
};

void tst_History::initTestCase()
{
    QVERIFY(m_settings.isValid());
    AppSetup::setUpApplication({ m_settings.path() });
    registerProgramWindows(programOptions());
}

void tst_History::init()
{
    m_cwd = std::make_unique<QTemporaryDir>();
    QVERIFY(m_cwd->isValid());
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_cwd->path());
    m_sim = std::make_unique<SimProcess>();
}

void tst_History::cleanup()
{
    WindowRegistry::instance().reset();
    registerProgramWindows(programOptions());
    m_page = nullptr;
    m_sim.reset();
    QDir::setCurrent(m_oldCwd);
    m_cwd.reset();
}

Frm8 *tst_History::openPage(const QString &port, int historyBound)
{
    Frm8Options options = programOptions().frm8;
    options.dialogs = programOptions().dialogs;
    options.timeouts = fastTimeouts();
    options.historyBound = historyBound;
    options.discoverPorts = [port] { return QList<PortEntry> { PortCatalog::entryFor(port) }; };
    WindowRegistry::instance().registerFactory(
        QStringLiteral("frm8"), [options] { return new Frm8(nullptr, options); });
    m_page = WindowRegistry::instance().get<Frm8>(QStringLiteral("frm8"));
    return m_page;
}

void tst_History::setLanguage(const QString &code)
{
    WindowRegistry::instance().window(QStringLiteral("frm1"))->controlAs<QLineEdit>("language")->setText(code);
}

bool tst_History::startSim(const QStringList &extra)
{
    return m_sim->start(QStringList { QStringLiteral("--announce-ms"), QStringLiteral("30"),
                            QStringLiteral("--abandon-ms"), QStringLiteral("0"), QStringLiteral("--quiet-log") }
        + extra);
}

// --- Rules

void tst_History::controlCharactersAreWrittenOut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QStringLiteral("PEGEL Netz: 17") << QStringLiteral("PEGEL Netz: 17");
    QTest::newRow("CR LF") << QStringLiteral("A\r\nB") << QStringLiteral("A<CR><LF>B");
    QTest::newRow("lone CR, lone LF") << QStringLiteral("\rA\n") << QStringLiteral("<CR>A<LF>");
    QTest::newRow("tab, NUL") << QString::fromLatin1("a\tb\0c", 5) << QStringLiteral("a<TAB>b<NUL>c");
    QTest::newRow("escape, DEL") << QStringLiteral("\x1b[\x7f") << QStringLiteral("<x1B>[<x7F>");
    QTest::newRow("not control") << QStringLiteral("Tür ≥ <") << QStringLiteral("Tür ≥ <");
}

void tst_History::controlCharactersAreWrittenOut()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(visibleControlCharacters(text), shown);
}

void tst_History::levelStatisticsCoverTheLastMinuteAndTheRun()
{
    const QDateTime t0 = QDateTime::fromString(QStringLiteral("2026-12-08T10:00:00.000Z"), Qt::ISODateWithMs);
    History history;
    // Levels 99 and 45 have no dBm: they count nowhere.
    const QList<std::pair<int, int>> levels = { { 0, 0 }, { 10, 31 }, { 30, 99 }, { 70, 17 }, { 80, 45 },
        { 100, 1 }, { 125, 30 } };
    for (const auto &[second, level] : levels)
        history.append({ t0.addSecs(second), Kind::Level, QString(), level });

    const LevelSummary whole = history.levels().wholeRun();
    QCOMPARE(whole.count, 5);
    QCOMPARE(whole.min, -113);
    QCOMPARE(whole.max, -51);
    QCOMPARE(whole.average, (-113 - 51 - 79 - 111 - 53) / 5.0);

    // The minute before 10:02:05 holds the levels of 10:01:10 (17), 10:01:40 (1) and 10:02:05 (30).
    const LevelSummary recent = history.levels().lastMinute(t0.addSecs(125));
    QCOMPARE(recent.count, 3);
    QCOMPARE(recent.min, -111);
    QCOMPARE(recent.max, -53);
    QCOMPARE(recent.average, (-79 - 111 - 53) / 3.0);
    QCOMPARE(history.levels().lastMinute(t0.addSecs(300)).count, 0);
    history.clear();
    QCOMPARE(history.levels().wholeRun().count, 0);
}

void tst_History::modelTakesEventsInChunksWithinItsBound()
{
    History history(nullptr, 5);
    history.append(Kind::Status, QStringLiteral("before"));
    HistoryModel model(&history);
    QCOMPARE(model.rowCount(), 1);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    for (int i = 0; i < 12; ++i) {
        history.append(Kind::Status, QString::number(i));
        QVERIFY(model.pendingCount() <= model.bound());
    }
    QCOMPARE(model.rowCount(), 1); // nothing yet: the rows come in a chunk
    QTRY_COMPARE(model.rowCount(), 5);
    QCOMPARE(inserted.count(), 1);
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, HistoryModel::TextColumn).data().toString();
    QCOMPARE(texts, QStringList({ "7", "8", "9", "10", "11" }));
    // Every event is a row or counted as dropped, in the model as in the history.
    QCOMPARE(model.droppedCount(), 13 - 5);
    QCOMPARE(model.droppedCount(), history.droppedCount());

    history.append({ QDateTime::currentDateTime(), Kind::Level, QStringLiteral("x"), 0 });
    model.flush();
    QCOMPARE(model.index(4, HistoryModel::LevelColumn).data().toString(), QStringLiteral("0"));
    QCOMPARE(model.index(4, HistoryModel::DbmColumn).data().toString(), QStringLiteral("<= -113"));
    history.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.droppedCount(), 0);
}

void tst_History::curveKeepsItsLatestPointsAndPieces()
{
    const QDateTime t0 = QDateTime::currentDateTime().addSecs(-3600);
    History history;
    HistoryCurve curve(&history);
    int second = 0;
    const auto level = [&](int value) { history.append({ t0.addMSecs(100 * second++), Kind::Level, QString(), value }); };
    // A module that says "unknown" after every level: one piece each, the latest kept.
    for (int i = 0; i < HistoryCurve::kMaxPieces + 50; ++i) {
        level(i % 31);
        level(99);
    }
    curve.flush();
    QCOMPARE(curve.pieces().size(), HistoryCurve::kMaxPieces);
    QCOMPARE(curve.pieces().constLast().constFirst().y(), double(*signalLevelDbm((HistoryCurve::kMaxPieces + 49) % 31)));

    // A long run without gaps: the latest points, in order.
    for (int i = 0; i < HistoryCurve::kMaxPoints + 100; ++i)
        level(i % 31);
    curve.flush();
    qsizetype points = 0;
    for (const QList<QPointF> &piece : curve.pieces())
        points += piece.size();
    QCOMPARE(points, HistoryCurve::kMaxPoints);
    const QList<QPointF> last = curve.pieces().constLast();
    QCOMPARE(last.constLast().y(), double(*signalLevelDbm((HistoryCurve::kMaxPoints + 99) % 31)));
    QVERIFY(std::is_sorted(last.cbegin(), last.cend(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); }));
}

// --- What the page writes, against the simulator

void tst_History::statusMessagesAreKeptAsReceived()
{
    QVERIFY(startSim({ "--scenario", "silent" }));
    openPage(m_sim->devicePath());
    setLanguage(QStringLiteral("1"));
    m_page->cmd2_Click();

    // As the module sent them: no "*" of the page, each line end as it came; GSM.DAT as the page writes it.
    const QList<QByteArray> sent = { "AB", "AB", "X\r\nY", "1\r2\n3", "PEGEL Netz: 17" };
    for (int i = 0; i < sent.size(); ++i) {
        m_sim->say(sent.at(i));
        QTRY_COMPARE_WITH_TIMEOUT(textsOf(*m_page->history(), Kind::Status).size(), i + 1, 10000);
    }
    QStringList expected;
    for (const QByteArray &bytes : sent)
        expected << fromCp1252(bytes);
    QCOMPARE(textsOf(*m_page->history(), Kind::Status), expected);
    QCOMPARE(fileBytes(QStringLiteral("GSM.DAT")),
        QByteArray("AB\r\nAB*\r\nX\r\n\r\nY\r\n1\r\n2\r\n3*\r\nPEGEL Netz: 17\r\n"));
    // The level follows its message.
    const HistoryEvent &level = m_page->history()->events().back();
    QCOMPARE(level.kind, Kind::Level);
    QCOMPARE(level.level, 17);
    QCOMPARE(level.text, QStringLiteral("Signal -79 dBm"));
}

void tst_History::levelsAreShownInDbm_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("dbmColumn"); // the CSV's
    QTest::addColumn<QString>("shown"); // the table's
    QTest::addColumn<bool>("onTheCurve");
    QTest::newRow("0") << 0 << "-113" << "<= -113" << true;
    QTest::newRow("1") << 1 << "-111" << "-111" << true;
    QTest::newRow("17") << 17 << "-79" << "-79" << true;
    QTest::newRow("30") << 30 << "-53" << "-53" << true;
    QTest::newRow("31") << 31 << "-51" << ">= -51" << true;
    QTest::newRow("99") << 99 << "" << "" << false;
}

void tst_History::levelsAreShownInDbm()
{
    QFETCH(int, level);
    QFETCH(QString, dbmColumn);
    QFETCH(QString, shown);
    QFETCH(bool, onTheCurve);

    QVERIFY(startSim({ "--scenario", "silent" }));
    openPage(m_sim->devicePath());
    setLanguage(QStringLiteral("1"));
    m_page->showHistory();
    HistoryWindow *window = m_page->historyWindow();
    m_page->cmd2_Click();
    // A known level, the one of the row, and a known level again: 99 parts the curve in two.
    const QList<int> levels = { 17, level, 17 };
    for (int i = 0; i < levels.size(); ++i) {
        m_sim->say(QStringLiteral("PEGEL Netz: %1").arg(levels.at(i), 2, 10, QLatin1Char('0')).toLatin1());
        QTRY_COMPARE_WITH_TIMEOUT(textsOf(*m_page->history(), Kind::Level).size(), i + 1, 10000);
    }
    const HistoryEvent middle = eventsOf(*m_page->history(), Kind::Level).at(1);
    QCOMPARE(middle.level, level);
    QCOMPARE(historyCsvFields(middle).at(4), dbmColumn);
    QCOMPARE(historyCsvFields(middle).at(3), QString::number(level));

    window->model()->flush();
    const int row = window->model()->rowCount() - 3; // status, level, status, level: the middle level
    QCOMPARE(window->model()->index(row, HistoryModel::LevelColumn).data().toString(), QString::number(level));
    QCOMPARE(window->model()->index(row, HistoryModel::DbmColumn).data().toString(), shown);

    window->curve()->flush();
    const QList<QList<QPointF>> pieces = window->curve()->pieces();
    if (onTheCurve) {
        QCOMPARE(pieces.size(), 1);
        QCOMPARE(pieces.at(0).size(), 3);
        QCOMPARE(pieces.at(0).at(1).y(), double(*signalLevelDbm(level)));
    } else {
        QCOMPARE(pieces.size(), 2);
        QCOMPARE(pieces.at(0).size(), 1);
        QCOMPARE(pieces.at(1).size(), 1);
    }
    // Two values of -79 dBm and the one of the row, in the last minute as in the whole run.
    const int count = onTheCurve ? 3 : 2;
    const QString figures = window->curve()->wholeRunText();
    QVERIFY2(figures.contains(QStringLiteral("(%1 values)").arg(count)), qPrintable(figures));
    QCOMPARE(window->curve()->lastMinuteText(), figures);
}

void tst_History::uploadIsWrittenStepByStep()
{
    QVERIFY(startSim());
    openPage(m_sim->devicePath());
    setLanguage(QStringLiteral("1"));
    m_page->showHistory();
    QProgressBar *progress = m_page->historyWindow()->progressBar();
    // What the bar says at each step, after the window has heard of it.
    QStringList said;
    connect(m_page->historyRecorder(), &HistoryRecorder::uploadProgress, this, [&] { said << progress->text(); });

    m_page->cmd_Click();
    QVERIFY(progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QVERIFY(!progress->isVisible());

    QStringList expected = { "Looking for module on " + m_sim->devicePath(), "Module found (\"*\"), \"D\" sent",
        "Answer \"VP\": version accepted" };
    QStringList bar = { QStringLiteral("Looking for module…") };
    for (int block = 1; block <= 10; ++block) {
        expected << QStringLiteral("Block %1 of 10 acknowledged (\"%2\")")
                        .arg(block)
                        .arg(block == 10 ? QStringLiteral("REC") : QStringLiteral("XX%1").arg(block));
        bar << QStringLiteral("block %1 of 10").arg(block);
    }
    expected << QStringLiteral("All data transferred, the module restarts");
    QCOMPARE(textsOf(*m_page->history(), Kind::Upload), expected);
    QCOMPARE(said, bar);
}

void tst_History::failedUploadSaysWhereItStopped_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("scenario");
    QTest::addColumn<QStringList>("lastLines");

    QTest::newRow("wrong acknowledgement, English")
        << "1" << QStringList { "--scenario", "wrong-ack", "--block", "3" }
        << QStringList { "Block 2 of 10 acknowledged (\"XX2\")", "Block 3 of 10: answer \"XX4\" instead of \"XX3\"",
               "Transfer incomplete: block 3 not acknowledged" };
    QTest::newRow("wrong version, German")
        << "0" << QStringList { "--scenario", "wrong-version" }
        << QStringList { "Modul gefunden (\"*\"), \"D\" gesendet", "Antwort \"VX\" statt \"VP\": falsche Version" };
    QTest::newRow("last block answered as the first, French")
        << "2" << QStringList { "--scenario", "wrong-ack", "--block", "10" }
        << QStringList { "Bloc 10 sur 10 : réponse \"XX1\" au lieu de \"REC\"",
               "Transfert incomplet : bloc 10 non acquitté" };
    QTest::newRow("module hangs after block 6, English")
        << "1" << QStringList { "--scenario", "no-answer", "--block", "6" }
        << QStringList { "Block 5 of 10 acknowledged (\"XX5\")", "Transfer incomplete: block 6 not acknowledged" };
}

void tst_History::failedUploadSaysWhereItStopped()
{
    QFETCH(QString, language);
    QFETCH(QStringList, scenario);
    QFETCH(QStringList, lastLines);

    QVERIFY(startSim(scenario));
    openPage(m_sim->devicePath());
    setLanguage(language);
    m_page->cmd_Click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    const QStringList lines = textsOf(*m_page->history(), Kind::Upload);
    QCOMPARE(lines.mid(lines.size() - lastLines.size()), lastLines);
}

void tst_History::leavingThePageIsWrittenAsTheUploadsEnd()
{
    // The module stops answering after block 2; the user leaves the page before the limit runs out. That is
    // no missing answer, and the history says so.
    QVERIFY(startSim({ "--scenario", "no-answer", "--block", "2" }));
    openPage(m_sim->devicePath());
    setLanguage(QStringLiteral("1"));
    m_page->cmd_Click();
    QTRY_VERIFY_WITH_TIMEOUT(textsOf(*m_page->history(), Kind::Upload).contains(
                                 QStringLiteral("Block 1 of 10 acknowledged (\"XX1\")")),
        10000);
    m_page->formDeactivate();
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->uploadRunning(), 10000);
    QCOMPARE(textsOf(*m_page->history(), Kind::Upload).constLast(), QStringLiteral("Stopped: the page was left"));
}

void tst_History::smsIsWrittenStepByStep()
{
    QVERIFY(startSim({ "--status-ms", "400" }));
    openPage(m_sim->devicePath());
    setLanguage(QStringLiteral("0"));
    m_page->cmd3_Click();
    m_page->controlAs<QPlainTextEdit>(QStringLiteral("Text1"))->setPlainText(QStringLiteral("Pumpe 3 aus"));
    m_page->controlAs<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("+49170123"));
    m_page->cmdS_Click();
    // The module's report after the SMS arrives through the monitoring that follows.
    QTRY_VERIFY_WITH_TIMEOUT(!textsOf(*m_page->history(), Kind::Status).isEmpty(), 10000);
    QCOMPARE(textsOf(*m_page->history(), Kind::Sms),
        QStringList({ "Modul wird gesucht an " + m_sim->devicePath(), "Modul gefunden (\"*\"), \"S\" gesendet",
            "Antwort \"SMS\": das Modul nimmt die SMS an", "Nummer \"+49170123\" und Text \"Pumpe 3 aus\" übergeben",
            "Antwort \"SEND\": SMS gesendet" }));
    // In the order it happened: the SMS first, then what the module reported.
    const auto &events = m_page->history()->events();
    QCOMPARE(events.back().kind == Kind::Level ? events.at(events.size() - 2).kind : events.back().kind, Kind::Status);
    QCOMPARE(events.front().kind, Kind::Sms);
}

void tst_History::floodKeepsEveryCharacterWithinTheBound()
{
    // More than 5 MB from a module that never pauses long enough to end a message: the page passes it on in
    // pieces, and the history keeps its last 300 lines. Each of the simulator's commands takes under a MB.
    constexpr int kBound = 300;
    constexpr int kCommands = 6;
    constexpr int kLinesPerCommand = 9000;
    QVERIFY(startSim({ "--scenario", "silent" }));
    openPage(m_sim->devicePath(), kBound);
    setLanguage(QStringLiteral("1"));
    m_page->showHistory();
    HistoryWindow *window = m_page->historyWindow();
    QString received;
    int mostPending = 0;
    connect(m_page->history(), &History::appended, this, [&](const HistoryEvent &event) {
        if (event.kind == Kind::Status)
            received += event.text;
        mostPending = qMax(mostPending, window->model()->pendingCount());
    });
    m_page->cmd2_Click();

    QByteArray sent;
    for (int command = 0; command < kCommands; ++command) {
        QByteArray bytes;
        for (int line = 0; line < kLinesPerCommand; ++line)
            bytes += QByteArray::number(command * kLinesPerCommand + line).rightJustified(8, '0')
                + ": T1 045%  T2 012%  PEGEL Netz: 17 ................................................\r\n";
        sent += bytes;
        m_sim->say(bytes);
    }
    QVERIFY(sent.size() > 5 * 1000 * 1000);
    QTRY_VERIFY_WITH_TIMEOUT(received.size() >= sent.size(), 120000);
    QCOMPARE(toCp1252(received), sent); // nothing lost, nothing joined out of order, nothing added

    window->model()->flush();
    const History &history = *m_page->history();
    QVERIFY(int(history.events().size()) <= kBound);
    QCOMPARE(window->model()->rowCount(), int(history.events().size()));
    QVERIFY(mostPending <= kBound);
    QCOMPARE(history.droppedCount() + qint64(history.events().size()), window->model()->droppedCount()
            + window->model()->rowCount());
    QVERIFY(window->notice()->text().contains(QStringLiteral("the last %1 are kept").arg(kBound)));
    // What is kept is the end of what came, each piece whole.
    QString kept;
    for (const HistoryEvent &event : history.events()) {
        if (event.kind == Kind::Status)
            kept += event.text;
    }
    QVERIFY(!kept.isEmpty());
    QVERIFY(received.endsWith(kept));
}

// --- The window

void tst_History::windowFiltersCopiesAndSaves()
{
    setLanguage(QStringLiteral("1"));
    History history;
    const QDateTime t = QDateTime::fromString(QStringLiteral("2026-12-08T10:00:00.042+01:00"), Qt::ISODateWithMs);
    history.append({ t, Kind::Status, QStringLiteral("Netz: eingebucht\r\n"), std::nullopt });
    history.append({ t.addSecs(1), Kind::Status, QStringLiteral("PEGEL Netz: 17"), std::nullopt });
    history.append({ t.addSecs(1), Kind::Level, QStringLiteral("Signal -79 dBm"), 17 });
    history.append({ t.addSecs(2), Kind::Upload, QStringLiteral("Block 1 of 10 acknowledged (\"XX1\")"), std::nullopt });
    history.append({ t.addSecs(3), Kind::Level, QStringLiteral("Signal -53 dBm"), 30 });
    // What "Save as…" asks and says, answered here.
    QString path;
    QStringList messages;
    DialogOptions dialogs;
    dialogs.saveFileName = [&path](QWidget *, const QString &, const QString &suggested, const QString &) {
        return suggested.endsWith(QLatin1String(".csv")) ? path : QString();
    };
    dialogs.showMessage = [&messages](QWidget *, const QString &, const QString &text) { messages << text; };
    HistoryWindow window(&history, nullptr, nullptr, dialogs);
    window.show();
    window.model()->flush();
    QCOMPARE(window.shownRows()->rowCount(), 5);
    // Nothing was measured while the upload ran: the curve has a gap there.
    window.curve()->flush();
    QCOMPARE(window.curve()->pieces().size(), 2);

    QTest::keyClicks(window.filterBox(), QStringLiteral("pegel"));
    QCOMPARE(window.shownRows()->rowCount(), 1);
    QCOMPARE(window.notice()->text(), QStringLiteral("1 of 5 lines"));
    window.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("10:00:01.042\tStatus\tPEGEL Netz: 17\t\t\n"));

    // Saved as shown: the filter applies; the text exactly as received.
    path = QDir::current().filePath(QStringLiteral("run.csv"));
    window.filterBox()->clear();
    window.chooseAndSave();
    QByteArray csv = csvLine(historyCsvHeader()).toUtf8();
    for (const HistoryEvent &event : history.events())
        csv += csvLine(historyCsvFields(event)).toUtf8();
    QCOMPARE(fileBytes(path), csv);
    QVERIFY(csv.contains("2026-12-08T10:00:00.042+01:00,status,\"Netz: eingebucht\r\n\",,\r\n"));
    QVERIFY(csv.contains(",level,Signal -79 dBm,17,-79\r\n"));

    // What is not a file is never opened; a folder that cannot be written is said so. Both in French.
    setLanguage(QStringLiteral("2"));
    QCOMPARE(window.windowTitle(), QStringLiteral("GSM - Historique"));
    QCOMPARE(window.model()->headerData(HistoryModel::KindColumn, Qt::Horizontal).toString(), QStringLiteral("Type"));
    const QString fifo = QDir::current().filePath(QStringLiteral("fifo"));
    QCOMPARE(mkfifo(qPrintable(fifo), 0600), 0);
    QVERIFY(!window.saveAs(fifo));
    QVERIFY(!window.saveAs(QDir::current().filePath(QStringLiteral("missing/run.csv"))));
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages.at(0).startsWith(QStringLiteral("L'historique n'a pas pu être enregistré !")));
    QVERIFY(messages.at(0).endsWith(QStringLiteral("Ce n'est pas un fichier.")));
    QCOMPARE(fileKindOf(fifo), FileKind::Fifo);
}

void tst_History::windowOpensFromThePageAndLeavesItRunning()
{
    QVERIFY(startSim({ "--scenario", "silent" }));
    openPage(m_sim->devicePath());
    setLanguage(QStringLiteral("0"));
    m_page->show();
    m_page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page));
    m_page->cmd2_Click();
    m_sim->say("AB");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), QStringLiteral("AB"), 10000);

    QTest::keyClick(m_page, Qt::Key_H, Qt::ControlModifier);
    HistoryWindow *window = m_page->historyWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(window->windowTitle(), QStringLiteral("GSM - Verlauf"));
    // Looking at the history is not leaving the page: monitoring goes on and the window fills.
    QVERIFY(m_page->statusRunning());
    m_sim->say("CD");
    QTRY_COMPARE_WITH_TIMEOUT(window->model()->rowCount(), 2, 10000);
    QCOMPARE(window->model()->index(1, HistoryModel::TextColumn).data().toString(), QStringLiteral("CD"));
    QCOMPARE(m_page->meldText(), QStringLiteral("CD*"));

    // The page's context menu offers it too, with its key.
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!window->isVisible());
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), m_page->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(m_page, &menuEvent);
    QMenu *menu = m_page->findChild<QMenu *>();
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Verlauf…"));
    QCOMPARE(menu->actions().at(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    menu->actions().at(0)->trigger();
    QTRY_VERIFY(window->isVisible());
    QCOMPARE(m_page->historyWindow(), window); // one window for the run
    menu->close();
}

void tst_History::windowBelongsToTheStartWindow()
{
    // The page as the program makes it: the start window owns it, and the history window with it.
    FormWindow *start = WindowRegistry::instance().window(QStringLiteral("frmStart"));
    start->show();
    QVERIFY(QTest::qWaitForWindowExposed(start));
    auto *page = WindowRegistry::instance().get<Frm8>(QStringLiteral("frm8"));
    page->showHistory();
    HistoryWindow *window = page->historyWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->parentWidget(), start);
    QCOMPARE(window->windowHandle()->transientParent(), start->windowHandle());
    // Not one of the program's windows, whose activation would be leaving the page.
    QVERIFY(!FormWindow::isProgramWindow(window));
}

QTEST_MAIN(tst_History)
#include "tst_history.moc"
