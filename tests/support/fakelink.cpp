#include "fakelink.h"

#include <QTimer>

bool FakeLink::open(const QString &portName, QString *errorText)
{
    m_portName = portName;
    if (m_open || !m_openError.isEmpty()) {
        if (errorText)
            *errorText = m_open ? QStringLiteral("already open") : m_openError;
        return false;
    }
    m_open = true;
    ++m_openCount;
    m_input.clear();
    return true;
}

void FakeLink::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    emit closed();
}

QByteArray FakeLink::readOne()
{
    if (m_input.isEmpty())
        return {};
    const QByteArray one = m_input.left(1);
    m_input.remove(0, 1);
    return one;
}

QByteArray FakeLink::readAll()
{
    return std::exchange(m_input, QByteArray());
}

bool FakeLink::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    m_written << bytes;
    if (!m_replies.isEmpty()) {
        const QByteArray reply = m_replies.takeFirst();
        if (!reply.isEmpty())
            QTimer::singleShot(0, this, [this, reply] { feedInPieces(reply); });
    }
    return true;
}

void FakeLink::feed(const QByteArray &bytes)
{
    if (!m_open)
        return;
    m_input += bytes;
    emit readyRead();
}

void FakeLink::vanish()
{
    if (!m_open)
        return;
    m_open = false;
    m_input.clear();
    emit lost();
    emit closed();
}

void FakeLink::feedInPieces(const QByteArray &reply)
{
    if (m_replyChunk <= 0 || reply.size() <= m_replyChunk) {
        feed(reply);
        return;
    }
    feed(reply.left(m_replyChunk));
    const QByteArray rest = reply.mid(m_replyChunk);
    QTimer::singleShot(0, this, [this, rest] { feedInPieces(rest); });
}
