#include "uploadsession.h"

#include "seriallink.h"

namespace {
const QByteArray kVersionRequest = QByteArrayLiteral("D");
const QByteArray kVersionReply = QByteArrayLiteral("VP");
} // namespace

UploadSession::UploadSession(SerialLink *link, const LinkTimeouts &timeouts, QObject *parent)
    : LinkSession(link, timeouts, parent)
{
}

QByteArray UploadSession::acknowledgement(int block)
{
    if (block == kBlockCount)
        return QByteArrayLiteral("REC");
    return QByteArrayLiteral("XX") + QByteArray::number(block);
}

bool UploadSession::start(const QString &portName, const QByteArray &record)
{
    if (isRunning())
        return false;
    beginRun();
    m_record = record;
    m_block = 0;
    emit searching();
    if (openModulePort(portName) == PortOpening::Failed) {
        later([this] { finish(Outcome::PortOpenFailed); });
        return true;
    }
    waitForModule(timeouts().uploadSearch, [this] {
        emit moduleFound();
        send(kVersionRequest);
        waitForReply(int(kVersionReply.size()), timeouts().reply,
            [this](const QByteArray &reply) { versionReply(reply); });
    });
    return true;
}

void UploadSession::versionReply(const QByteArray &reply)
{
    emit versionAnswered(reply);
    if (reply != kVersionReply) {
        finish(Outcome::WrongVersion);
        return;
    }
    sendBlock(1);
}

void UploadSession::sendBlock(int block)
{
    m_block = block;
    emit transferring(block);
    send(m_record.mid(qsizetype(block - 1) * kBlockSize, kBlockSize));
    const QByteArray expected = acknowledgement(block);
    waitForReply(int(expected.size()), timeouts().reply,
        [this, block](const QByteArray &reply) { blockReply(block, reply); });
}

void UploadSession::blockReply(int block, const QByteArray &reply)
{
    emit blockAnswered(block, reply);
    if (reply != acknowledgement(block)) {
        finish(Outcome::IncompleteTransfer);
        return;
    }
    if (block == kBlockCount)
        finish(Outcome::Success);
    else
        sendBlock(block + 1);
}

void UploadSession::waitEnded(WaitEnd why)
{
    if (why == WaitEnd::PortLost)
        finish(Outcome::PortLost);
    else if (m_block > 0)
        finish(Outcome::IncompleteTransfer);
    else
        finish(Outcome::NoAnswer);
}

void UploadSession::finish(Outcome outcome)
{
    endRun();
    closePort();
    m_record.clear();
    const int block = (outcome == Outcome::IncompleteTransfer || outcome == Outcome::PortLost) ? m_block : 0;
    emit finished(outcome, block);
}
