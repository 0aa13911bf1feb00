#pragma once

#include "comm/seriallink.h"

#include <QByteArrayList>
#include <QList>

// A serial link without a port: the test plays the module. Bytes the test feeds arrive in the input at
// once (readyRead is emitted), everything written is kept, and scripted replies answer writes one by one
// from the event loop, as a module would after the bytes had crossed the line.
class FakeLink : public SerialLink
{
    Q_OBJECT

public:
    using SerialLink::SerialLink;

    bool open(const QString &portName, QString *errorText = nullptr) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    QString portName() const override { return m_portName; }
    qint64 bytesAvailable() const override { return m_input.size(); }
    QByteArray readOne() override;
    QByteArray readAll() override;
    void clearInput() override { m_input.clear(); }
    bool write(const QByteArray &bytes) override;

    // Opening fails with this text from now on; an empty text lets it succeed again.
    void setOpenError(const QString &text) { m_openError = text; }
    // The bytes arrive from the module (only while the port is open, as on a real line).
    void feed(const QByteArray &bytes);
    // The device goes away: the port closes and lost() is reported.
    void vanish();
    // Each write is answered by the next of these replies (an empty reply answers nothing).
    void setReplies(const QByteArrayList &replies) { m_replies = replies; }
    // Each reply arrives in pieces of this many bytes, each in its own turn of the event loop (0: whole).
    void setReplyChunk(int bytes) { m_replyChunk = bytes; }

    QByteArray written() const { return m_written.join(); }
    QByteArrayList writes() const { return m_written; }
    int openCount() const { return m_openCount; }

private:
    bool m_open = false;
    QString m_portName;
    QString m_openError;
    QByteArray m_input;
    QByteArrayList m_written;
    QByteArrayList m_replies;
    int m_openCount = 0;
    int m_replyChunk = 0;

    void feedInPieces(const QByteArray &reply);
};
