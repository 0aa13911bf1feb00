// How long an upload takes against a module on a 9600-baud line, next to the time the bytes themselves
// need on that line: the waits should add little to it.

#include "benchsim.h"

#include "comm/parameterrecord.h"
#include "comm/seriallink.h"
#include "comm/uploadsession.h"
#include "support/mapcontrolvalues.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {
constexpr double kBaud = 9600.0;
constexpr double kBitsPerCharacter = 10.0; // start bit, 8 data bits, stop bit
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

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

    QtSerialLink link;
    UploadSession upload(&link);
    QElapsedTimer total;
    QElapsedTimer exchange;
    UploadSession::Outcome outcome = UploadSession::Outcome::NoAnswer;
    QObject::connect(&upload, &UploadSession::moduleFound, [&] { exchange.start(); });
    QObject::connect(&upload, &UploadSession::finished, &app, [&](UploadSession::Outcome o) {
        outcome = o;
        app.quit();
    });

    total.start();
    upload.start(port, *record);
    app.exec();
    const double exchangeMs = double(exchange.nsecsElapsed()) / 1e6;
    const double totalMs = double(total.nsecsElapsed()) / 1e6;
    stopSimulator(sim);
    if (outcome != UploadSession::Outcome::Success) {
        std::fprintf(stderr, "the upload did not succeed\n");
        return 1;
    }

    // From the module's "*" on: "D", "VP", the record, nine "XXn" and "REC".
    const qint64 sent = 1 + record->size();
    const qint64 answered = 2 + 9 * 3 + 3;
    const double lineMs = double(sent + answered) * kBitsPerCharacter / kBaud * 1000.0;
    std::printf("upload against a module paced at 9600 baud\n");
    std::printf("bytes exchanged:  %lld sent, %lld received\n", static_cast<long long>(sent),
        static_cast<long long>(answered));
    std::printf("line time:        %.1f ms\n", lineMs);
    std::printf("upload time:      %.1f ms (from the module's \"*\"; %.1f ms with the search)\n", exchangeMs,
        totalMs);
    std::printf("ratio:            %.2f\n", exchangeMs / lineMs);
    std::printf("(the simulator passes both directions through the line at 9600 baud: %.1f ms of it are the\n"
                " module's replies; the rest of the time above the line time is the waiting between blocks)\n",
                double(answered) * kBitsPerCharacter / kBaud * 1000.0);
    return 0;
}
