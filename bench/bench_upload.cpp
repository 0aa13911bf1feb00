// How long an upload takes against a module on a 9600-baud line, next to the time the bytes themselves
// need on that line: the waits should add little to it. Several uploads in one run; the median and the
// spread of the ratio are printed, and where the time above the line time goes.

#include "benchsim.h"

#include "core/parameterrecord.h"
#include "comm/seriallink.h"
#include "comm/uploadsession.h"
#include "support/mapcontrolvalues.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double kBaud = 9600.0;
constexpr double kBitsPerCharacter = 10.0; // start bit, 8 data bits, stop bit
constexpr int kDefaultRuns = 9;

double lineMs(qint64 characters)
{
    return double(characters) * kBitsPerCharacter / kBaud * 1000.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct Run
{
    bool succeeded = false;
    double exchangeMs = 0; // from the module's "*" to the last acknowledgement
    std::vector<double> stepMs; // "D" to "VP", then each block to its acknowledgement
};

Run upload(QCoreApplication &app, const QString &port, const QByteArray &record)
{
    QtSerialLink link;
    UploadSession session(&link);
    Run run;
    QElapsedTimer clock;
    double stepStart = 0;
    QObject::connect(&session, &UploadSession::moduleFound, [&] {
        clock.start();
        stepStart = 0;
    });
    const auto stepDone = [&] {
        const double now = double(clock.nsecsElapsed()) / 1e6;
        run.stepMs.push_back(now - stepStart);
        stepStart = now;
    };
    QObject::connect(&session, &UploadSession::transferring, stepDone);
    QObject::connect(&session, &UploadSession::finished, &app, [&](UploadSession::Outcome outcome) {
        stepDone();
        run.exchangeMs = double(clock.nsecsElapsed()) / 1e6;
        run.succeeded = outcome == UploadSession::Outcome::Success;
        app.quit();
    });
    session.start(port, record);
    app.exec();
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : kDefaultRuns;

    const MapControlValues values; // every page at its design values
    RecordProblem problem = RecordProblem::None;
    const auto record = RecordToModuleBytes(BuildParameterRecord(values), &problem);
    if (!record) {
        std::fprintf(stderr, "the parameter record could not be built\n");
        return 1;
    }

    QProcess sim;
    const QString port = startSimulator(
        sim, { QStringLiteral("--pace-9600"), QStringLiteral("--announce-ms"), QStringLiteral("20") });
    if (port.isEmpty()) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    // From the module's "*" on: "D", "VP", the record, nine "XXn" and "REC".
    const qint64 sent = 1 + record->size();
    const qint64 answered = 2 + 9 * 3 + 3;
    const double line = lineMs(sent + answered);
    std::vector<double> ratios;
    std::vector<double> stepExcess; // per exchange, above its own line time
    for (int i = 0; i < runs; ++i) {
        const Run run = upload(app, port, *record);
        if (!run.succeeded) {
            std::fprintf(stderr, "upload %d did not succeed\n", i + 1);
            stopSimulator(sim);
            return 1;
        }
        ratios.push_back(run.exchangeMs / line);
        for (size_t step = 0; step < run.stepMs.size(); ++step) {
            const double stepLine = step == 0 ? lineMs(1 + 2) : lineMs(UploadSession::kBlockSize + 3);
            stepExcess.push_back(run.stepMs[step] - stepLine);
        }
        std::printf("upload %2d: %.1f ms, ratio %.3f\n", i + 1, run.exchangeMs, ratios.back());
    }
    stopSimulator(sim);

    const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("\nupload against a module paced at 9600 baud (8N1: 960 characters a second)\n");
    std::printf("bytes exchanged:  %lld sent, %lld received\n", static_cast<long long>(sent),
        static_cast<long long>(answered));
    std::printf("line time:        %.1f ms\n", line);
    std::printf("ratio:            median %.3f over %d uploads, spread %.3f .. %.3f (%.3f)\n", median(ratios),
        runs, *low, *high, *high - *low);
    std::printf("above line time:  median %.2f ms per exchange (11 exchanges: \"D\"/\"VP\" and ten blocks)\n",
        median(stepExcess));
    std::printf(
        "(each exchange waits for the module's last character to cross the line; what is left is the\n"
        " simulator's 1 ms pace tick and the program's turn-around from reply to next block)\n");
    return 0;
}
