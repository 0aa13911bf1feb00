#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>

struct termios;

class QSocketNotifier;

// The pace of one direction of a 9600-baud line: a character may start only when the one before has
// ended. Kept against a clock, so a late timer tick lets the characters due by then go together instead
// of slowing the line down for good.
class LinePace
{
public:
    // Characters that have crossed the line by now (a line idle until now starts afresh).
    qint64 due();
    void sent(qint64 count) { m_started += count; }
    // Nothing more to send for now: once the last character has ended, the line is idle.
    void drained() { m_drained = true; }

private:
    QElapsedTimer m_clock;
    bool m_drained = false;
    qint64 m_started = 0; // characters started since the clock was started
};

// The module's end of the serial cable: the master side of a pseudo-terminal. The program opens the
// slave device as its serial port. We keep a slave descriptor of our own open, so the master never
// sees a hang-up while the program has the port closed.
class PseudoTerminal : public QObject
{
    Q_OBJECT
public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    bool open(QString *error);
    void close();
    bool isOpen() const { return m_master >= 0; }
    QString devicePath() const { return m_devicePath; }

    // Paced: 960 characters a second, as a 9600-baud line with one start and one stop bit; otherwise as
    // fast as the pty takes the bytes.
    void setPaced(bool paced) { m_paced = paced; }

    // Every write goes out in pieces split at random byte boundaries, with a random gap of up to maxGap
    // between them; the pieces' sizes and gaps come from a generator seeded with seed.
    void setFragmented(std::chrono::milliseconds maxGap, quint32 seed);

    // The settings the program put on the line (read from our own descriptor of the slave side).
    std::optional<termios> lineSettings() const;
    // Sets the line as another program might have left it, so only the program's own settings count.
    bool setLineSettings(const termios &settings);

    // Queues bytes for the line; nothing is dropped, bytes the pty cannot take yet wait here.
    void send(const QByteArray &bytes);
    qsizetype pendingBytes() const { return m_pending.size(); }

signals:
    void received(const QByteArray &bytes);
    // The last queued byte went out.
    void drained();

private:
    void readMaster();
    void writePending();
    void deliverIncoming();
    void waitUntilWritable();

    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    bool m_paced = false;
    QByteArray m_pending;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer m_paceTimer;
    QTimer m_receivePaceTimer;
    LinePace m_sendPace;
    LinePace m_receivePace;
    QByteArray m_incoming; // received, not yet through the paced line
    QTimer m_readRetryTimer;
    std::chrono::milliseconds m_fragmentGap { 0 };
    QRandomGenerator m_fragmentRandom;
    qsizetype m_fragmentLeft = 0; // bytes of the current piece not yet written
    bool m_gapDue = false; // a piece ended with more to send: wait before the next one
    QTimer m_gapTimer;
};
