#include "comm/historyrecorder.h"

#include "comm/historytexts.h"
#include "comm/smssession.h"
#include "comm/statussession.h"
#include "comm/uploadsession.h"
#include "core/cp1252.h"

namespace {

using Kind = HistoryEvent::Kind;

// What the module answered, as the history quotes it.
QString quoted(const QByteArray &reply)
{
    return visibleControlCharacters(fromCp1252(reply));
}

} // namespace

HistoryRecorder::HistoryRecorder(History *history, QObject *parent)
    : QObject(parent)
    , m_history(history)
{
}

void HistoryRecorder::write(Kind kind, const QString &text)
{
    if (m_history)
        m_history->append(kind, text);
}

QString HistoryRecorder::endText(const Run &run, const QString &portError, bool portLost) const
{
    if (run.stop)
        return *run.stop == Stop::LeftPage ? HistoryText::stoppedByLeaving() : HistoryText::stoppedByPortChange();
    if (portLost)
        return HistoryText::portLost(run.port);
    if (!portError.isEmpty())
        return HistoryText::portOpenFailed(run.port, portError);
    switch (run.phase) {
    case Phase::Search:
        return HistoryText::noAnnouncement();
    case Phase::Reply:
        return HistoryText::noReplyTo(run.command, run.replyLength);
    case Phase::Transfer:
        return HistoryText::blockNotAcknowledged(run.block);
    }
    return QString();
}

void HistoryRecorder::userStopped(Stop why)
{
    if (m_uploadRunning)
        m_upload.stop = why;
    if (m_smsRunning && why == Stop::LeftPage)
        m_sms.stop = why;
}

// --- Upload

void HistoryRecorder::recordUpload(UploadSession *session, const QString &port)
{
    using O = UploadSession::Outcome;
    connect(session, &UploadSession::searching, this, [this, port] {
        m_upload = Run();
        m_upload.port = port;
        m_uploadRunning = true;
        write(Kind::Upload, HistoryText::searching(port));
        emit uploadProgress(0);
    });
    connect(session, &UploadSession::moduleFound, this, [this] {
        m_upload.phase = Phase::Reply;
        m_upload.command = QStringLiteral("D");
        m_upload.replyLength = 2;
        write(Kind::Upload, HistoryText::moduleFound(m_upload.command));
    });
    connect(session, &UploadSession::versionAnswered, this, [this](const QByteArray &reply) {
        write(Kind::Upload,
            reply == "VP" ? HistoryText::versionAccepted(quoted(reply)) : HistoryText::versionWrong(quoted(reply)));
    });
    connect(session, &UploadSession::transferring, this, [this](int block) {
        m_upload.phase = Phase::Transfer;
        m_upload.block = block;
        emit uploadProgress(block);
    });
    connect(session, &UploadSession::blockAnswered, this, [this](int block, const QByteArray &reply) {
        const QByteArray expected = UploadSession::acknowledgement(block);
        write(Kind::Upload,
            reply == expected ? HistoryText::blockAcknowledged(block, UploadSession::kBlockCount, quoted(reply))
                              : HistoryText::blockWrong(block, UploadSession::kBlockCount, quoted(reply),
                                  quoted(expected)));
    });
    connect(session, &UploadSession::finished, this, [this, session](O outcome, int) {
        m_uploadRunning = false;
        switch (outcome) {
        case O::Success:
            write(Kind::Upload, HistoryText::uploadDone());
            break;
        case O::WrongVersion:
            break; // the answer said it
        case O::NoAnswer:
        case O::IncompleteTransfer:
        case O::PortOpenFailed:
        case O::PortLost:
            write(Kind::Upload,
                endText(m_upload, outcome == O::PortOpenFailed ? session->portError() : QString(), outcome == O::PortLost));
            break;
        }
        emit uploadEnded();
    });
}

// --- Status monitoring

void HistoryRecorder::recordStatus(StatusSession *session)
{
    connect(session, &StatusSession::receivedRaw, this,
        [this](const QString &text) { write(Kind::Status, text); });
    connect(session, &StatusSession::signalLevel, this, [this](int level) {
        if (m_history)
            m_history->append(Kind::Level, HistoryText::level(level), level);
    });
}

// --- SMS

void HistoryRecorder::recordSms(
    SmsSession *session, const QString &port, const QString &number, const QString &text)
{
    using O = SmsSession::Outcome;
    connect(session, &SmsSession::searching, this, [this, port] {
        m_sms = Run();
        m_sms.port = port;
        m_smsRunning = true;
        write(Kind::Sms, HistoryText::searching(port));
    });
    connect(session, &SmsSession::moduleFound, this, [this] {
        m_sms.phase = Phase::Reply;
        m_sms.command = QStringLiteral("S");
        m_sms.replyLength = 3;
        write(Kind::Sms, HistoryText::moduleFound(m_sms.command));
    });
    connect(session, &SmsSession::announceAnswered, this, [this](const QByteArray &reply) {
        m_sms.answeredWrongly = reply != "SMS";
        write(Kind::Sms,
            reply == "SMS" ? HistoryText::smsAccepted(quoted(reply)) : HistoryText::smsAnnounceWrong(quoted(reply)));
    });
    connect(session, &SmsSession::handingOver, this, [this, number, text] {
        m_sms.command = quoted(SmsSession::handOver(number, text));
        m_sms.replyLength = 4;
        write(Kind::Sms, HistoryText::smsHandedOver(visibleControlCharacters(number), visibleControlCharacters(text)));
    });
    connect(session, &SmsSession::sendAnswered, this, [this](const QByteArray &reply) {
        write(Kind::Sms, reply == "SEND" ? HistoryText::smsSent(quoted(reply)) : HistoryText::smsNotSent(quoted(reply)));
    });
    connect(session, &SmsSession::finished, this, [this, session](O outcome) {
        m_smsRunning = false;
        switch (outcome) {
        case O::Success:
        case O::SendFailed:
            break; // the answer said it
        case O::NoAnswer:
        case O::PortOpenFailed:
        case O::PortLost:
            if (m_sms.answeredWrongly && !m_sms.stop && outcome == O::NoAnswer)
                break; // the answer said it
            write(Kind::Sms,
                endText(m_sms, outcome == O::PortOpenFailed ? session->portError() : QString(), outcome == O::PortLost));
            break;
        }
    });
}
