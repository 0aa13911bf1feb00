// Start-up and save figures of the program: the time from process start until the start window is shown
// with all pages created, next to the same time for an empty Qt window, and the time of a save of all
// pages. Each start is measured in a fresh child process; the figures are medians.
#include "shell/frmstart.h"
#include "shell/settingsfile.h"
#include "shell/windowregistry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Child: show a window, print the moment it is exposed.
int runChild(const QString &what, int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    setSettingsDirectory(dir.path());
    QWidget *window = nullptr;
    QWidget empty;
    if (what == QLatin1String("empty")) {
        window = &empty;
    } else {
        registerProgramWindows();
        window = WindowRegistry::instance().window(QStringLiteral("frmStart"));
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    std::printf("%lld\n", static_cast<long long>(nowNs()));
    return 0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

double startupMs(const QString &program, const QString &what)
{
    QProcess child;
    const qint64 started = nowNs();
    child.start(program, { QStringLiteral("--child"), what });
    child.waitForFinished(60000);
    const qint64 shown = child.readAllStandardOutput().trimmed().toLongLong();
    return shown > started ? (shown - started) / 1e6 : -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QString::fromLatin1(argv[1]) == QLatin1String("--child"))
        return runChild(QString::fromLatin1(argv[2]), argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    constexpr int kRuns = 7;
    QList<double> empty, program;
    for (int i = 0; i < kRuns; ++i) {
        empty.append(startupMs(self, QStringLiteral("empty")));
        program.append(startupMs(self, QStringLiteral("program")));
    }

    QTemporaryDir dir;
    setSettingsDirectory(dir.path());
    registerProgramWindows();
    auto *start = static_cast<FrmStart *>(WindowRegistry::instance().window(QStringLiteral("frmStart")));
    start->show();
    QList<double> saves;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        start->SaveAllPages();
        saves.append(timer.nsecsElapsed() / 1e6);
    }

    QTextStream out(stdout);
    out << "platform: " << QGuiApplication::platformName() << ", medians of " << kRuns << " starts\n";
    out << "process start -> empty Qt window shown:               " << median(empty) << " ms\n";
    out << "process start -> start window shown, all pages made: " << median(program) << " ms\n";
    out << "save of all pages (median of 20):                     " << median(saves) << " ms\n";
    return 0;
}
