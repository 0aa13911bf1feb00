// Start-up and save figures of the program: the time from process start until the start window is shown
// (started as the window part starts it, no page built before it is opened), next to the same time for an
// empty Qt window and their ratio (and for a window with one line of text, which pays for loading the fonts
// as any window with text does), the time each page takes when it is opened for the first time, and the
// time of a save of all pages. Each start is measured in a fresh child process of this same program, so
// loading the libraries costs every window alike; the figures are medians. Starts with a settings
// file just under the size a settings file may have and with one far over it show what reading the file
// costs; the child's peak memory is printed beside them.
#include "core/appsetup.h"
#include "shell/frmstart.h"
#include "window/settingsfile.h"
#include "shell/windowcatalog.h"
#include "window/formwindow.h"
#include "window/startwarmup.h"
#include "window/windowregistry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long peakMemoryKb()
{
#ifdef Q_OS_UNIX
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return -1;
#endif
}

// A settings file of about `bytes` bytes: real values of the general page first, then keys no page has.
void writeSettingsFile(const QString &directory, qint64 bytes)
{
    QFile file(directory + QStringLiteral("/ZERiruze.ini"));
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray chunk = "[frm1]\r\ntxtbez=Bench\r\nlanguage=1\r\n";
    for (int i = 0; chunk.size() < 64 * 1024; ++i)
        chunk += "unused" + QByteArray::number(i) + "=" + QByteArray(40, 'x') + "\r\n";
    for (qint64 written = 0; written < bytes; written += chunk.size())
        file.write(chunk);
}

// Child: show a window, print the moment it is exposed and the peak memory. `settings` is the folder of
// the settings file, or empty for a fresh one.
// The program's start is the window part's own: the font configuration read beside building the window.
int runChild(const QString &what, const QString &settings, int argc, char **argv)
{
    const bool program = what == QLatin1String("program");
    std::optional<FontConfigurationWarmUp> warmUp;
    if (program)
        warmUp.emplace();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    AppSetup::setUpApplication({ settings.isEmpty() ? dir.path() : settings });
    QWidget *window = nullptr;
    QWidget empty;
    QLabel line(QStringLiteral("RM425T"), &empty);
    if (what != QLatin1String("text"))
        line.hide();
    if (program) {
        window = showStartWindow(*warmUp);
    } else {
        window = &empty;
        window->show();
    }
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    std::printf("%lld %ld\n", static_cast<long long>(nowNs()), peakMemoryKb());
    return 0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

struct ChildRun
{
    double ms = -1;
    double peakMb = -1;
};

ChildRun startup(const QString &program, const QString &what, const QString &settings = {})
{
    QProcess child;
    const qint64 started = nowNs();
    child.start(program, { QStringLiteral("--child"), what, settings });
    child.waitForFinished(120000);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    ChildRun run;
    const qint64 shown = fields.value(0).toLongLong();
    run.ms = shown > started ? (shown - started) / 1e6 : -1;
    run.peakMb = fields.value(1).toLongLong() / 1024.0;
    return run;
}

double startupMs(const QString &program, const QString &what)
{
    return startup(program, what).ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QString::fromLatin1(argv[1]) == QLatin1String("--child"))
        return runChild(QString::fromLatin1(argv[2]), argc >= 4 ? QString::fromLocal8Bit(argv[3]) : QString(),
            argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    constexpr int kRuns = 15;
    QList<double> empty, text, program;
    for (int i = 0; i < kRuns; ++i) {
        empty.append(startupMs(self, QStringLiteral("empty")));
        text.append(startupMs(self, QStringLiteral("text")));
        program.append(startupMs(self, QStringLiteral("program")));
    }

    // The settings file read at start-up: one just under the bound, one of 46 MB far over it.
    struct Sized
    {
        const char *name;
        qint64 bytes;
        QList<double> ms, peakMb;
    };
    Sized sized[] = { { "settings file of 1000 KB", 1000 * 1024, {}, {} },
        { "settings file of 46 MB   ", 46ll * 1024 * 1024, {}, {} } };
    constexpr int kSizedRuns = 3;
    for (Sized &s : sized) {
        QTemporaryDir folder;
        writeSettingsFile(folder.path(), s.bytes);
        for (int i = 0; i < kSizedRuns; ++i) {
            const ChildRun run = startup(self, QStringLiteral("program"), folder.path());
            s.ms.append(run.ms);
            s.peakMb.append(run.peakMb);
        }
    }
    const ChildRun plain = startup(self, QStringLiteral("program"));

    QTemporaryDir dir;
    AppSetup::setUpApplication({ dir.path() });
    registerProgramWindows();
    auto *start = static_cast<FrmStart *>(WindowRegistry::instance().window(QStringLiteral("frmStart")));
    start->show();
    // Each page opened for the first time: built from the configuration and shown.
    QList<QPair<QString, double>> firstOpen;
    for (const char *name : { "frm1", "frm2", "frm3", "frm4", "frm5", "frm6", "frm7", "frm8", "frm9" }) {
        QElapsedTimer timer;
        timer.start();
        FormWindow *page = WindowRegistry::instance().window(QString::fromLatin1(name));
        page->show();
        QCoreApplication::processEvents();
        firstOpen.append({ QString::fromLatin1(name), timer.nsecsElapsed() / 1e6 });
        page->hide();
    }
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
    out << "process start -> start window shown:                  " << median(program) << " ms\n";
    out << "ratio to the empty window:                            " << median(program) / median(empty) << " x\n";
    out << "process start -> window with one line of text shown:  " << median(text) << " ms\n";
    out << "ratio to the window with one line of text:            " << median(program) / median(text) << " x\n";
    for (const auto &[name, ms] : firstOpen)
        out << "first opening of " << name << ":                                 " << ms << " ms\n";
    out << "save of all pages (median of 20):                     " << median(saves) << " ms\n";
    out << "start without settings file: peak memory " << plain.peakMb << " MB\n";
    for (const Sized &s : sized) {
        out << "process start -> start window shown, " << s.name << ": " << median(s.ms)
            << " ms, peak memory " << median(s.peakMb) << " MB (median of " << kSizedRuns << ")\n";
    }
    return 0;
}
