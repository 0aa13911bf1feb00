// What a flood costs the history: more than 5 MB of status text from the module simulator without a pause,
// through the serial link and status monitoring into the history and its table model; then 300,000 short
// events straight into a history of 100,000 lines. Prints wall time, CPU time and the peak memory.

#include "benchsim.h"

#include "comm/history.h"
#include "comm/historymodel.h"
#include "comm/seriallink.h"
#include "comm/statussession.h"
#include "support/simprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

long peakMemoryKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SimProcess sim;
    if (!sim.start({ QStringLiteral("--scenario"), QStringLiteral("silent"), QStringLiteral("--quiet-log") })) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    History history;
    HistoryModel model(&history);
    QtSerialLink link;
    StatusSession status(&link);
    qint64 received = 0;
    QObject::connect(&status, &StatusSession::received, [&](const QString &text) {
        history.append(HistoryEvent::Kind::Status, text);
        received += text.size();
    });
    QObject::connect(&status, &StatusSession::signalLevel,
        [&](int level) { history.append(HistoryEvent::Kind::Level, QString(), level); });

    QByteArray sent;
    for (int command = 0; command < 6; ++command) {
        QByteArray bytes;
        for (int line = 0; line < 9000; ++line)
            bytes += QByteArray::number(command * 9000 + line).rightJustified(8, '0')
                + ": T1 045%  T2 012%  PEGEL Netz: 17 ................................................\r\n";
        sent += bytes;
    }
    const CpuTime before = cpuTimeSoFar();
    QElapsedTimer wall;
    wall.start();
    status.start(sim.devicePath());
    for (qsizetype at = 0; at < sent.size(); at += 9000 * 100)
        sim.say(sent.mid(at, 9000 * 100));
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (received >= sent.size() || wall.elapsed() > 120000)
            app.quit();
    });
    check.start(20);
    app.exec();
    check.stop();
    model.flush();
    const double floodMs = double(wall.nsecsElapsed()) / 1e6;
    const CpuTime afterFlood = cpuTimeSoFar();
    std::printf("flood of %.1f MB without pauses through the pty\n", double(sent.size()) / 1e6);
    std::printf("received:       %lld characters in %zu lines (%s)\n", static_cast<long long>(received),
        history.events().size(), received == sent.size() ? "all" : "NOT ALL");
    std::printf("wall time:      %.1f ms\n", floodMs);
    std::printf("CPU time:       %.1f ms\n", afterFlood.user + afterFlood.system - before.user - before.system);
    std::printf("peak memory:    %ld kB\n", peakMemoryKb());

    // Short events far beyond the bound, the model taking them in chunks as the window would.
    QElapsedTimer events;
    events.start();
    const QString text = QStringLiteral("PEGEL Netz: 17");
    int appended = 0;
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        for (int i = 0; i < 5000 && appended < 300000; ++i, ++appended)
            history.append(HistoryEvent::Kind::Status, text);
        if (appended >= 300000)
            app.quit();
    });
    feed.start(0);
    app.exec();
    model.flush();
    std::printf("300000 events:  %.1f ms, %d rows kept, %lld dropped\n", double(events.nsecsElapsed()) / 1e6,
        model.rowCount(), static_cast<long long>(model.droppedCount()));
    std::printf("peak memory:    %ld kB\n", peakMemoryKb());
    sim.stop();
    return received == sent.size() ? 0 : 1;
}
