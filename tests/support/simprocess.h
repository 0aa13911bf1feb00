#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

// Runs the module simulator (rm425t-sim) as a child process for one test. Every byte the simulator
// receives is recorded in a file of its own; its log (stderr) goes to another, so a test that blocks
// on the line never stalls the simulator.
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    static QString executablePath();

    // Starts the simulator with the given options (see rm425t-sim --help; --record is added) and
    // waits for the device path it prints first.
    bool start(
        const QStringList &arguments = {}, std::chrono::milliseconds timeout = std::chrono::seconds(5));
    QString devicePath() const { return m_devicePath; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // Has the simulator send these exact bytes (they are escaped for its "say" command).
    void say(const QByteArray &bytes);
    // One command line on the simulator's stdin, e.g. "quiet", "reset", "hangup".
    void command(const QByteArray &line);

    QByteArray recordedBytes() const;
    bool waitForRecorded(qsizetype count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    QString log() const;
    bool waitForLog(const QString &text, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    bool waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    int exitCode() const { return m_process.exitCode(); }
    // Ends the simulator (SIGTERM) and waits; kills it if it does not end.
    void stop();
    QProcess &process() { return m_process; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_devicePath;
};

#ifdef Q_OS_UNIX
// The program's end of the simulator's line, opened with plain POSIX calls in raw mode, for tests that
// check the bytes on the line without any serial-port layer in between. Reads block up to a timeout.
class PtyLine
{
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    bool open(const QString &devicePath);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    bool write(const QByteArray &bytes);
    // Reads until `count` bytes have arrived or the timeout has passed.
    QByteArray read(qsizetype count, std::chrono::milliseconds timeout = std::chrono::seconds(2));
    // Reads up to and including `byte`; returns what arrived if it does not come in time.
    QByteArray readThrough(char byte, std::chrono::milliseconds timeout = std::chrono::seconds(2));
    // Reads everything until nothing has arrived for `quiet` (or `limit` has passed in total).
    QByteArray readUntilQuiet(
        std::chrono::milliseconds quiet, std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Empties the input buffer, as the program does after finding the module.
    void discardInput();
    // True once the other end has closed the line (hang-up) within the timeout; input is discarded.
    bool waitForHangup(std::chrono::milliseconds timeout = std::chrono::seconds(2));

private:
    // Waits for input; returns false on timeout or hang-up.
    bool waitReadable(std::chrono::milliseconds timeout);

    int m_fd = -1;
    bool m_hungUp = false;
};
#endif
