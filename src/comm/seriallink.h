#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The link to the module: one serial port at 9600 baud, no parity, 8 data bits, 1 stop bit. Everything is
// event driven: readers react to readyRead and never block. An implementation over a real port and a fake
// for tests share this interface.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Opens the port at the link settings. On failure the port stays closed and errorText (when given)
    // says why. Opening an already open link fails; close it first.
    virtual bool open(const QString &portName, QString *errorText = nullptr) = 0;
    // Closes the port if it is open; closing a closed link does nothing.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The port last opened (or tried), as passed to open().
    virtual QString portName() const = 0;

    // Received bytes waiting to be read.
    virtual qint64 bytesAvailable() const = 0;
    // At most one byte; empty when nothing is waiting.
    virtual QByteArray readOne() = 0;
    virtual QByteArray readAll() = 0;
    // Discards everything received so far.
    virtual void clearInput() = 0;
    // Sends the bytes in order. False when the port is not open or refused them.
    virtual bool write(const QByteArray &bytes) = 0;

signals:
    void readyRead();
    // The open port went away under us (device unplugged, other end hung up). The link is closed by then;
    // closed() follows.
    void lost();
    // An open port was closed, by close() or because it was lost.
    void closed();
};

class QtSerialLink final : public SerialLink
{
    Q_OBJECT

public:
    explicit QtSerialLink(QObject *parent = nullptr);
    ~QtSerialLink() override;

    bool open(const QString &portName, QString *errorText = nullptr) override;
    void close() override;
    bool isOpen() const override;
    QString portName() const override;
    qint64 bytesAvailable() const override;
    QByteArray readOne() override;
    QByteArray readAll() override;
    void clearInput() override;
    bool write(const QByteArray &bytes) override;

    // Applies the link settings to port and opens it for reading and writing.
    static bool openWithLinkSettings(QSerialPort &port, const QString &portName);

private:
    void handleError(QSerialPort::SerialPortError error);

    QSerialPort *m_port = nullptr;
    QString m_portName; // as given to open()
};
