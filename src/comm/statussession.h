#pragma once

#include "linksession.h"
#include "statuslog.h"

// Status monitoring: wait for the module to send something, then pass on every message it sends. A message
// ends when the line has been silent for the message gap; characters up to code 13 become line breaks
// inside it. Every second message gets "*" appended so two equal messages in a row still look different.
// Each message is appended to the status log. Monitoring goes on until it is stopped or the port closes;
// with a replug set, a port lost while monitoring is waited for, and monitoring goes on where it stopped.
class StatusSession : public LinkSession
{
    Q_OBJECT

public:
    enum class Outcome {
        Stopped, // monitoring was ended from outside, or the port was closed
        NoAnswer, // nothing arrived within the search limit, or stopped while waiting for it; port closed
        PortOpenFailed, // the selected port did not open (see portError())
        PortLost, // the port vanished
    };
    Q_ENUM(Outcome)

    // A message that grows past this length without a pause is passed on in pieces of this size, so memory
    // stays bounded. Only the message's end gets the alternate "*" and the line end of the log: the log
    // holds what the module sent, in order, whatever the pieces.
    static constexpr qsizetype kMaxMessageLength = 4096;

    explicit StatusSession(SerialLink *link, const LinkTimeouts &timeouts = {}, QObject *parent = nullptr);
    // A message begun and not yet ended still goes to the log.
    ~StatusSession() override;

    // What to do when the port is lost while monitoring. follow is asked when monitoring starts (the device
    // is there) and gives how to find the same device again: where it is now, or empty while it is not back.
    struct Replug
    {
        // How long it is waited for is the time limits' portReturn.
        std::function<std::function<QString()>(const QString &portName)> follow;
        std::chrono::milliseconds poll { 250 };
    };
    void setReplug(Replug replug) { m_replug = std::move(replug); }

    // Starts monitoring on portName (empty when no port is listed); an open link is used as it is. False,
    // and nothing happens, while a run is going on.
    bool start(const QString &portName);

    // Ends the run quietly at its next check (another function was chosen); the port is left as it is.
    // requestStop() ends it the same way, except that during the wait for the first character it counts as
    // no answer.
    void stopMonitoring();

    // Where the log goes; relative names are taken from the current directory when monitoring starts.
    void setLogFileName(const QString &fileName);
    QString logFileName() const { return m_log.fileName(); }
    // Why the log could not be opened or written, after logFailed().
    const StatusLog::Failure &logFailure() const { return m_log.failure(); }

signals:
    void searching();
    // The first character arrived; the log is open from now on.
    void monitoringStarted();
    // The message as it is shown: every second one with the alternate "*".
    void message(const QString &text);
    // The same message exactly as the module sent it (line breaks as CR LF); a long one in pieces, the last
    // with ends set.
    void received(const QString &text, bool ends);
    // The port went while monitoring, and the run waits for it to come back (a replug is set).
    void portLost();
    // It came back, as portName; monitoring goes on.
    void portBack(const QString &portName);
    // The message as it came from the module: every character as received (line ends too), without
    // the alternate "*". Emitted just before message(), and cut where the message is cut (a control
    // character whose line break is split between two pieces goes with the first, and a rest that is only the
    // second half of that line break is not emitted again).
    void receivedRaw(const QString &text);
    // The level of a message that carries one (0 … 99).
    void signalLevel(int level);
    // The log could not be opened or written (logFailure() says why; errorText is the system's reason, if
    // any); reported once per run, monitoring goes on.
    void logFailed(const QString &fileName, const QString &errorText);
    void finished(StatusSession::Outcome outcome);

protected:
    void waitEnded(WaitEnd why) override;

private:
    void beginMonitoring();
    void receive(const QByteArray &bytes);
    void messageGapElapsed();
    // The message collected so far ends here (the gap, the port going, the run ending).
    void endMessage();
    void showMessage(QString text);
    void awaitPort();
    void showPiece(const QString &piece);
    void reportLogFailure();
    void finish(Outcome outcome);

    QTimer m_gapTimer;
    StatusLog m_log;
    Replug m_replug;
    std::function<QString()> m_findPort;
    bool m_awaitingPort = false;
    QString m_buffer;
    // The message so far as received, for receivedRaw().
    QString m_received;
    bool m_monitoring = false;
    bool m_markNext = false;
    bool m_logFailureReported = false;
};
