#include "simprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

using namespace std::chrono_literals;

namespace {

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

SimProcess::SimProcess()
{
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("sim.log")));
}

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::executablePath()
{
    return QStringLiteral(RM425T_SIM_PATH);
}

bool SimProcess::start(const QStringList &arguments, std::chrono::milliseconds timeout)
{
    if (!m_dir.isValid())
        return false;
    m_process.start(executablePath(),
        QStringList(arguments) << QStringLiteral("--record")
                               << m_dir.filePath(QStringLiteral("received.bin")));
    QDeadlineTimer deadline(timeout);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine().trimmed());
    return !m_devicePath.isEmpty();
}

void SimProcess::say(const QByteArray &bytes)
{
    QByteArray line = "say ";
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7F && byte != '\\')
            line.append(byte);
        else
            line.append("\\x" + QByteArray::number(value, 16).rightJustified(2, '0'));
    }
    command(line);
}

void SimProcess::command(const QByteArray &line)
{
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(1000);
}

QByteArray SimProcess::recordedBytes() const
{
    return readWholeFile(m_dir.filePath(QStringLiteral("received.bin")));
}

bool SimProcess::waitForRecorded(qsizetype count, std::chrono::milliseconds timeout) const
{
    return QTest::qWaitFor([&] { return recordedBytes().size() >= count; }, int(timeout.count()));
}

QString SimProcess::log() const
{
    return QString::fromLocal8Bit(readWholeFile(m_dir.filePath(QStringLiteral("sim.log"))));
}

bool SimProcess::waitForLog(const QString &text, std::chrono::milliseconds timeout) const
{
    return QTest::qWaitFor([&] { return log().contains(text); }, int(timeout.count()));
}

bool SimProcess::waitForExit(std::chrono::milliseconds timeout)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(int(timeout.count()));
}

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // SIGTERM ends the simulator cleanly even when its stdin is closed.
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

#ifdef Q_OS_UNIX
PtyLine::~PtyLine()
{
    close();
}

bool PtyLine::open(const QString &devicePath)
{
    close();
    m_fd = ::open(QFile::encodeName(devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    termios settings {};
    if (tcgetattr(m_fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(m_fd, TCSANOW, &settings);
    }
    m_hungUp = false;
    return true;
}

void PtyLine::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool PtyLine::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    QDeadlineTimer deadline(2s);
    while (m_fd >= 0 && done < bytes.size() && !deadline.hasExpired()) {
        const ssize_t written = ::write(m_fd, bytes.constData() + done, bytes.size() - done);
        if (written > 0) {
            done += written;
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd waiter { m_fd, POLLOUT, 0 };
            ::poll(&waiter, 1, 10);
        }
    }
    return done == bytes.size();
}

bool PtyLine::waitReadable(std::chrono::milliseconds timeout)
{
    if (m_fd < 0 || m_hungUp)
        return false;
    pollfd waiter { m_fd, POLLIN, 0 };
    int result;
    do
        result = ::poll(&waiter, 1, int(std::max<qint64>(0, timeout.count())));
    while (result < 0 && errno == EINTR);
    if (result <= 0)
        return false;
    if ((waiter.revents & POLLIN) != 0)
        return true;
    if ((waiter.revents & (POLLHUP | POLLERR)) != 0)
        m_hungUp = true;
    return false;
}

QByteArray PtyLine::read(qsizetype count, std::chrono::milliseconds timeout)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeout);
    while (bytes.size() < count && waitReadable(std::chrono::milliseconds(deadline.remainingTime()))) {
        char buffer[256];
        const ssize_t got = ::read(m_fd, buffer, std::min<qsizetype>(sizeof buffer, count - bytes.size()));
        if (got > 0)
            bytes.append(buffer, got);
        else if (got == 0 || (errno != EAGAIN && errno != EINTR))
            m_hungUp = true;
    }
    return bytes;
}

QByteArray PtyLine::readThrough(char byte, std::chrono::milliseconds timeout)
{
    QByteArray bytes;
    QDeadlineTimer deadline(timeout);
    while (!bytes.endsWith(byte) && !deadline.hasExpired()) {
        const QByteArray one = read(1, std::chrono::milliseconds(deadline.remainingTime()));
        if (one.isEmpty())
            break;
        bytes.append(one);
    }
    return bytes;
}

QByteArray PtyLine::readUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds limit)
{
    QByteArray bytes;
    QDeadlineTimer deadline(limit);
    while (!deadline.hasExpired()) {
        const auto wait = std::min<qint64>(quiet.count(), deadline.remainingTime());
        if (!waitReadable(std::chrono::milliseconds(wait)))
            break;
        char buffer[4096];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got > 0)
            bytes.append(buffer, got);
        else if (got == 0 || (errno != EAGAIN && errno != EINTR))
            m_hungUp = true;
    }
    return bytes;
}

void PtyLine::discardInput()
{
    if (m_fd >= 0)
        tcflush(m_fd, TCIFLUSH);
}

bool PtyLine::waitForHangup(std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    while (!m_hungUp && !deadline.hasExpired())
        readUntilQuiet(std::chrono::milliseconds(deadline.remainingTime()),
            std::chrono::milliseconds(deadline.remainingTime()));
    return m_hungUp;
}
#endif
