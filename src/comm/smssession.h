#pragma once

#include "linksession.h"

// Sending one SMS through the module: find the module, announce the SMS with "S", hand over number and
// text, and hear whether the module sent it. The port is closed at every end. Checking that text and
// number are not empty is the caller's part.
class SmsSession : public LinkSession
{
    Q_OBJECT

public:
    enum class Outcome {
        Success, // the module answered "SEND"
        NoAnswer, // no "*" in time; not exactly "SMS" after "S"; not exactly four characters after the SMS
        PortOpenFailed, // the selected port did not open (see portError())
        SendFailed, // four characters other than "SEND"
        PortLost, // the port vanished
    };
    Q_ENUM(Outcome)

    explicit SmsSession(SerialLink *link, const LinkTimeouts &timeouts = {}, QObject *parent = nullptr);

    // Starts sending text to number on portName (empty when no port is listed). False, and nothing
    // happens, while a run is going on.
    bool start(const QString &portName, const QString &number, const QString &text);

    // What the module receives after it has accepted the SMS: the number, a double quote, CR, ">", the
    // text and Ctrl+Z, one Windows-1252 byte per character.
    static QByteArray handOver(const QString &number, const QString &text);

signals:
    void searching();
    void moduleFound();
    // The three characters the module answered "S" with, whatever they are.
    void announceAnswered(const QByteArray &reply);
    // The module accepted the SMS; number and text are being handed over.
    void handingOver();
    // The four characters the module answered the SMS with, whatever they are.
    void sendAnswered(const QByteArray &reply);
    void finished(SmsSession::Outcome outcome);

protected:
    void waitEnded(WaitEnd why) override;

private:
    void announceReply(const QByteArray &reply);
    void sendReply(const QByteArray &reply);
    void finish(Outcome outcome);

    QByteArray m_handOver;
};
