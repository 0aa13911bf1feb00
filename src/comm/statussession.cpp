#include "statussession.h"

#include "core/cp1252.h"
#include "signallevel.h"

namespace {
constexpr char16_t kHighestControl = 13;
const QString kLineBreak = QStringLiteral("\r\n");
const QString kAlternateMarker = QStringLiteral("*");

// How many characters as received make up the first `shown` characters of the message as shown, where each
// control character is shown as CR LF. One whose CR LF is split between two pieces goes with the first.
qsizetype receivedLength(const QString &received, qsizetype shown)
{
    qsizetype width = 0;
    qsizetype taken = 0;
    while (taken < received.size() && width < shown) {
        width += received.at(taken).unicode() > kHighestControl ? 1 : 2;
        ++taken;
    }
    return taken;
}
} // namespace

StatusSession::StatusSession(SerialLink *link, const LinkTimeouts &timeouts, QObject *parent)
    : LinkSession(link, timeouts, parent)
{
    m_gapTimer.setSingleShot(true);
    m_gapTimer.setTimerType(Qt::PreciseTimer); // an early end would split a message
    m_gapTimer.setInterval(timeouts.messageGap);
    connect(&m_gapTimer, &QTimer::timeout, this, &StatusSession::messageGapElapsed);
}

StatusSession::~StatusSession()
{
    // Nobody listens any more; the log still gets what the module sent.
    blockSignals(true);
    if (m_monitoring)
        endMessage();
}

void StatusSession::setLogFileName(const QString &fileName)
{
    if (!isRunning())
        m_log.setFileName(fileName);
}

bool StatusSession::start(const QString &portName)
{
    if (isRunning())
        return false;
    beginRun();
    m_buffer.clear();
    m_received.clear();
    m_monitoring = false;
    m_markNext = false;
    m_logFailureReported = false;
    m_awaitingPort = false;
    m_findPort = nullptr;
    emit searching();
    if (openModulePort(portName) == PortOpening::Failed) {
        later([this] { finish(Outcome::PortOpenFailed); });
        return true;
    }
    waitForFirstCharacter(timeouts().search, [this] { beginMonitoring(); });
    return true;
}

void StatusSession::stopMonitoring()
{
    requestEnd();
}

void StatusSession::beginMonitoring()
{
    m_monitoring = true;
    if (m_replug.follow)
        m_findPort = m_replug.follow(link()->portName());
    if (!m_log.open())
        reportLogFailure();
    emit monitoringStarted();
    receiveAll([this](const QByteArray &bytes) { receive(bytes); });
}

void StatusSession::receive(const QByteArray &bytes)
{
    const QString text = fromCp1252(bytes);
    m_received += text;
    for (const QChar c : text) {
        if (c.unicode() > kHighestControl)
            m_buffer += c;
        else
            m_buffer += kLineBreak;
    }
    m_gapTimer.start();
    // A module that never pauses must not make the buffer grow without end. A piece is passed on only when
    // more of the message follows, so the end of every message, and only that, is still in the buffer when
    // the gap comes.
    while (isRunning() && m_buffer.size() > kMaxMessageLength) {
        const QString piece = m_buffer.left(kMaxMessageLength);
        m_buffer.remove(0, kMaxMessageLength);
        // What came of the piece as received: every character before the one the rest begins with.
        const qsizetype taken = receivedLength(m_received, piece.size());
        emit receivedRaw(m_received.left(taken));
        m_received.remove(0, taken);
        showPiece(piece);
    }
}

void StatusSession::messageGapElapsed()
{
    if (m_monitoring)
        endMessage();
}

void StatusSession::endMessage()
{
    m_gapTimer.stop();
    if (m_buffer.isEmpty())
        return;
    // Empty only when the last piece took the control character whose line break this rest ends.
    if (!m_received.isEmpty())
        emit receivedRaw(std::exchange(m_received, QString()));
    showMessage(std::exchange(m_buffer, QString()));
}

void StatusSession::showMessage(QString text)
{
    emit received(text, true);
    if (m_markNext)
        text += kAlternateMarker;
    m_markNext = !m_markNext;

    emit message(text);
    if (m_log.isOpen() && !m_log.append(text))
        reportLogFailure();
    if (const auto level = signalLevelOf(text))
        emit signalLevel(*level);
}

void StatusSession::showPiece(const QString &piece)
{
    emit received(piece, false);
    emit message(piece);
    if (m_log.isOpen() && !m_log.appendPiece(piece))
        reportLogFailure();
    if (const auto level = signalLevelOf(piece))
        emit signalLevel(*level);
}

void StatusSession::reportLogFailure()
{
    if (m_logFailureReported)
        return;
    m_logFailureReported = true;
    emit logFailed(m_log.fileName(), m_log.errorString());
}

void StatusSession::awaitPort()
{
    // What came before the loss is a message of its own; what comes after it begins a new one.
    endMessage();
    m_log.close();
    m_awaitingPort = true;
    emit portLost();
    const std::function<QString()> find = m_findPort;
    waitForPort(timeouts().portReturn, m_replug.poll, find, [this](const QString &portName) {
        m_awaitingPort = false;
        // Appended to as before.
        if (!m_log.open())
            reportLogFailure();
        emit portBack(portName);
        receiveAll([this](const QByteArray &bytes) { receive(bytes); });
    });
}

void StatusSession::waitEnded(WaitEnd why)
{
    if (why == WaitEnd::PortLost && m_monitoring && m_findPort && timeouts().portReturn.count() > 0)
        awaitPort();
    else if (why == WaitEnd::PortLost || (m_awaitingPort && why == WaitEnd::TimeLimit))
        finish(Outcome::PortLost);
    else if (!m_monitoring && (why == WaitEnd::TimeLimit || why == WaitEnd::StopRequest))
        finish(Outcome::NoAnswer);
    else
        finish(Outcome::Stopped);
}

void StatusSession::finish(Outcome outcome)
{
    endRun();
    if (m_monitoring)
        endMessage();
    m_gapTimer.stop();
    m_monitoring = false;
    m_awaitingPort = false;
    m_buffer.clear();
    m_received.clear();
    m_log.close();
    if (outcome == Outcome::NoAnswer)
        closePort();
    emit finished(outcome);
}
