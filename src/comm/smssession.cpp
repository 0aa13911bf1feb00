#include "smssession.h"

#include "core/cp1252.h"

namespace {
const QByteArray kAnnounce = QByteArrayLiteral("S");
const QByteArray kAnnounceReply = QByteArrayLiteral("SMS");
const QByteArray kSentReply = QByteArrayLiteral("SEND");
constexpr char kNumberEnd = '"';
constexpr char kCarriageReturn = '\r';
constexpr char kTextStart = '>';
constexpr char kTextEnd = 26; // Ctrl+Z
constexpr int kSentReplyLength = 4;
} // namespace

SmsSession::SmsSession(SerialLink *link, const LinkTimeouts &timeouts, QObject *parent)
    : LinkSession(link, timeouts, parent)
{
}

QByteArray SmsSession::handOver(const QString &number, const QString &text)
{
    QByteArray bytes = toCp1252(number);
    bytes += kNumberEnd;
    bytes += kCarriageReturn;
    bytes += kTextStart;
    bytes += toCp1252(text);
    bytes += kTextEnd;
    return bytes;
}

bool SmsSession::start(const QString &portName, const QString &number, const QString &text)
{
    if (isRunning())
        return false;
    beginRun();
    m_handOver = handOver(number, text);
    emit searching();
    if (openModulePort(portName) == PortOpening::Failed) {
        later([this] { finish(Outcome::PortOpenFailed); });
        return true;
    }
    waitForModule(timeouts().search, [this] {
        emit moduleFound();
        send(kAnnounce);
        waitForReply(int(kAnnounceReply.size()), timeouts().reply,
            [this](const QByteArray &reply) { announceReply(reply); });
    });
    return true;
}

void SmsSession::announceReply(const QByteArray &reply)
{
    emit announceAnswered(reply);
    if (reply != kAnnounceReply) {
        finish(Outcome::NoAnswer);
        return;
    }
    emit handingOver();
    send(m_handOver);
    waitForReply(kSentReplyLength, timeouts().reply, [this](const QByteArray &reply) { sendReply(reply); });
}

void SmsSession::sendReply(const QByteArray &reply)
{
    emit sendAnswered(reply);
    finish(reply == kSentReply ? Outcome::Success : Outcome::SendFailed);
}

void SmsSession::waitEnded(WaitEnd why)
{
    finish(why == WaitEnd::PortLost ? Outcome::PortLost : Outcome::NoAnswer);
}

void SmsSession::finish(Outcome outcome)
{
    endRun();
    closePort();
    m_handOver.clear();
    emit finished(outcome);
}
