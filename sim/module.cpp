#include "module.h"

#include "bytetext.h"
#include "eventlog.h"
#include "pty.h"

#include <array>

using namespace std::chrono_literals;

namespace {

constexpr qsizetype kBlockSize = 64;
constexpr int kBlockCount = 10;
constexpr char kSmsDelimiter = '"';
constexpr char kCtrlZ = 26;
constexpr auto kFloodTick = 10ms;
// The flood only tops up what the line has not taken yet, so a program that stops reading does not
// make us hoard memory.
constexpr qsizetype kFloodBacklog = 4096;

// Signal-level messages carry the level as two digits 12 positions after the "P" of "PEGEL":
// "PEGEL" + " Netz: " (7 characters) + the digits. The first message of a series is "PEGEL Netz: 17".
constexpr std::array kStatusMessages {
    "PEGEL Netz: 17",
    "Netz: eingebucht",
    "T1: 045%  T2: 012%",
    "PEGEL Netz: 23",
    "Relais 1: AUS\r\nRelais 2: EIN",
    "PEGEL Netz: 09",
    "ADC: 2.47 V",
    "PEGEL Netz: 31",
};

QByteArray acknowledgement(int block)
{
    return block == kBlockCount ? QByteArrayLiteral("REC") : "XX" + QByteArray::number(block);
}

} // namespace

ModuleSimulator::ModuleSimulator(const SimOptions &options, PseudoTerminal *line, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_line(line)
    , m_statusMode(options.statusMode)
{
    m_announceTimer.setInterval(m_options.announceInterval);
    connect(&m_announceTimer, &QTimer::timeout, this, &ModuleSimulator::announce);
    m_statusTimer.setInterval(m_options.statusInterval);
    connect(&m_statusTimer, &QTimer::timeout, this, &ModuleSimulator::sendStatusMessage);
    m_abandonTimer.setSingleShot(true);
    m_abandonTimer.setInterval(m_options.abandonAfter);
    connect(&m_abandonTimer, &QTimer::timeout, this, &ModuleSimulator::abandonExchange);
    m_floodTimer.setInterval(kFloodTick);
    connect(&m_floodTimer, &QTimer::timeout, this, &ModuleSimulator::feedFlood);
}

bool ModuleSimulator::openRecord(QString *error)
{
    if (m_options.recordPath.isEmpty())
        return true;
    m_record.setFileName(m_options.recordPath);
    if (!m_record.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_options.recordPath, m_record.errorString());
        return false;
    }
    return true;
}

void ModuleSimulator::start()
{
    logEvent(QStringLiteral("module on %1, scenario %2%3")
                 .arg(m_line->devicePath(), scenarioName(m_options.scenario),
                     m_options.scenario == Scenario::WrongAck || m_options.scenario == Scenario::NoAnswer
                             || m_options.scenario == Scenario::Hangup
                         ? QStringLiteral(" at block %1").arg(m_options.block)
                         : QString()));
    if (m_statusMode)
        logEvent(QStringLiteral("status messages every %1 ms").arg(m_options.statusInterval.count()));
    else
        logEvent(QStringLiteral("announcing \"*\" every %1 ms").arg(m_options.announceInterval.count()));
    enterIdle();
}

void ModuleSimulator::receive(const QByteArray &bytes)
{
    if (m_record.isOpen() && m_record.write(bytes) != bytes.size())
        logEvent(QStringLiteral("cannot record received bytes: %1").arg(m_record.errorString()));

    if (m_options.scenario == Scenario::Silent) {
        logEvent(QStringLiteral("received \"%1\" (silent module)").arg(describeBytes(bytes)));
        return;
    }
    if (m_abandonTimer.isActive())
        m_abandonTimer.start();
    for (const char byte : bytes)
        receiveByte(byte);
    flushIgnored();
}

void ModuleSimulator::receiveByte(char byte)
{
    switch (m_phase) {
    case Phase::Idle:
        receiveIdle(byte);
        break;
    case Phase::Record:
        if (++m_blockFill == kBlockSize)
            blockComplete();
        break;
    case Phase::SmsNumber:
        if (byte == kSmsDelimiter)
            m_phase = Phase::SmsText;
        else if (byte == kCtrlZ)
            smsComplete(false);
        else
            m_smsNumber.append(byte);
        break;
    case Phase::SmsText:
        if (byte == kCtrlZ)
            smsComplete(true);
        else
            m_smsTail.append(byte);
        break;
    case Phase::Hung:
    case Phase::Flooding:
        m_ignored.append(byte);
        break;
    }
}

void ModuleSimulator::receiveIdle(char byte)
{
    if (byte == 'D') {
        flushIgnored();
        logEvent(QStringLiteral("received D"));
        switch (m_options.scenario) {
        case Scenario::WrongVersion:
            reply("VX");
            break;
        case Scenario::ExtraChars:
            reply("*VP");
            break;
        default:
            reply("VP");
        }
        m_block = 1;
        m_blockFill = 0;
        beginExchange(Phase::Record);
    } else if (byte == 'S') {
        flushIgnored();
        logEvent(QStringLiteral("received S"));
        reply(m_options.scenario == Scenario::SmsLongReply ? QByteArrayLiteral("SMS!")
                                                           : QByteArrayLiteral("SMS"));
        m_smsNumber.clear();
        m_smsTail.clear();
        beginExchange(Phase::SmsNumber);
    } else {
        m_ignored.append(byte);
    }
}

void ModuleSimulator::blockComplete()
{
    const int block = m_block;
    const bool strikes = block == m_options.block;
    if (strikes && m_options.scenario == Scenario::Hangup) {
        logEvent(QStringLiteral("block %1 received, hanging up").arg(block));
        m_abandonTimer.stop();
        m_phase = Phase::Hung;
        emit hangupRequested();
        return;
    }
    if (strikes && m_options.scenario == Scenario::NoAnswer) {
        logEvent(QStringLiteral("block %1 received, module hangs (no answers until reset)").arg(block));
        m_abandonTimer.stop();
        m_phase = Phase::Hung;
        return;
    }
    if (strikes && m_options.scenario == Scenario::WrongAck) {
        const QByteArray wrong = acknowledgement(block % kBlockCount + 1);
        logEvent(QStringLiteral("block %1 received, acknowledged with %2 on purpose")
                     .arg(block)
                     .arg(QString::fromLatin1(wrong)));
        m_line->send(wrong);
    } else {
        logEvent(QStringLiteral("block %1 acknowledged with %2")
                     .arg(block)
                     .arg(QString::fromLatin1(acknowledgement(block))));
        m_line->send(acknowledgement(block));
    }

    if (block == kBlockCount) {
        logEvent(QStringLiteral("parameter record complete, module restarts"));
        startReports(m_options.reportsAfterRestart);
        enterIdle();
        return;
    }
    ++m_block;
    m_blockFill = 0;
}

void ModuleSimulator::smsComplete(bool delimited)
{
    const bool wellFormed = delimited && !m_smsNumber.isEmpty() && m_smsTail.startsWith("\r>");
    if (wellFormed) {
        logEvent(QStringLiteral("SMS to %1: \"%2\"")
                     .arg(describeBytes(m_smsNumber), describeBytes(m_smsTail.mid(2))));
    } else {
        logEvent(QStringLiteral("malformed SMS \"%1\" (expected number, '\"', CR, '>', text, Ctrl+Z)")
                     .arg(describeBytes(m_smsNumber + (delimited ? "\"" : "") + m_smsTail)));
    }

    if (!wellFormed || m_options.scenario == Scenario::SmsFail) {
        reply("FAIL");
        enterIdle();
        return;
    }
    reply("SEND");
    startReports(m_options.reportsAfterSms);
    enterIdle();
}

void ModuleSimulator::startReports(int count)
{
    m_reportsLeft = count;
    m_statusIndex = 0;
    if (m_reportsLeft > 0 && !m_statusMode)
        logEvent(QStringLiteral("sending %1 status messages").arg(m_reportsLeft));
}

void ModuleSimulator::enterIdle()
{
    m_phase = Phase::Idle;
    m_abandonTimer.stop();
    m_floodTimer.stop();
    // Restarting the timers gives the program a full interval before the next announcement or message.
    m_announceTimer.start();
    m_statusTimer.start();
}

void ModuleSimulator::beginExchange(Phase phase)
{
    m_phase = phase;
    if (m_options.abandonAfter > 0ms)
        m_abandonTimer.start();
}

void ModuleSimulator::reply(const QByteArray &bytes)
{
    m_line->send(bytes);
    logEvent(QStringLiteral("sent %1").arg(describeBytes(bytes)));
}

void ModuleSimulator::say(const QByteArray &bytes)
{
    m_line->send(bytes);
    logEvent(QStringLiteral("said \"%1\"").arg(describeBytes(bytes)));
}

void ModuleSimulator::setAnnouncing(bool announcing)
{
    m_announcing = announcing;
    logEvent(announcing ? QStringLiteral("announcements on") : QStringLiteral("announcements off"));
}

void ModuleSimulator::setStatusMode(bool on)
{
    m_statusMode = on;
    m_statusIndex = 0;
    m_statusTimer.start();
    logEvent(on ? QStringLiteral("status messages on") : QStringLiteral("status messages off"));
}

void ModuleSimulator::restart()
{
    logEvent(QStringLiteral("module restarts"));
    m_reportsLeft = 0;
    enterIdle();
}

bool ModuleSimulator::lineIsIdle() const
{
    // A real line drops what nobody reads; here it would pile up, so idle chatter waits for an empty line.
    return m_line->pendingBytes() == 0;
}

void ModuleSimulator::announce()
{
    if (m_phase != Phase::Idle || !m_announcing || sendsStatus() || m_options.scenario == Scenario::Silent
        || !lineIsIdle())
        return;
    m_line->send("*");
    if (m_options.scenario == Scenario::Flood) {
        logEvent(QStringLiteral("sent *, now streaming status text without pauses"));
        m_phase = Phase::Flooding;
        m_announceTimer.stop();
        m_floodTimer.start();
        feedFlood();
    }
}

void ModuleSimulator::sendStatusMessage()
{
    if (m_phase != Phase::Idle || !sendsStatus() || m_options.scenario == Scenario::Silent || !lineIsIdle())
        return;
    const QByteArray message = kStatusMessages.at(m_statusIndex % kStatusMessages.size());
    ++m_statusIndex;
    m_line->send(message);
    logEvent(QStringLiteral("status \"%1\"").arg(describeBytes(message)));
    if (!m_statusMode && m_reportsLeft > 0 && --m_reportsLeft == 0) {
        logEvent(QStringLiteral("status messages done, announcing again"));
        m_announceTimer.start();
    }
}

void ModuleSimulator::feedFlood()
{
    if (m_phase != Phase::Flooding) {
        m_floodTimer.stop();
        return;
    }
    // About 10000 characters a second while the program keeps up (51 characters per line).
    for (int i = 0; i < 2 && m_line->pendingBytes() < kFloodBacklog; ++i) {
        m_floodLine = (m_floodLine + 1) % 1000000;
        m_line->send(QStringLiteral("Messwert %1: T1 045%  T2 012%  PEGEL Netz: 17\r\n")
                         .arg(m_floodLine, 6, 10, QLatin1Char('0'))
                         .toLatin1());
    }
}

void ModuleSimulator::abandonExchange()
{
    logEvent(QStringLiteral("no byte for %1 ms, exchange abandoned").arg(m_options.abandonAfter.count()));
    enterIdle();
}

void ModuleSimulator::flushIgnored()
{
    if (m_ignored.isEmpty())
        return;
    logEvent(QStringLiteral("received \"%1\" (ignored)").arg(describeBytes(m_ignored)));
    m_ignored.clear();
}
