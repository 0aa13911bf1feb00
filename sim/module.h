#pragma once

#include "options.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

class PseudoTerminal;

// The module's side of the protocol: announcements, the parameter upload, the SMS exchange and the
// status messages, with the failures of the chosen scenario.
class ModuleSimulator : public QObject
{
    Q_OBJECT
public:
    // seed drives every random choice of the line's manners.
    ModuleSimulator(const SimOptions &options, quint32 seed, PseudoTerminal *line, QObject *parent = nullptr);

    bool openRecord(QString *error);
    void start();

    void receive(const QByteArray &bytes);
    // Bytes a trainer or a test injects; sent whatever the module is doing.
    void say(const QByteArray &bytes);
    void setAnnouncing(bool announcing);
    void setStatusMode(bool on);
    // The module restarts: any exchange is abandoned and the module is idle again.
    void restart();

signals:
    void hangupRequested();

private:
    enum class Phase {
        Idle,
        Record, // receiving the ten data blocks
        SmsNumber, // receiving the phone number, up to the double quote
        SmsText, // receiving CR, ">" and the text, up to Ctrl+Z
        Hung, // no-answer: ignores everything until restarted
        Flooding,
    };

    void receiveByte(char byte);
    void receiveIdle(char byte);
    void blockComplete();
    void smsComplete(bool delimited);
    void startReports(int count);
    void enterIdle();
    void beginExchange(Phase phase);
    void reply(const QByteArray &bytes);
    void announce();
    void sendStatusMessage();
    void feedFlood();
    void abandonExchange();
    void flushIgnored();
    bool sendsStatus() const { return m_statusMode || m_reportsLeft > 0; }
    bool lineIsIdle() const;
    // A real line's manners (see the options).
    void chatter();
    void chatterAfterReply();
    void scheduleChatter();
    void boot();
    QByteArray noiseBytes(int minimum, int maximum);
    void checkLine();
    bool lineAccepted() const { return m_lineAccepted; }
    bool readyForCommand(char command);

    const SimOptions m_options;
    PseudoTerminal *m_line = nullptr;
    QFile m_record;
    Phase m_phase = Phase::Idle;
    bool m_announcing = true;
    bool m_statusMode = false;
    int m_reportsLeft = 0;
    int m_statusIndex = 0;
    int m_block = 1;
    qsizetype m_blockFill = 0;
    QByteArray m_smsNumber;
    QByteArray m_smsTail;
    QByteArray m_ignored; // received while idle, logged once the chunk is handled
    int m_floodLine = 0;
    QTimer m_announceTimer;
    QTimer m_statusTimer;
    QTimer m_abandonTimer;
    QTimer m_floodTimer;
    QRandomGenerator m_random;
    QTimer m_chatterTimer;
    QTimer m_lineTimer;
    QTimer m_bootTimer;
    bool m_announced = false; // since start or the last restart
    bool m_lineAccepted = true;
    QString m_lastLine; // as last logged
};
