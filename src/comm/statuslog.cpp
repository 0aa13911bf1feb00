#include "statuslog.h"

#include "core/cp1252.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

StatusLog::StatusLog(const QString &fileName)
    : m_fileName(fileName)
    , m_file(fileName)
{
}

void StatusLog::setFileName(const QString &fileName)
{
    close();
    m_fileName = fileName;
    m_file.setFileName(fileName);
}

bool StatusLog::open()
{
    close();
    m_failure = {};
    m_inLine = false;
    m_skipRestOfLine = false;
    m_file.setFileName(m_fileName);
    const FileKind kind = fileKindOf(m_fileName);
    if (!isFileOrMissing(kind)) {
        m_failure = { Problem::NotAFile, kind, {} };
        return false;
    }
    return openFile();
}

#ifdef Q_OS_UNIX
bool StatusLog::openFile()
{
    // Without waiting: should a named pipe have taken the file's place since it was looked at, opening it
    // fails at once (no reader) or it is refused below, instead of blocking the program.
    const int fd = ::open(QFile::encodeName(m_fileName).constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        m_failure = error == ENXIO
            ? Failure { Problem::NotAFile, FileKind::Fifo, {} }
            : Failure { Problem::CannotOpen, FileKind::Regular, qt_error_string(error) };
        return false;
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        const FileKind kind = fileKindOf(m_fileName);
        m_failure = { Problem::NotAFile, isFileOrMissing(kind) ? FileKind::Other : kind, {} };
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!m_file.open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
            QFileDevice::AutoCloseHandle)) {
        m_failure = { Problem::CannotOpen, FileKind::Regular, m_file.errorString() };
        ::close(fd);
        return false;
    }
    return true;
}
#else
bool StatusLog::openFile()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        m_failure = { Problem::CannotOpen, FileKind::Regular, m_file.errorString() };
        return false;
    }
    return true;
}
#endif

bool StatusLog::append(const QString &message)
{
    return write(toCp1252(message) + QByteArrayLiteral("\r\n"), true);
}

bool StatusLog::appendPiece(const QString &piece)
{
    return write(toCp1252(piece), false);
}

bool StatusLog::write(const QByteArray &bytes, bool endsLine)
{
    if (!m_file.isOpen())
        return false;
    if (m_skipRestOfLine) {
        m_skipRestOfLine = !endsLine;
        return false;
    }
    if (!m_inLine)
        m_lineStart = m_file.size();
    // A short write (a full disk, a size limit) is followed by one more try, which gives the reason.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = m_file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written == bytes.size()) {
        m_inLine = !endsLine;
        return true;
    }
    m_failure = { Problem::CannotWrite, FileKind::Regular, m_file.errorString() };
    // No part of a line stays behind, for the next message would be joined to it.
    m_file.resize(m_lineStart);
    m_inLine = false;
    m_skipRestOfLine = !endsLine;
    return false;
}

void StatusLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}

bool StatusLog::setAsidePrevious(const QString &fileName)
{
    const FileKind kind = fileKindOf(fileName);
    if (kind != FileKind::Regular)
        return kind == FileKind::Missing;
    const QString previous = fileName + kPreviousSuffix;
    if (QFileInfo(previous).isSymLink() || fileKindOf(previous) == FileKind::Regular)
        QFile::remove(previous);
    return QFile::rename(fileName, previous);
}
