#include "cli/moduleruns.h"

#include "cli/argumentrules.h"
#include "cli/clitexts.h"
#include "cli/commandline.h"
#include "cli/jsonlines.h"
#include "cli/uploadreport.h"
#include "comm/uploadreport.h"
#include "comm/frm8texts.h"
#include "comm/history.h"
#include "comm/portcatalog.h"
#include "comm/portdiagnosis.h"
#include "comm/porttexts.h"
#include "comm/seriallink.h"
#include "comm/signallevel.h"
#include "comm/smssession.h"
#include "comm/statuslogtexts.h"
#include "comm/statussession.h"
#include "comm/uploadsession.h"
#include "core/csv.h"
#include "core/settingsstore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

using ArgumentRules::shown;
using Frm8Text::Function;

namespace {

void print(std::FILE *stream, QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (text.endsWith(u'\n'))
        text.chop(1);
    text += u'\n';
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The search text without the busy indicator, which only turns in the window.
QString searchText(Function function)
{
    QString text = Frm8Text::searching(function);
    text.chop(1);
    return text;
}

// Each line of a report prefixed with the port, so the reports of several modules can be told apart.
QString perPort(const QString &port, const QString &text)
{
    QStringList lines;
    for (const QString &line :
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            lines.append(port + QStringLiteral(": ") + line);
    }
    return lines.join(u'\n');
}

// The port's own reason, where it gave one, below the page's text.
QString withReason(const QString &text, const QString &reason)
{
    return reason.isEmpty() ? text : text + reason + QStringLiteral("\r\n");
}

// Why the port did not open: the program that holds it or what keeps the user out, where the system shows
// it; else the port's own reason.
QString openFailure(const QString &port, const QString &reason)
{
    const PortSystem system = PortSystem::live();
    const QList<PortDiagnosis::Holder> holders = PortDiagnosis::holders(port, system);
    if (!holders.isEmpty())
        return PortText::heldBy(shown(port), holders);
    if (const std::optional<PortDiagnosis::Permission> why = PortDiagnosis::permission(port, system))
        return PortText::permissionDenied(shown(port), *why);
    return withReason(Frm8Text::portUnavailable(shown(port)), reason);
}

// Standard output as it comes: a long message arrives in pieces that make one line.
void writeOut(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

#ifdef Q_OS_UNIX
// SIGINT and SIGTERM reach the event loop through a pipe: the handler only writes one byte.
int g_signalPipe[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

class SignalWatch
{
public:
    explicit SignalWatch(std::function<void()> handler)
    {
        if (::pipe(g_signalPipe) != 0)
            return;
        for (const int fd : g_signalPipe)
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [handler] {
            char byte = 0;
            [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[0], &byte, 1);
            handler();
        });
        struct sigaction action
        {
        };
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGINT, &action, &m_oldInt);
        ::sigaction(SIGTERM, &action, &m_oldTerm);
        m_installed = true;
    }
    ~SignalWatch()
    {
        if (m_installed) {
            ::sigaction(SIGINT, &m_oldInt, nullptr);
            ::sigaction(SIGTERM, &m_oldTerm, nullptr);
        }
        m_notifier.reset();
        for (int &fd : g_signalPipe) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    SignalWatch(const SignalWatch &) = delete;
    SignalWatch &operator=(const SignalWatch &) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_oldInt
    {
    };
    struct sigaction m_oldTerm
    {
    };
    bool m_installed = false;
};
#else
class SignalWatch
{
public:
    explicit SignalWatch(std::function<void()>) { }
};
#endif

struct UploadRun
{
    QString port;
    QString shownPort; // as messages quote it, with the unit
    std::unique_ptr<QtSerialLink> link;
    std::unique_ptr<UploadSession> session;
    QElapsedTimer clock;
    bool done = false;
    UploadResult result;
};

} // namespace

void printOut(const QString &text)
{
    print(stdout, text);
}

void printErr(const QString &text)
{
    print(stderr, text);
}

int runUpload(const QList<PortUpload> &uploads, const UploadOptions &options, const LinkTimeouts &timeouts)
{
    QEventLoop loop;
    std::vector<std::unique_ptr<UploadRun>> runs;
    bool interrupted = false;
    UploadLogWriter log(options.settingsFile);
    const auto allDone = [&runs] {
        return std::all_of(runs.cbegin(), runs.cend(), [](const auto &run) { return run->done; });
    };
    for (const PortUpload &upload : uploads) {
        auto run = std::make_unique<UploadRun>();
        run->port = upload.port;
        // Each run keeps its own copy of its unit's record: nothing another run does reaches it.
        run->result.port = upload.port;
        run->result.unit = upload.unit;
        run->result.record = upload.record;
        run->shownPort = ArgumentRules::shown(upload.port);
        if (!upload.unit.isEmpty())
            run->shownPort += QStringLiteral(" (%1)").arg(ArgumentRules::shown(upload.unit));
        run->link = std::make_unique<QtSerialLink>();
        run->session = std::make_unique<UploadSession>(run->link.get(), timeouts);
        UploadRun *r = run.get();
        QObject::connect(r->session.get(), &UploadSession::searching,
            [r] { printErr(perPort(r->shownPort, searchText(Function::Upload))); });
        QObject::connect(r->session.get(), &UploadSession::transferring, [r](int block) {
            if (block == 1)
                printErr(perPort(r->shownPort, Frm8Text::transferring()));
        });
        QObject::connect(r->session.get(), &UploadSession::finished,
            [r, &loop, &allDone, &interrupted, &log](UploadSession::Outcome outcome, int block) {
                using O = UploadSession::Outcome;
                QString &report = r->result.report;
                int &exitCode = r->result.exitCode;
                switch (outcome) {
                case O::Success:
                    report = Frm8Text::uploadDone();
                    exitCode = ExitCode::kSuccess;
                    break;
                case O::NoAnswer:
                    // Stopped by the user while the module was searched for: nobody knows whether it answers.
                    report = interrupted ? CliText::interrupted() : Frm8Text::noAnswer();
                    exitCode = interrupted ? ExitCode::kInterrupted : ExitCode::kNoAnswer;
                    break;
                case O::PortOpenFailed:
                    report = openFailure(r->port, r->session->portError());
                    exitCode = ExitCode::kNoPort;
                    break;
                case O::WrongVersion:
                    report = Frm8Text::wrongVersion();
                    exitCode = ExitCode::kWrongVersion;
                    break;
                case O::IncompleteTransfer:
                    report = Frm8Text::incompleteTransfer();
                    exitCode = ExitCode::kIncompleteTransfer;
                    break;
                case O::PortLost:
                    report = block > 0 ? Frm8Text::portLostDuringTransfer(ArgumentRules::shown(r->port))
                                       : Frm8Text::portUnavailable(ArgumentRules::shown(r->port));
                    exitCode = ExitCode::kPortLost;
                    break;
                }
                // The session has closed the port; make sure of it before the report.
                r->link->close();
                r->done = true;
                r->result.outcome = UploadOutcome::forSession(outcome, interrupted);
                r->result.seconds = double(r->clock.nsecsElapsed()) / 1e9;
                printErr(perPort(r->shownPort, report));
                // Logged as each module ends, so a later failure or a kill loses no earlier line.
                log.write(r->result);
                if (allDone())
                    loop.quit();
            });
        runs.push_back(std::move(run));
    }
    // Ctrl+C stops every run at its next check, so each module's report says how far it got (a module
    // that holds part of the record is told to be switched off) and every port is closed.
    SignalWatch interrupt([&runs, &interrupted] {
        interrupted = true;
        for (const auto &run : runs) {
            if (!run->done)
                run->session->requestStop();
        }
    });
    // Started together, so every module is programmed at the same time.
    for (const auto &run : runs) {
        run->result.started = QDateTime::currentDateTime();
        run->clock.start();
        // A new session always starts; should it not, the port is reported as not opened, not as done.
        if (!run->session->start(run->port, run->result.record)) {
            run->done = true;
            run->result.report = Frm8Text::portUnavailable(ArgumentRules::shown(run->port));
            run->result.exitCode = ExitCode::kNoPort;
            run->result.outcome = UploadLog::Outcome::PortOpenFailed;
            log.write(run->result);
        }
    }
    if (!allDone())
        loop.exec();

    int status = ExitCode::kSuccess;
    for (const auto &run : runs) {
        if (options.json)
            printJsonLine(uploadSummaryJson(run->result));
        else
            printOut(uploadSummaryLine(run->result));
        if (status == ExitCode::kSuccess)
            status = run->result.exitCode;
    }
    return status;
}

int runStatus(const QString &port, const StatusOutput &output, LinkTimeouts timeouts)
{
    QEventLoop loop;
    QtSerialLink link;
    if (output.follow)
        timeouts.portReturn = std::chrono::milliseconds::max();
    else
        timeouts.portReturn = std::chrono::milliseconds::zero();
    StatusSession session(&link, timeouts);
    // The window's log: in the current folder, or in the user's data folder where that cannot be written.
    session.setLogFileName(StatusLogPath());
    const QString logPath = QDir::toNativeSeparators(QFileInfo(session.logFileName()).absoluteFilePath());
    session.setReplug({ PortCatalog::follow });
    int status = ExitCode::kSuccess;
    bool finished = false;
    bool monitoring = false;
    bool interrupted = false;
    const auto end = [&](int code, const QString &text) {
        if (finished)
            return;
        finished = true;
        status = code;
        link.close();
        printErr(text);
        loop.quit();
    };
    const auto now = [] { return QDateTime::currentDateTime(); };
    const auto stamp = [&output, &now] {
        return output.timestamps ? now().toString(Qt::ISODateWithMs) + u' ' : QString();
    };
    // CSV as RFC 4180 has it: rows end with CR LF, and so do the line breaks inside a quoted message.
    const auto csvOut = [](const QString &line) {
        std::fputs(line.toUtf8().constData(), stdout);
        std::fflush(stdout);
    };
    const auto csvRow = [&](HistoryEvent::Kind kind, const QString &text, std::optional<int> level) {
        csvOut(csvLine(historyCsvFields(HistoryEvent { now(), kind, text, level })));
    };
    if (output.csv)
        csvOut(csvLine(historyCsvHeader()));

    QObject::connect(&session, &StatusSession::searching, [] { printErr(searchText(Function::Status)); });
    QObject::connect(&session, &StatusSession::monitoringStarted, [&] {
        monitoring = true;
        if (session.logFailure().problem == StatusLog::Problem::None)
            printErr(CliText::statusLogFile(logPath));
    });
    // Each message exactly as the module sent it: the alternate "*" only marks activity in the window.
    QString pending; // a long message's pieces so far (the CSV gives it one row)
    bool lineOpen = false;
    QObject::connect(&session, &StatusSession::received, [&](const QString &text, bool ends) {
        if (output.csv) {
            pending += text;
            if (ends) {
                const std::optional<int> level = signalLevelOf(pending);
                csvRow(level ? HistoryEvent::Kind::Level : HistoryEvent::Kind::Status,
                    std::exchange(pending, QString()), level);
            }
            return;
        }
        writeOut((lineOpen ? QString() : stamp()) + text + (ends ? QStringLiteral("\n") : QString()));
        lineOpen = !ends;
    });
    QObject::connect(&session, &StatusSession::signalLevel, [&](int level) {
        if (!output.csv && !lineOpen)
            printOut(stamp() + CliText::signalLevel(level));
    });
    QObject::connect(&session, &StatusSession::portLost, [&] {
        printErr(Frm8Text::portUnavailable(shown(port)) + CliText::waitingForPort(shown(port)));
        if (output.csv)
            csvRow(HistoryEvent::Kind::Port, QStringLiteral("port lost"), std::nullopt);
    });
    QObject::connect(&session, &StatusSession::portBack, [&](const QString &name) {
        printErr(CliText::portBack(name));
        if (output.csv)
            csvRow(HistoryEvent::Kind::Port, QStringLiteral("port back"), std::nullopt);
    });
    QObject::connect(&session, &StatusSession::logFailed,
        [&] { printErr(StatusLogText::notWritten(logPath, session.logFailure())); });
    QObject::connect(&session, &StatusSession::finished, [&](StatusSession::Outcome outcome) {
        using O = StatusSession::Outcome;
        switch (outcome) {
        case O::Stopped:
        case O::NoAnswer:
            if (interrupted && !monitoring)
                end(ExitCode::kInterrupted, CliText::interrupted());
            else if (outcome == O::Stopped)
                end(ExitCode::kSuccess, CliText::stopped());
            else
                end(ExitCode::kNoAnswer, Frm8Text::noAnswer());
            break;
        case O::PortOpenFailed:
            end(ExitCode::kNoPort, openFailure(port, session.portError()));
            break;
        case O::PortLost:
            end(ExitCode::kPortLost, Frm8Text::portUnavailable(shown(port)));
            break;
        }
    });
    // --follow: a port not there yet is waited for.
    QTimer portWait;
    portWait.setInterval(std::chrono::milliseconds(250));
    QObject::connect(&portWait, &QTimer::timeout, [&] {
        if (!QFileInfo::exists(port))
            return;
        portWait.stop();
        if (!session.start(port))
            end(ExitCode::kNoPort, Frm8Text::portUnavailable(shown(port)));
    });
    // Ctrl+C ends monitoring as the page's other functions do (before the module spoke, the run counts as
    // interrupted); should the session not answer at once, the port is closed all the same.
    const auto endByUser = [&] {
        if (monitoring)
            end(ExitCode::kSuccess, CliText::stopped());
        else
            end(ExitCode::kInterrupted, CliText::interrupted());
    };
    SignalWatch interrupt([&] {
        interrupted = true;
        portWait.stop();
        if (!session.isRunning()) {
            endByUser();
            return;
        }
        session.stopMonitoring();
        QTimer::singleShot(std::chrono::seconds(1), &loop, endByUser);
    });
    if (output.follow && !QFileInfo::exists(port)) {
        printErr(CliText::waitingForPort(shown(port)));
        portWait.start();
    } else if (!session.start(port)) {
        return ExitCode::kNoPort;
    }
    if (!finished)
        loop.exec();
    return status;
}

int runSms(const QString &port, const QString &number, const QString &text, const LinkTimeouts &timeouts)
{
    QEventLoop loop;
    QtSerialLink link;
    SmsSession session(&link, timeouts);
    int status = ExitCode::kSuccess;
    bool interrupted = false;
    QObject::connect(&session, &SmsSession::searching, [] { printErr(searchText(Function::Sms)); });
    QObject::connect(&session, &SmsSession::handingOver, [] { printErr(Frm8Text::smsHandingOver()); });
    QObject::connect(&session, &SmsSession::finished, [&](SmsSession::Outcome outcome) {
        using O = SmsSession::Outcome;
        switch (outcome) {
        case O::Success:
            printErr(Frm8Text::smsSent());
            status = ExitCode::kSuccess;
            break;
        case O::SendFailed:
            printErr(Frm8Text::smsNotSent());
            status = ExitCode::kSmsNotSent;
            break;
        case O::NoAnswer:
            printErr(interrupted ? CliText::interrupted() : Frm8Text::noAnswer());
            status = interrupted ? ExitCode::kInterrupted : ExitCode::kNoAnswer;
            break;
        case O::PortOpenFailed:
            printErr(openFailure(port, session.portError()));
            status = ExitCode::kNoPort;
            break;
        case O::PortLost:
            printErr(Frm8Text::portUnavailable(shown(port)));
            status = ExitCode::kPortLost;
            break;
        }
        link.close();
        loop.quit();
    });
    // Ctrl+C ends the wait for the module at once and closes the port.
    SignalWatch interrupt([&] {
        interrupted = true;
        session.requestStop();
    });
    if (!session.start(port, number, text))
        return ExitCode::kNoPort;
    loop.exec();
    return status;
}
