#include "module.h"

#include "bytetext.h"
#include "eventlog.h"
#include "pty.h"

#include <array>
#include <termios.h>

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
    "Eingang 1: EIN\rEingang 2: AUS",
    "PEGEL Netz: 23",
    "Relais 1: AUS\r\nRelais 2: EIN",
    "Akku: 12.6 V\nNetz: OK",
    "T1: 045%  T2: 012%",
    "PEGEL Netz: 09",
    "ADC: 2.47 V",
    "PEGEL Netz: 31",
};

// How often the module looks at the line settings the program put on the line.
constexpr auto kLineCheckInterval = 20ms;
// A restarting module is silent for a moment before its boot banner.
constexpr auto kRestartTime = 100ms;
constexpr char kBootBanner[] = "\r\nRM425T  GSM-Modul  Start\r\nFW 2.31\r\n";

QByteArray acknowledgement(int block)
{
    return block == kBlockCount ? QByteArrayLiteral("REC") : "XX" + QByteArray::number(block);
}

} // namespace

ModuleSimulator::ModuleSimulator(
    const SimOptions &options, quint32 seed, PseudoTerminal *line, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_line(line)
    , m_statusMode(options.statusMode)
    , m_random(seed)
{
    m_chatterTimer.setSingleShot(true);
    connect(&m_chatterTimer, &QTimer::timeout, this, &ModuleSimulator::chatter);
    m_bootTimer.setSingleShot(true);
    m_bootTimer.setInterval(kRestartTime);
    connect(&m_bootTimer, &QTimer::timeout, this, &ModuleSimulator::boot);
    // The pause between status messages counts from the end of one, however long the line took with it.
    connect(m_line, &PseudoTerminal::drained, this, [this] {
        if (sendsStatus())
            m_statusTimer.start();
    });
    m_lineTimer.setInterval(kLineCheckInterval);
    connect(&m_lineTimer, &QTimer::timeout, this, &ModuleSimulator::checkLine);
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
    if (m_options.requiredLine) {
        // As another program might have left the line, so only the program's own settings can do.
        termios settings = m_line->lineSettings().value_or(termios {});
        cfmakeraw(&settings);
        cfsetispeed(&settings, B38400);
        cfsetospeed(&settings, B38400);
        settings.c_cflag = (settings.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
        settings.c_iflag |= IXON | IXOFF;
        m_line->setLineSettings(settings);
        logEvent(
            QStringLiteral("answering only on a line set to %1").arg(m_options.requiredLine->describe()));
    }
    checkLine();
    m_lineTimer.start();
    enterIdle();
    boot();
    scheduleChatter();
}

void ModuleSimulator::checkLine()
{
    const auto settings = m_line->lineSettings();
    if (!settings)
        return;
    const LineSettings line = LineSettings::fromTermios(*settings);
    const QString text = line.describe();
    const bool accepted = !m_options.requiredLine || line == *m_options.requiredLine;
    if (text == m_lastLine && accepted == m_lineAccepted)
        return;
    m_lastLine = text;
    m_lineAccepted = accepted;
    logEvent(QStringLiteral("line set to %1").arg(text));
    if (!accepted)
        logEvent(QStringLiteral("not answering: the line is %1, not %2")
                     .arg(text, m_options.requiredLine->describe()));
}

bool ModuleSimulator::readyForCommand(char command)
{
    if (!m_lineAccepted) {
        logEvent(QStringLiteral("received %1, not answered: the line is %2, not %3")
                     .arg(QLatin1Char(command))
                     .arg(m_lastLine, m_options.requiredLine->describe()));
        return false;
    }
    if (m_options.strict && !m_announced) {
        logEvent(
            QStringLiteral("received %1 before announcing itself, dropped (busy)").arg(QLatin1Char(command)));
        return false;
    }
    return true;
}

void ModuleSimulator::boot()
{
    if (!m_options.noise || m_options.scenario == Scenario::Silent)
        return;
    const QByteArray bytes = noiseBytes(2, 12) + kBootBanner + noiseBytes(0, 6);
    m_line->send(bytes);
    logEvent(QStringLiteral("boot noise \"%1\"").arg(describeBytes(bytes)));
}

QByteArray ModuleSimulator::noiseBytes(int minimum, int maximum)
{
    QByteArray bytes;
    const int count = minimum + int(m_random.bounded(quint32(maximum - minimum + 1)));
    for (int i = 0; i < count; ++i) {
        char byte;
        do
            byte = char(m_random.bounded(256u));
        while (byte == '*');
        bytes.append(byte);
    }
    return bytes;
}

void ModuleSimulator::scheduleChatter()
{
    if (!m_options.chatty)
        return;
    const qint64 longest = std::max<qint64>(2, m_options.announceInterval.count());
    m_chatterTimer.start(std::chrono::milliseconds(1 + m_random.bounded(longest)));
}

void ModuleSimulator::chatter()
{
    scheduleChatter();
    // A module that announces while it sends status messages would make them unreadable; the chatty
    // module's timer only ignores the exchanges.
    if (m_phase == Phase::Hung || m_phase == Phase::Flooding || sendsStatus() || !m_announcing
        || m_options.scenario == Scenario::Silent || !m_lineAccepted || m_bootTimer.isActive())
        return;
    m_line->send("*");
    m_announced = true;
}

void ModuleSimulator::receive(const QByteArray &bytes)
{
    if (m_record.isOpen() && m_record.write(bytes) != bytes.size())
        logEvent(QStringLiteral("cannot record received bytes: %1").arg(m_record.errorString()));

    if (m_options.scenario == Scenario::Silent) {
        logEvent(QStringLiteral("received \"%1\" (silent module)").arg(describeBytes(bytes)));
        return;
    }
    checkLine();
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
    if ((byte == 'D' || byte == 'S') && !readyForCommand(byte)) {
        flushIgnored();
        return;
    }
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
    chatterAfterReply();

    if (block == kBlockCount) {
        logEvent(QStringLiteral("parameter record complete, module restarts"));
        startReports(m_options.reportsAfterRestart);
        enterIdle();
        m_announced = false;
        m_bootTimer.start();
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
    chatterAfterReply();
}

void ModuleSimulator::chatterAfterReply()
{
    // The announcement timer knows nothing of the exchange: now and then it strikes right after a reply.
    if (m_options.chatty && m_random.bounded(2u) == 0 && m_lineAccepted)
        m_line->send("*");
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
    m_announced = false;
    m_bootTimer.start();
}

bool ModuleSimulator::lineIsIdle() const
{
    // A real line drops what nobody reads; here it would pile up, so idle chatter waits for an empty line.
    return m_line->pendingBytes() == 0;
}

void ModuleSimulator::announce()
{
    if (m_phase != Phase::Idle || !m_announcing || sendsStatus() || m_options.scenario == Scenario::Silent
        || !lineIsIdle() || !m_lineAccepted || m_bootTimer.isActive())
        return;
    // Noise only before the first announcement: after that the program may have sent a command that
    // crosses this announcement, and noise would then count as part of the reply.
    if (m_options.noise && !m_announced)
        m_line->send(noiseBytes(1, 8));
    m_line->send("*");
    m_announced = true;
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
    if (m_phase != Phase::Idle || !sendsStatus() || m_options.scenario == Scenario::Silent || !lineIsIdle()
        || !m_lineAccepted)
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
