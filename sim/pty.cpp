#include "pty.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A 9600-baud line with 8N1 framing carries 960 characters a second.
constexpr qint64 kCharacterNs = 10 * 1000000000LL / 9600;
// The pace timers look this often whether characters are due.
constexpr auto kPaceTick = 1ms;
// Should the master report an error while reading, look again after this pause instead of spinning.
constexpr auto kReadRetryDelay = 200ms;
constexpr qsizetype kReadChunk = 4096;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

qint64 LinePace::due()
{
    // A line that has been idle since its last character ended starts afresh; one that is only late
    // catches up.
    const bool idle = !m_clock.isValid() || (m_drained && m_clock.nsecsElapsed() >= m_started * kCharacterNs);
    m_drained = false;
    if (idle) {
        m_clock.start();
        m_started = 0;
    }
    // A character is through once its stop bit has ended. The pace timer looks only once a tick, so a
    // character goes at the tick nearest its end: on average the line keeps its time exactly, where
    // waiting for the tick after the end would add half a tick to every reply.
    const qint64 halfTick = std::chrono::nanoseconds(kPaceTick).count() / 2;
    return std::max<qint64>(0, (m_clock.nsecsElapsed() + halfTick) / kCharacterNs - m_started);
}

PseudoTerminal::PseudoTerminal(QObject *parent)
    : QObject(parent)
{
    m_paceTimer.setTimerType(Qt::PreciseTimer);
    m_paceTimer.setInterval(kPaceTick);
    connect(&m_paceTimer, &QTimer::timeout, this, &PseudoTerminal::writePending);
    // The line delivers what the program writes at the same pace: one character per character time.
    m_receivePaceTimer.setTimerType(Qt::PreciseTimer);
    m_receivePaceTimer.setInterval(kPaceTick);
    connect(&m_receivePaceTimer, &QTimer::timeout, this, &PseudoTerminal::deliverIncoming);
    m_gapTimer.setSingleShot(true);
    m_gapTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_gapTimer, &QTimer::timeout, this, &PseudoTerminal::writePending);
    m_readRetryTimer.setSingleShot(true);
    m_readRetryTimer.setInterval(kReadRetryDelay);
    connect(&m_readRetryTimer, &QTimer::timeout, this, [this] {
        if (m_readNotifier)
            m_readNotifier->setEnabled(true);
    });
}

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(QString *error)
{
    const auto failWith = [&](const QString &message) {
        *error = message;
        close();
        return false;
    };

    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        return failWith(systemError("posix_openpt"));
    if (grantpt(m_master) != 0)
        return failWith(systemError("grantpt"));
    if (unlockpt(m_master) != 0)
        return failWith(systemError("unlockpt"));
    const char *name = ptsname(m_master);
    if (!name)
        return failWith(systemError("ptsname"));
    m_devicePath = QString::fromLocal8Bit(name);

    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0)
        return failWith(systemError("open slave"));
    termios settings {};
    if (tcgetattr(m_slave, &settings) != 0)
        return failWith(systemError("tcgetattr"));
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0)
        return failWith(systemError("tcsetattr"));

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, [this] {
        m_writeNotifier->setEnabled(false);
        writePending();
    });
    return true;
}

void PseudoTerminal::setFragmented(std::chrono::milliseconds maxGap, quint32 seed)
{
    m_fragmentGap = maxGap;
    m_fragmentRandom.seed(seed);
}

std::optional<termios> PseudoTerminal::lineSettings() const
{
    termios settings {};
    if (m_slave < 0 || tcgetattr(m_slave, &settings) != 0)
        return std::nullopt;
    return settings;
}

bool PseudoTerminal::setLineSettings(const termios &settings)
{
    return m_slave >= 0 && tcsetattr(m_slave, TCSANOW, &settings) == 0;
}

void PseudoTerminal::close()
{
    m_paceTimer.stop();
    m_gapTimer.stop();
    m_receivePaceTimer.stop();
    m_incoming.clear();
    m_readRetryTimer.stop();
    // The close may be requested from inside a notifier's own signal.
    for (QSocketNotifier *notifier : { m_readNotifier, m_writeNotifier }) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readNotifier = nullptr;
    m_writeNotifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
    // Closing the master hangs up the program's end of the line.
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    m_pending.clear();
}

void PseudoTerminal::send(const QByteArray &bytes)
{
    if (m_master < 0 || bytes.isEmpty())
        return;
    const bool idle = m_pending.isEmpty();
    m_pending.append(bytes);
    if (idle)
        writePending();
}

void PseudoTerminal::readMaster()
{
    QByteArray buffer(kReadChunk, Qt::Uninitialized);
    const ssize_t count = ::read(m_master, buffer.data(), buffer.size());
    if (count > 0) {
        buffer.truncate(count);
        if (m_paced) {
            m_incoming.append(buffer);
            if (!m_receivePaceTimer.isActive()) {
                m_receivePaceTimer.start();
                deliverIncoming();
            }
        } else {
            emit received(buffer);
        }
    } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        // Only when no slave is open; ours is, so this is not expected, but never spin on it.
        m_readNotifier->setEnabled(false);
        m_readRetryTimer.start();
    }
}

void PseudoTerminal::deliverIncoming()
{
    if (m_incoming.isEmpty()) {
        m_receivePaceTimer.stop();
        return;
    }
    const qint64 count = std::min<qint64>(m_receivePace.due(), m_incoming.size());
    if (count == 0)
        return;
    m_receivePace.sent(count);
    const QByteArray next = m_incoming.left(count);
    m_incoming.remove(0, count);
    if (m_incoming.isEmpty())
        m_receivePace.drained();
    emit received(next);
}

void PseudoTerminal::writePending()
{
    if (m_master < 0 || m_gapTimer.isActive())
        return;
    const bool fragmenting = m_fragmentGap.count() > 0;
    while (!m_pending.isEmpty()) {
        if (fragmenting && m_fragmentLeft == 0) {
            if (m_gapDue) {
                m_gapDue = false;
                m_paceTimer.stop();
                m_gapTimer.start(
                    std::chrono::milliseconds(m_fragmentRandom.bounded(qint64(m_fragmentGap.count()) + 1)));
                return;
            }
            // Short pieces, so even a three-character reply is often cut.
            m_fragmentLeft = 1 + m_fragmentRandom.bounded(std::min<qsizetype>(m_pending.size(), 8));
        }
        qsizetype chunk = m_pending.size();
        if (m_paced) {
            chunk = std::min<qsizetype>(chunk, m_sendPace.due());
            if (chunk == 0)
                break;
        }
        if (fragmenting)
            chunk = std::min(chunk, m_fragmentLeft);
        const ssize_t written = ::write(m_master, m_pending.constData(), chunk);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                // The program is not reading and the line's buffer is full: resume once it has room.
                waitUntilWritable();
                return;
            }
            // A broken line takes nothing more; keeping the bytes would only make us retry forever.
            m_pending.clear();
            break;
        }
        m_pending.remove(0, written);
        if (m_paced)
            m_sendPace.sent(written);
        if (fragmenting) {
            m_fragmentLeft -= written;
            m_gapDue = m_fragmentLeft == 0 && !m_pending.isEmpty();
        }
    }
    if (m_pending.isEmpty()) {
        m_sendPace.drained();
        m_fragmentLeft = 0;
        m_gapDue = false;
        emit drained();
    }
    if (m_paced && !m_pending.isEmpty()) {
        if (!m_paceTimer.isActive())
            m_paceTimer.start();
    } else {
        m_paceTimer.stop();
    }
}

void PseudoTerminal::waitUntilWritable()
{
    m_paceTimer.stop();
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(true);
}
