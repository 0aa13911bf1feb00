#pragma once

#include "comm/linksession.h"
#include "comm/smssession.h"
#include "comm/statussession.h"
#include "comm/uploadreport.h"
#include "comm/uploadsession.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class History;
class HistoryRecorder;
class PortSelection;
class SerialLink;

// The three functions of the communication page on its one link: owns their sessions, makes sure only one
// of them talks to the module at a time, and turns what each reports into the page's texts. The window
// shows the texts and sets its buttons when a run ends.
class RunController : public QObject
{
    Q_OBJECT

public:
    struct Setup
    {
        LinkTimeouts timeouts;
        // The parameter record of the upload, built when an upload starts.
        std::function<QString()> buildRecord;
        // Where monitoring writes its log.
        std::function<QString()> statusLogPath;
        // Where the gaps of monitoring (the port lost, the port back) are noted; may be null.
        History *history = nullptr;
        // Where every run writes its steps and the module's messages (none: nowhere).
        HistoryRecorder *recorder = nullptr;
        // The settings file the pages' configuration stands for, as the upload log names it.
        std::function<QString()> settingsFile;
        // The upload log (empty: UploadLog::logPath()).
        QString uploadLogPath;
    };

    // An upload of one unit of a series: its name for the log and its own record, built when it starts.
    // Without a record builder the upload sends the pages' record (Setup::buildRecord).
    struct UploadRequest
    {
        QString unit;
        std::function<QString()> buildRecord;
    };

    RunController(SerialLink *link, PortSelection *ports, Setup setup, QObject *parent = nullptr);
    // The sessions end before the link they talk through.
    ~RunController() override;

    void setTimeouts(const LinkTimeouts &timeouts) { m_setup.timeouts = timeouts; }

    bool uploadRunning() const { return m_uploadRunning; }
    // Monitoring counts as running until it ends, gives way to another function or the user leaves the page.
    bool statusRunning() const { return running(m_status) && !m_notes.leftByUser; }
    bool smsRunning() const { return running(m_sms); }
    bool anyRunning() const { return m_uploadRunning || statusRunning() || smsRunning(); }

    // Ends monitoring and a running SMS send, which would otherwise read the module's replies too.
    void retireOtherRuns();
    // Monitoring ends; the port stays as it is.
    void endMonitoring();

    // Each ends with uploadEnded(), statusEnded() or smsEnded(); an upload whose record cannot be sent
    // ends before this returns.
    void startUpload(const UploadRequest &request = {});
    void startStatus();
    void startSms(const QString &number, const QString &text);

    // The user left the page: every running wait ends at its next check, and the port is closed.
    void stopAll();
    // The user picked another port: an open link moves to it, and an upload stops.
    void followSelection();
    void closePort();

signals:
    // The page's message box shows text instead of what it showed.
    void message(const QString &text);
    // text goes below what the message box shows.
    void messageAppended(const QString &text);
    void busyIndicator(QChar symbol);
    void signalLevel(int level);
    // How the upload ended, the log written: just before uploadEnded().
    void uploadReported(const UploadReport &report);
    void uploadEnded();
    // greyBars: the signal level shown is no longer true.
    void statusEnded(bool greyBars);
    // Monitoring lost its port and waits for it to come back: the level shown is no longer true.
    void levelUnknown();
    // sent: the module took the SMS, and its own reports follow.
    void smsEnded(bool sent);

private:
    // How a run ended on the link, the same for all three functions.
    enum class LinkEnd { NoAnswer, PortOpenFailed, PortLost };

    template<class Session> static bool running(const std::unique_ptr<Session> &session)
    {
        return session && session->isRunning();
    }
    template<class Session, class... Args>
    Session *beginRun(std::unique_ptr<Session> &slot, void (RunController::*finished)(Args...));
    template<class Session> void retire(std::unique_ptr<Session> &session);
    // The port a run starting now talks through: the open one, or else the selected one, which from now
    // on is the port in use.
    QString claimPort();
    QString linkEndText(LinkEnd end) const;

    void uploadFinished(UploadSession::Outcome outcome, int block);
    void statusFinished(StatusSession::Outcome outcome);
    // Monitoring no longer waits for its port.
    void stopAwaitingPort();
    void notePort(const QString &what);
    void smsFinished(SmsSession::Outcome outcome);
    void endUpload();
    // One line in the upload log; the first failure of the run is said (the note is returned).
    QString logUpload(UploadLog::Outcome outcome);

    // Discards what arrives while no function listens (the port stays open when monitoring hands over to
    // the SMS form): every function empties the input before it waits, so nothing is lost by it.
    void dropUnheardInput();

    SerialLink *m_link = nullptr;
    PortSelection *m_ports = nullptr;
    Setup m_setup;
    std::unique_ptr<UploadSession> m_upload;
    std::unique_ptr<StatusSession> m_status;
    std::unique_ptr<SmsSession> m_sms;
    bool m_uploadRunning = false;
    bool m_awaitingPort = false;
    // The upload that runs: what its log line says of it, and since when it runs.
    UploadLog::Entry m_uploadEntry;
    QElapsedTimer m_uploadClock;
    bool m_logFailureSaid = false;
    // What the run that started last met on its way, for its end text.
    struct RunNotes
    {
        // The user left the page while it ran: a search cut short is no missing answer.
        bool leftByUser = false;
        // The user stopped the upload (left the page, chose another port): it is logged as cancelled.
        bool stoppedByUser = false;
        // The port the user switched to while it ran did not open (its label).
        QString reopenFailed;
        // The status log could not be written: said below every message of this run.
        QString logNote;
    };
    RunNotes m_notes;
};
