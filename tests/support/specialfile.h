#pragma once

#include <QFile>
#include <QString>
#include <QTest>

#ifdef Q_OS_UNIX
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

// Something at a path that is no file, for the tests of what the program must never open as one: "fifo" a
// FIFO created at fifoPath, "pty" a pseudo-terminal of the test's own, held open on both sides so that a
// byte written to it would wait on the master; any other kind is taken as the path of an existing node
// ("/dev/null").
class SpecialFile
{
public:
    SpecialFile(const QString &kind, const QString &fifoPath)
    {
        if (kind == QLatin1String("fifo")) {
            if (::mkfifo(QFile::encodeName(fifoPath).constData(), 0666) == 0)
                m_path = fifoPath;
        } else if (kind == QLatin1String("pty")) {
            m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
            if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
                m_path = QString::fromLocal8Bit(::ptsname(m_master));
                m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
            }
        } else {
            m_path = kind;
        }
    }
    ~SpecialFile()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }
    SpecialFile(const SpecialFile &) = delete;
    SpecialFile &operator=(const SpecialFile &) = delete;

    QString path() const { return m_path; }
    bool isValid() const { return !m_path.isEmpty() && (m_master < 0 || m_slave >= 0); }
    // Not one byte went out on the terminal (always true for the other kinds).
    bool lineIsQuiet() const
    {
        if (m_master < 0)
            return true;
        pollfd input { m_master, POLLIN, 0 };
        return ::poll(&input, 1, 0) == 0;
    }

    // The rows of a data function over every kind: a column "kind".
    static void addRows()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("terminal") << QStringLiteral("pty");
        QTest::newRow("device") << QStringLiteral("/dev/null");
    }

private:
    QString m_path;
    int m_master = -1;
    int m_slave = -1;
};
#endif
