// How much CPU a module search costs while the module stays silent: the search waits on the port and a
// timer, so the process should sleep nearly all of the time.

#include "benchsim.h"

#include "comm/seriallink.h"
#include "comm/uploadsession.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace std::chrono_literals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10;

    QProcess sim;
    const QString port = startSimulator(sim, { QStringLiteral("--scenario"), QStringLiteral("silent") });
    if (port.isEmpty()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    QtSerialLink link;
    LinkTimeouts timeouts;
    timeouts.uploadSearch = std::chrono::seconds(seconds > 0 ? seconds : 10);
    UploadSession upload(&link, timeouts);
    int indicatorTurns = 0;
    QObject::connect(&upload, &UploadSession::busyIndicator, [&indicatorTurns] { ++indicatorTurns; });
    UploadSession::Outcome outcome = UploadSession::Outcome::Success;
    QObject::connect(&upload, &UploadSession::finished, &app, [&](UploadSession::Outcome o) {
        outcome = o;
        app.quit();
    });

    const CpuTime before = cpuTimeSoFar();
    QElapsedTimer wall;
    wall.start();
    upload.start(port, QByteArray(UploadSession::kBlockCount * UploadSession::kBlockSize, ' '));
    app.exec();
    const double wallMs = double(wall.nsecsElapsed()) / 1e6;
    const CpuTime after = cpuTimeSoFar();
    stopSimulator(sim);

    const double user = after.user - before.user;
    const double system = after.system - before.system;
    std::printf("module search against a silent module, limit %lld ms\n",
        static_cast<long long>(timeouts.uploadSearch.count()));
    std::printf(
        "outcome:        %s\n", outcome == UploadSession::Outcome::NoAnswer ? "no answer" : "unexpected");
    std::printf("wall time:      %.1f ms\n", wallMs);
    std::printf("CPU time:       %.1f ms (user %.1f, system %.1f)\n", user + system, user, system);
    std::printf("CPU share:      %.3f %%\n", 100.0 * (user + system) / wallMs);
    std::printf("indicator:      %d turns\n", indicatorTurns);
    return outcome == UploadSession::Outcome::NoAnswer ? 0 : 1;
}
