#pragma once

#include "comm/history.h"

#include <QObject>
#include <QPointer>
#include <QString>

class SmsSession;
class StatusSession;
class UploadSession;

// Writes what the functions of the communication page do on the line into the run's history: every status
// message as received and the level of each level message, each step of an upload (search, version, each
// block's acknowledgement, the result) and of an SMS. Step texts are in the language in force when they
// happen; what the module sent is quoted as it came.
class HistoryRecorder : public QObject
{
    Q_OBJECT

public:
    // Why the user ended a running function.
    enum class Stop { LeftPage, PortChanged };

    explicit HistoryRecorder(History *history, QObject *parent = nullptr);

    History *history() const { return m_history; }

    // Follow a session from its start on `port` (empty: no port listed). Called before the session starts.
    void recordUpload(UploadSession *session, const QString &port);
    void recordStatus(StatusSession *session);
    void recordSms(SmsSession *session, const QString &port, const QString &number, const QString &text);
    // The user ended what runs: its end is written as that.
    void userStopped(Stop why);

    bool uploadRunning() const { return m_uploadRunning; }
    // The block in transfer while an upload runs (0 before the first).
    int uploadBlock() const { return m_upload.block; }

signals:
    // An upload runs: 0 while the module is searched for and its version checked, then the block 1 … 10 in
    // transfer.
    void uploadProgress(int block);
    void uploadEnded();

private:
    // What the function that runs waits for, so its end can say what was missing.
    enum class Phase { Search, Reply, Transfer };
    struct Run
    {
        Phase phase = Phase::Search;
        QString port;
        QString command; // the command whose reply is awaited
        int replyLength = 0;
        int block = 0;
        // The module answered what was awaited, with other characters than expected (said already).
        bool answeredWrongly = false;
        std::optional<Stop> stop;
    };

    void write(HistoryEvent::Kind kind, const QString &text);
    QString endText(const Run &run, const QString &portError, bool portLost) const;

    QPointer<History> m_history;
    Run m_upload;
    Run m_sms;
    bool m_uploadRunning = false;
    bool m_smsRunning = false;
};
