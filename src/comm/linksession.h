#pragma once

#include "seriallink.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

// Time limits of the exchanges with the module.
struct LinkTimeouts
{
    // Waiting for "*" before an upload.
    std::chrono::milliseconds uploadSearch { 30000 };
    // Waiting for "*" before an SMS, and for the first character of status monitoring.
    std::chrono::milliseconds search { 20000 };
    // Every reply of the module.
    std::chrono::milliseconds reply { 10000 };
    // The silence that ends a status message.
    std::chrono::milliseconds messageGap { 300 };
    // One turn of the busy indicator while searching.
    std::chrono::milliseconds busyStep { 250 };
    // How long monitoring waits for a port lost under it to come back (zero: not at all; the maximum:
    // until it is stopped).
    std::chrono::milliseconds portReturn { 60000 };
};

// What every exchange with the module is made of: a session runs a sequence of waits on the link, each
// driven by the link's readyRead and a time limit, never by polling. A wait ends with what it waited for
// or at one of its abort points: the time limit, a stop request, the port closing or vanishing. Deleting
// the session ends everything silently.
//
// Outcomes are always reported from the event loop, never from inside start() or requestStop(), so the
// caller has finished its own step before it hears how the run ended.
class LinkSession : public QObject
{
    Q_OBJECT

public:
    ~LinkSession() override;

    bool isRunning() const { return m_running; }

    // The page's stop request: the running wait ends at its next check as if its time limit had run out.
    void requestStop();

    // Why the port could not be opened, after a run ended for that reason.
    QString portError() const { return m_portError; }

signals:
    // Turn of the busy indicator while the module is searched for: "-", "\", "|", "/", repeating.
    void busyIndicator(QChar symbol);
    // There is no port to open. The search still goes on until its limit, which then ends it.
    void noPort();

protected:
    enum class WaitEnd {
        TimeLimit,
        StopRequest, // requestStop()
        EndRequest, // requestEnd(), a quiet end asked for by the session's owner
        PortClosed,
        PortLost,
    };
    enum class PortOpening { Open, NoPortListed, Failed };

    LinkSession(SerialLink *link, const LinkTimeouts &timeouts, QObject *parent);

    SerialLink *link() const { return m_link; }
    const LinkTimeouts &timeouts() const { return m_timeouts; }

    void beginRun();
    // No wait, no timer, not running; the port is left as it is.
    void endRun();

    // Opens the selected port unless the link is open already (then nothing changes). An empty name means
    // no port is listed: noPort() is emitted.
    PortOpening openModulePort(const QString &portName);
    void closePort();
    // Writes to the module (nothing when the link is gone).
    void send(const QByteArray &bytes);

    // Empties the input, then waits for "*"; other characters are dropped. After the "*" the input is
    // emptied again. The busy indicator turns meanwhile.
    void waitForModule(std::chrono::milliseconds limit, std::function<void()> found);
    // Waits until exactly `length` characters have come, then takes them. More than `length` never satisfies
    // the wait: it runs into its limit. A "*" is the module's idle announcement, which no reply contains, so
    // it is dropped and not counted, however the bytes were split into reads.
    void waitForReply(
        int length, std::chrono::milliseconds limit, std::function<void(const QByteArray &reply)> collected);
    // Empties the input, then waits for any character, which is left in the input. The busy indicator turns.
    void waitForFirstCharacter(std::chrono::milliseconds limit, std::function<void()> arrived);
    // Hands everything that arrives to `received`, without a limit, until an abort point is reached.
    void receiveAll(std::function<void(const QByteArray &bytes)> received);
    // After the port was lost: every `poll` asks `locate` where the device is now (empty: not back yet) and
    // opens it there; `reopened` follows with the port opened. The maximum limit waits without end.
    // The closed port is what this wait waits out, so only the limit and the stop requests end it.
    void waitForPort(std::chrono::milliseconds limit, std::chrono::milliseconds poll,
        std::function<QString()> locate, std::function<void(const QString &portName)> reopened);

    void requestEnd();

    // A wait ended at an abort point; the session decides what that means for its run.
    virtual void waitEnded(WaitEnd why) = 0;

    // Runs fn from the event loop, unless the session is gone by then.
    void later(std::function<void()> fn);

private:
    enum class Wait { None, Module, Reply, FirstCharacter, Stream, Port };

    void arm(Wait wait, std::chrono::milliseconds limit, bool turnIndicator);
    void stopWaiting();
    void serviceInput();
    // True when an abort point was reached (and the wait ended).
    bool checkAbortPoints();
    void scheduleAbortCheck();
    void stepBusyIndicator();
    void lookForPort();

    QPointer<SerialLink> m_link;
    LinkTimeouts m_timeouts;
    QTimer m_limitTimer;
    QTimer m_busyTimer;
    QTimer m_portPoll;
    std::function<QString()> m_locatePort;
    std::function<void(const QString &)> m_onPort;
    Wait m_wait = Wait::None;
    int m_replyLength = 0;
    QByteArray m_reply; // the reply so far, announcements taken out
    bool m_replyOverrun = false; // more than the reply's length came: the wait can only run out
    std::function<void()> m_onSignal;
    std::function<void(const QByteArray &)> m_onBytes;
    bool m_running = false;
    bool m_stopRequested = false;
    bool m_endRequested = false;
    bool m_portLost = false;
    bool m_portWasOpen = false;
    int m_busyTurn = 0;
    QString m_portError;
};
