#include "commandinput.h"

#include "eventlog.h"

#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <unistd.h>

namespace {

constexpr qsizetype kReadChunk = 4096;
// A line longer than this is not a command; don't let endless input without newlines grow the buffer.
constexpr qsizetype kMaxLineLength = 1 << 20;
// Started in the background of an interactive shell, the terminal is not ours to read: look again later,
// in case the shell brings us to the foreground.
constexpr auto kBackgroundRetry = std::chrono::milliseconds(500);

} // namespace

CommandInput::CommandInput(int fd, QObject *parent)
    : QObject(parent)
    , m_fd(fd)
{
    // A read from the terminal while in the background would stop the whole simulator (SIGTTIN); ignored,
    // the read fails with EIO instead and the simulator runs on.
    if (::isatty(fd))
        std::signal(SIGTTIN, SIG_IGN);
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CommandInput::readInput);
}

void CommandInput::readInput()
{
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    const ssize_t count = ::read(m_fd, chunk.data(), chunk.size());
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (count < 0 && errno == EIO && ::isatty(m_fd)) {
        m_notifier->setEnabled(false);
        QTimer::singleShot(kBackgroundRetry, m_notifier, [this] { m_notifier->setEnabled(true); });
        return;
    }
    if (count <= 0) {
        m_notifier->setEnabled(false);
        if (!m_buffer.isEmpty())
            emit lineReceived(QString::fromUtf8(m_buffer));
        m_buffer.clear();
        logEvent(QStringLiteral("end of command input, still running"));
        return;
    }
    m_buffer.append(chunk.constData(), count);
    qsizetype newline;
    while ((newline = m_buffer.indexOf('\n')) >= 0) {
        QByteArray line = m_buffer.left(newline);
        m_buffer.remove(0, newline + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        emit lineReceived(QString::fromUtf8(line));
    }
    if (m_buffer.size() > kMaxLineLength) {
        logEvent(QStringLiteral("command line too long, discarded"));
        m_buffer.clear();
    }
}
