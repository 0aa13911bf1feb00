#pragma once

#include "linksession.h"

// The parameter upload: find the module, check its protocol version, send the record in ten blocks of 64
// bytes, each acknowledged. The port is closed at every end.
class UploadSession : public LinkSession
{
    Q_OBJECT

public:
    enum class Outcome {
        Success,
        NoAnswer, // no "*" in time, no reply of exactly two characters to "D", or stopped before
        PortOpenFailed, // the selected port did not open (see portError()); nothing was waited for
        WrongVersion, // two characters other than "VP" after "D"; no block was sent
        IncompleteTransfer, // a block was not acknowledged with exactly its three characters in time
        PortLost, // the port vanished during the run
    };
    Q_ENUM(Outcome)

    static constexpr int kBlockCount = 10;
    static constexpr int kBlockSize = 64;

    explicit UploadSession(SerialLink *link, const LinkTimeouts &timeouts = {}, QObject *parent = nullptr);

    // Starts the upload of the encoded record on portName (empty when no port is listed). False, and
    // nothing happens, while a run is going on.
    bool start(const QString &portName, const QByteArray &record);

    // The module's acknowledgement of block 1 … 10: "XX1" … "XX9", "REC".
    static QByteArray acknowledgement(int block);

signals:
    void searching();
    void moduleFound();
    // The two characters the module answered "D" with, whatever they are.
    void versionAnswered(const QByteArray &reply);
    // The version was accepted and block 1 … 10 is being sent.
    void transferring(int block);
    // Block 1 … 10 was answered with exactly three characters (its acknowledgement or not).
    void blockAnswered(int block, const QByteArray &reply);
    // block: for IncompleteTransfer the block that was not acknowledged; for PortLost the block in transfer
    // (0 before the first); otherwise 0.
    void finished(UploadSession::Outcome outcome, int block);

protected:
    void waitEnded(WaitEnd why) override;

private:
    void versionReply(const QByteArray &reply);
    void sendBlock(int block);
    void blockReply(int block, const QByteArray &reply);
    void finish(Outcome outcome);

    QByteArray m_record;
    int m_block = 0;
};
