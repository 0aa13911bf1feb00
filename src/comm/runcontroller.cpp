#include "comm/runcontroller.h"

#include "comm/frm8texts.h"
#include "comm/history.h"
#include "comm/historyrecorder.h"
#include "comm/historytexts.h"
#include "core/parameterrecord.h"
#include "comm/portselection.h"
#include "comm/seriallink.h"
#include "comm/statuslogtexts.h"

#include <QFileInfo>

#include <optional>

using Frm8Text::Function;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

RunController::RunController(SerialLink *link, PortSelection *ports, Setup setup, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_ports(ports)
    , m_setup(std::move(setup))
{
    // Connected before any session, so it sees each arrival first and leaves it to a running function.
    connect(m_link, &SerialLink::readyRead, this, &RunController::dropUnheardInput);
}

RunController::~RunController()
{
    m_upload.reset();
    m_status.reset();
    m_sms.reset();
}

void RunController::dropUnheardInput()
{
    if (!running(m_upload) && !running(m_status) && !running(m_sms))
        m_link->clearInput();
}

template<class Session, class... Args>
Session *RunController::beginRun(std::unique_ptr<Session> &slot, void (RunController::*finished)(Args...))
{
    m_notes = {};
    slot = std::make_unique<Session>(m_link, m_setup.timeouts);
    Session *session = slot.get();
    connect(session, &LinkSession::busyIndicator, this, &RunController::busyIndicator);
    connect(session, &LinkSession::noPort, this, [this] { emit message(Frm8Text::noPort()); });
    connect(session, &Session::finished, this, [this, session, &slot, finished](Args... args) {
        // A run that was replaced has nothing more to say.
        if (session == slot.get())
            (this->*finished)(args...);
    });
    return session;
}

template<class Session> void RunController::retire(std::unique_ptr<Session> &session)
{
    if (!session)
        return;
    disconnect(session.get(), nullptr, this, nullptr);
    if (session->isRunning())
        session.reset(); // every wait ends at once and silently; the port is left as it is
    else
        session.release()->deleteLater(); // it may still be on its way out of its last report
}

void RunController::stopAwaitingPort()
{
    m_awaitingPort = false;
    m_ports->setPortAwaited(false);
}

void RunController::notePort(const QString &what)
{
    if (m_setup.history)
        m_setup.history->append(HistoryEvent::Kind::Port, what);
}

void RunController::retireOtherRuns()
{
    stopAwaitingPort();
    retire(m_status);
    if (running(m_sms))
        retire(m_sms);
}

void RunController::endMonitoring()
{
    stopAwaitingPort();
    retire(m_status);
}

QString RunController::claimPort()
{
    if (!m_link->isOpen())
        m_ports->setPortInUse(m_ports->selectedPortName());
    return m_ports->portInUse();
}

void RunController::closePort()
{
    if (m_link->isOpen())
        m_link->close();
}

QString RunController::linkEndText(LinkEnd end) const
{
    switch (end) {
    case LinkEnd::NoAnswer:
        if (!m_notes.reopenFailed.isEmpty())
            return m_ports->portProblemText(m_notes.reopenFailed);
        return m_notes.leftByUser ? QString() : Frm8Text::noAnswer();
    case LinkEnd::PortOpenFailed:
    case LinkEnd::PortLost:
        break;
    }
    return m_ports->portProblemText(m_ports->portLabel(m_ports->portInUse()));
}

void RunController::stopAll()
{
    const bool anyListening = running(m_upload) || running(m_status) || running(m_sms);
    m_notes.leftByUser = anyListening;
    if (anyListening && m_setup.recorder)
        m_setup.recorder->userStopped(HistoryRecorder::Stop::LeftPage);
    if (running(m_upload)) {
        m_notes.stoppedByUser = true;
        m_upload->requestStop();
    }
    if (running(m_status))
        m_status->requestStop();
    if (running(m_sms))
        m_sms->requestStop();
    stopAwaitingPort();
    closePort();
}

void RunController::followSelection()
{
    const QString port = m_ports->selectedPortName();
    if (port.isEmpty() || port == m_ports->portInUse())
        return;
    if (m_awaitingPort) {
        // The user gave up on the port that went: monitoring ends, and nothing reopens it.
        endMonitoring();
        emit statusEnded(true);
    }
    if (m_link->isOpen()) {
        closePort();
        m_ports->setPortInUse(port);
        if (m_link->open(port)) {
            m_link->clearInput();
        } else {
            m_notes.reopenFailed = m_ports->selectedPortLabel();
            emit message(m_ports->portProblemText(m_notes.reopenFailed));
        }
    }
    if (m_uploadRunning && m_upload) {
        if (m_setup.recorder)
            m_setup.recorder->userStopped(HistoryRecorder::Stop::PortChanged);
        m_notes.stoppedByUser = true;
        m_upload->requestStop();
    }
}

// --- Parameter upload

void RunController::startUpload(const UploadRequest &request)
{
    m_uploadRunning = true;
    m_notes = {};
    // The record is built here, once, from what the request names: what is sent is what is logged.
    const QString text = request.buildRecord ? request.buildRecord() : m_setup.buildRecord();
    // A record of the wrong length would put every field of the module out of place: nothing is sent.
    int length = 0;
    const std::optional<QByteArray> record = RecordToModuleBytes(text, nullptr, &length);
    if (!record) {
        closePort();
        const QString refused = Frm8Text::wrongRecordLength(length);
        emit message(refused);
        UploadReport report;
        report.unit = request.unit;
        report.recordRefused = true;
        report.outcome = UploadLog::Outcome::NoAnswer;
        report.text = refused;
        report.ended = QDateTime::currentDateTime();
        emit uploadReported(report);
        endUpload();
        return;
    }
    retire(m_upload);
    UploadSession *session = beginRun(m_upload, &RunController::uploadFinished);
    connect(session, &UploadSession::transferring, this, [this](int block) {
        if (block == 1)
            emit message(Frm8Text::transferring());
    });
    const QString port = claimPort();
    m_uploadEntry = {};
    m_uploadEntry.time = QDateTime::currentDateTime();
    m_uploadEntry.port = port;
    m_uploadEntry.unit = request.unit;
    m_uploadEntry.record = *record;
    if (m_setup.settingsFile) {
        const QString file = m_setup.settingsFile();
        m_uploadEntry.settingsFile = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
    }
    m_uploadClock.start();
    if (m_setup.recorder)
        m_setup.recorder->recordUpload(session, m_ports->portLabel(port));
    session->start(port, *record);
}

void RunController::uploadFinished(UploadSession::Outcome outcome, int block)
{
    using O = UploadSession::Outcome;
    QString text;
    switch (outcome) {
    case O::Success:
        text = Frm8Text::uploadDone();
        emit messageAppended(text);
        break;
    case O::NoAnswer:
        text = linkEndText(LinkEnd::NoAnswer);
        emit message(text);
        break;
    case O::PortOpenFailed:
        text = linkEndText(LinkEnd::PortOpenFailed);
        emit message(text);
        break;
    case O::WrongVersion:
        text = Frm8Text::wrongVersion();
        emit message(text);
        break;
    case O::IncompleteTransfer:
        text = m_notes.reopenFailed.isEmpty() ? Frm8Text::incompleteTransfer()
                                              : Frm8Text::portLostDuringTransfer(m_notes.reopenFailed);
        emit message(text);
        break;
    case O::PortLost:
        // The module holds part of the record once a block went out.
        text = block > 0 ? Frm8Text::portLostDuringTransfer(m_ports->portLabel(m_ports->portInUse()))
                         : linkEndText(LinkEnd::PortLost);
        emit message(text);
        break;
    }
    UploadReport report;
    report.unit = m_uploadEntry.unit;
    report.port = m_ports->portLabel(m_uploadEntry.port);
    report.outcome = UploadOutcome::forSession(outcome, m_notes.stoppedByUser);
    report.text = text;
    report.ended = QDateTime::currentDateTime();
    report.logNote = logUpload(report.outcome);
    if (!report.logNote.isEmpty())
        emit messageAppended(kCrLf + kCrLf + report.logNote);
    emit uploadReported(report);
    endUpload();
}

QString RunController::logUpload(UploadLog::Outcome outcome)
{
    UploadLog::Entry entry = m_uploadEntry;
    entry.outcome = outcome;
    entry.exitStatus = UploadOutcome::exitStatus(outcome);
    entry.seconds = double(m_uploadClock.elapsed()) / 1000.0;
    m_uploadEntry = {};
    QString error;
    const QString path = m_setup.uploadLogPath.isEmpty() ? UploadLog::logPath() : m_setup.uploadLogPath;
    if (UploadLog::append(entry, &error, path) || m_logFailureSaid)
        return {};
    m_logFailureSaid = true;
    return UploadOutcome::logNotWrittenText(error);
}

void RunController::endUpload()
{
    m_uploadRunning = false;
    emit uploadEnded();
}

// --- Status monitoring

void RunController::startStatus()
{
    StatusSession *session = beginRun(m_status, &RunController::statusFinished);
    session->setLogFileName(m_setup.statusLogPath ? m_setup.statusLogPath() : QString());
    // A port lost while monitoring is waited for; the same device back resumes the run.
    session->setReplug({ PortCatalog::follow });
    connect(session, &StatusSession::portLost, this, [this] {
        m_awaitingPort = true;
        m_ports->setPortAwaited(true);
        notePort(HistoryText::portLost(m_link->portName()));
        emit message(linkEndText(LinkEnd::PortLost));
        emit levelUnknown();
    });
    connect(session, &StatusSession::portBack, this, [this](const QString &portName) {
        stopAwaitingPort();
        m_ports->moveTo(portName);
        notePort(HistoryText::portBack(portName));
    });
    connect(session, &StatusSession::message, this, [this](const QString &text) {
        emit message(m_notes.logNote.isEmpty() ? text : text + kCrLf + m_notes.logNote);
    });
    connect(session, &StatusSession::signalLevel, this, &RunController::signalLevel);
    connect(session, &StatusSession::logFailed, this, [this, session](const QString &fileName) {
        // Said once, and kept below every message of this run.
        m_notes.logNote = StatusLogText::notWritten(fileName, session->logFailure());
        emit messageAppended(kCrLf + m_notes.logNote);
    });
    if (m_setup.recorder)
        m_setup.recorder->recordStatus(session);
    session->start(claimPort());
}

void RunController::statusFinished(StatusSession::Outcome outcome)
{
    using O = StatusSession::Outcome;
    stopAwaitingPort();
    switch (outcome) {
    case O::NoAnswer:
        emit message(linkEndText(LinkEnd::NoAnswer));
        emit statusEnded(false);
        break;
    case O::PortOpenFailed:
        emit message(linkEndText(LinkEnd::PortOpenFailed));
        emit statusEnded(false);
        break;
    case O::PortLost:
        emit message(linkEndText(LinkEnd::PortLost));
        emit statusEnded(true);
        break;
    case O::Stopped:
        // Whoever ended the run looks after the page, unless the port it was using failed to reopen.
        if (!m_notes.reopenFailed.isEmpty()) {
            emit message(m_ports->portProblemText(m_notes.reopenFailed));
            emit statusEnded(true);
        }
        break;
    }
}

// --- SMS

void RunController::startSms(const QString &number, const QString &text)
{
    retire(m_status);
    retire(m_sms);
    SmsSession *session = beginRun(m_sms, &RunController::smsFinished);
    connect(session, &SmsSession::handingOver, this, [this] { emit message(Frm8Text::smsHandingOver()); });
    const QString port = claimPort();
    if (m_setup.recorder)
        m_setup.recorder->recordSms(session, m_ports->portLabel(port), number, text);
    session->start(port, number, text);
}

void RunController::smsFinished(SmsSession::Outcome outcome)
{
    using O = SmsSession::Outcome;
    switch (outcome) {
    case O::Success:
        emit message(Frm8Text::smsSent());
        break;
    case O::SendFailed:
        emit message(Frm8Text::smsNotSent());
        break;
    case O::NoAnswer:
        emit message(linkEndText(LinkEnd::NoAnswer));
        break;
    case O::PortOpenFailed:
    case O::PortLost:
        emit message(linkEndText(LinkEnd::PortLost));
        break;
    }
    emit smsEnded(outcome == O::Success);
}
