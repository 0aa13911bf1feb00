// rm425t-sim: plays the RM425T module on a pseudo-terminal so the program can be tried and tested
// without the hardware. See --help.

#include "bytetext.h"
#include "commandinput.h"
#include "eventlog.h"
#include "module.h"
#include "options.h"
#include "pty.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = { -1, -1 };

void onTerminationSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// SIGINT and SIGTERM (and SIGHUP unless we were started with it ignored) end the event loop, so the
// link is removed on the way out.
bool installSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return false;
    struct sigaction action
    {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    struct sigaction previous
    {
    };
    if (sigaction(SIGHUP, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
        sigaction(SIGHUP, &action, nullptr);
    // A reader of our stdout or stderr that went away must not kill us.
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

class DeviceLink
{
public:
    bool create(const QString &linkPath, const QString &devicePath, QString *error)
    {
        const QByteArray link = QFile::encodeName(linkPath);
        struct stat status
        {
        };
        if (::lstat(link.constData(), &status) == 0) {
            // A link left behind by an earlier run is replaced; anything else is not ours to remove.
            if (!S_ISLNK(status.st_mode)) {
                *error = QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
                return false;
            }
            ::unlink(link.constData());
        }
        if (::symlink(QFile::encodeName(devicePath).constData(), link.constData()) != 0) {
            *error = QStringLiteral("cannot create link %1: %2")
                         .arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        m_link = link;
        m_target = QFile::encodeName(devicePath);
        return true;
    }

    void remove()
    {
        if (m_link.isEmpty())
            return;
        // Another simulator may have taken the name over since; its link stays.
        char target[4096];
        const ssize_t length = ::readlink(m_link.constData(), target, sizeof target);
        if (length >= 0 && QByteArray(target, length) == m_target)
            ::unlink(m_link.constData());
        m_link.clear();
    }

    ~DeviceLink() { remove(); }

private:
    QByteArray m_link;
    QByteArray m_target;
};

void printError(const QString &message)
{
    std::fprintf(stderr, "rm425t-sim: %s\n", message.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    const OptionsResult parsed = parseOptions(app.arguments());
    if (parsed.action == OptionsResult::Action::ShowHelp) {
        std::fputs(helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parsed.action == OptionsResult::Action::Fail) {
        printError(parsed.error);
        std::fputs("Try 'rm425t-sim --help' for the options.\n", stderr);
        return 2;
    }
    const SimOptions &options = parsed.options;
    setEventLogEnabled(!options.quietLog);

    if (!installSignalHandlers()) {
        printError(QStringLiteral("cannot set up signal handling"));
        return 1;
    }
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        [[maybe_unused]] const ssize_t ignored = ::read(g_signalPipe[0], &byte, 1);
        logEvent(QStringLiteral("signal received, exiting"));
        app.exit(0);
    });

    PseudoTerminal line;
    line.setPaced(options.pace9600);
    const quint32 seed = options.seed.value_or(QRandomGenerator::global()->generate());
    logEvent(QStringLiteral("seed %1").arg(seed));
    line.setFragmented(options.fragmentGap, seed ^ 0x5eed5eedu);
    ModuleSimulator module(options, seed, &line);
    QString error;
    if (!module.openRecord(&error) || !line.open(&error)) {
        printError(error);
        return 1;
    }
    DeviceLink link;
    if (!options.linkPath.isEmpty() && !link.create(options.linkPath, line.devicePath(), &error)) {
        printError(error);
        return 1;
    }

    std::printf("%s\n", QFile::encodeName(line.devicePath()).constData());
    std::fflush(stdout);

    const auto hangup = [&] {
        logEvent(QStringLiteral("closing the line and exiting"));
        line.close();
        app.exit(0);
    };
    QObject::connect(&line, &PseudoTerminal::received, &module, &ModuleSimulator::receive);
    // Queued: the line must not be closed inside its own read notification.
    QObject::connect(&module, &ModuleSimulator::hangupRequested, &app, hangup, Qt::QueuedConnection);

    CommandInput commands(STDIN_FILENO);
    QObject::connect(&commands, &CommandInput::lineReceived, &app, [&](const QString &text) {
        const QString command = text.section(QLatin1Char(' '), 0, 0);
        const QString argument = text.section(QLatin1Char(' '), 1);
        if (command == QLatin1String("say"))
            module.say(decodeSayText(argument));
        else if (command == QLatin1String("quiet") && argument.isEmpty())
            module.setAnnouncing(false);
        else if (command == QLatin1String("announce") && argument.isEmpty())
            module.setAnnouncing(true);
        else if (command == QLatin1String("status")
            && (argument == QLatin1String("on") || argument == QLatin1String("off")))
            module.setStatusMode(argument == QLatin1String("on"));
        else if (command == QLatin1String("reset") && argument.isEmpty())
            module.restart();
        else if (command == QLatin1String("hangup") && argument.isEmpty())
            QMetaObject::invokeMethod(&app, hangup, Qt::QueuedConnection);
        else if (command == QLatin1String("unplug") && argument.isEmpty() && line.isOpen()) {
            // The adapter is pulled out: the program's end of the line goes, and so does the link.
            logEvent(QStringLiteral("unplugged"));
            link.remove();
            line.close();
        } else if (command == QLatin1String("plug") && argument.isEmpty() && !line.isOpen()) {
            // Plugged back in: a new device, under the same link; the module ran on meanwhile.
            QString failure;
            if (!line.open(&failure)
                || (!options.linkPath.isEmpty()
                    && !link.create(options.linkPath, line.devicePath(), &failure)))
                logEvent(QStringLiteral("cannot plug in again: %1").arg(failure));
            else
                logEvent(QStringLiteral("plugged in again as %1").arg(line.devicePath()));
        } else if (command == QLatin1String("quit") && argument.isEmpty())
            app.exit(0);
        else if (!text.trimmed().isEmpty())
            logEvent(QStringLiteral(
                "unknown command \"%1\" (say, quiet, announce, status on|off, reset, hangup, unplug, plug, "
                "quit)")
                         .arg(text));
    });

    module.start();
    const int result = app.exec();
    link.remove();
    line.close();
    return result;
}
