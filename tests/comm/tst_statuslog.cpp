#include "comm/statuslog.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Files may grow to `bytes` while it lives, as on a disk that is full there; the writes beyond fail
// (short, then with EFBIG) instead of ending the process.
class SizeLimit
{
public:
    explicit SizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { bytes, m_old.rlim_max };
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    SizeLimit(const SizeLimit &) = delete;
    SizeLimit &operator=(const SizeLimit &) = delete;

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class tst_StatusLog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void onlyAFileIsEverOpened_data();
    void onlyAFileIsEverOpened();
    void aFailedWriteLeavesOnlyWholeLines();
    void previousLogIsSetAsideOneGeneration_data();
    void previousLogIsSetAsideOneGeneration();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_StatusLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_StatusLog::onlyAFileIsEverOpened_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("fileKind");

    const int none = int(StatusLog::Problem::None);
    const int notAFile = int(StatusLog::Problem::NotAFile);
    QTest::newRow("missing: created") << u"missing"_s << none << int(FileKind::Missing);
    QTest::newRow("regular file") << u"file"_s << none << int(FileKind::Missing);
    QTest::newRow("link to a file") << u"link"_s << none << int(FileKind::Missing);
    QTest::newRow("named pipe, nobody reading") << u"fifo"_s << notAFile << int(FileKind::Fifo);
    QTest::newRow("named pipe with a reader") << u"fifo+reader"_s << notAFile << int(FileKind::Fifo);
    QTest::newRow("terminal") << u"pty"_s << notAFile << int(FileKind::CharacterDevice);
    QTest::newRow("device") << u"/dev/null"_s << notAFile << int(FileKind::CharacterDevice);
    QTest::newRow("folder") << u"dir"_s << notAFile << int(FileKind::Directory);
}

void tst_StatusLog::onlyAFileIsEverOpened()
{
    QFETCH(QString, kind);
    QFETCH(int, problem);
    QFETCH(int, fileKind);

    QString name = path(u"GSM.DAT"_s);
    int reader = -1;
    int pty = -1;
    if (kind == u"file"_s) {
        putFile(name, "old\r\n");
    } else if (kind == u"link"_s) {
        putFile(path(u"target"_s), "old\r\n");
        QVERIFY(QFile::link(path(u"target"_s), name));
    } else if (kind.startsWith(u"fifo"_s)) {
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
        if (kind.endsWith(u"reader"_s))
            reader = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK);
    } else if (kind == u"pty"_s) {
        pty = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(pty >= 0 && ::grantpt(pty) == 0 && ::unlockpt(pty) == 0);
        name = QString::fromLocal8Bit(::ptsname(pty));
    } else if (kind == u"dir"_s) {
        QVERIFY(QDir().mkdir(name));
    } else if (kind.startsWith(u'/')) {
        name = kind;
    }

    StatusLog log(name);
    const bool opened = log.open(); // never blocks: a blocking open would hang the test here
    QCOMPARE(int(log.failure().problem), problem);
    QCOMPARE(opened, problem == int(StatusLog::Problem::None));
    if (!opened) {
        QCOMPARE(int(log.failure().kind), fileKind);
        QVERIFY(!log.append(u"x"_s));
    } else {
        QVERIFY(log.append(u"Zustand ä"_s));
        log.close();
        const QString file = kind == u"link"_s ? path(u"target"_s) : name;
        QCOMPARE(fileBytes(file), QByteArray(kind == u"missing"_s ? "" : "old\r\n") + "Zustand \xe4\r\n");
        QVERIFY(QFileInfo(name).isSymLink() == (kind == u"link"_s));
    }
    if (reader >= 0)
        ::close(reader);
    if (pty >= 0)
        ::close(pty);
}

void tst_StatusLog::aFailedWriteLeavesOnlyWholeLines()
{
    const QString name = path(u"GSM.DAT"_s);
    putFile(name, "earlier\r\n"); // 9 bytes
    StatusLog log(name);
    QVERIFY(log.open());
    {
        const SizeLimit full(20);
        QVERIFY(log.append(u"one"_s)); // 14 bytes
        QVERIFY(!log.append(u"a line too long"_s)); // would end at 31
        QCOMPARE(int(log.failure().problem), int(StatusLog::Problem::CannotWrite));
        QVERIFY2(!log.failure().reason.isEmpty(), "the system's reason is kept");
        QCOMPARE(fileBytes(name), QByteArray("earlier\r\none\r\n"));

        // A long message in pieces: the piece that fails takes back the ones before it, and what follows
        // of that message is dropped, its end included.
        QVERIFY(log.appendPiece(u"abc"_s));
        QVERIFY(!log.appendPiece(u"defghij"_s));
        QVERIFY(!log.appendPiece(u"k"_s));
        QVERIFY(!log.append(u"l"_s));
        QCOMPARE(fileBytes(name), QByteArray("earlier\r\none\r\n"));
        QVERIFY(log.append(u"two"_s)); // fits: 19 bytes
    }
    // Once there is room again, the log goes on with whole lines.
    QVERIFY(log.appendPiece(u"th"_s));
    QVERIFY(log.append(u"ree"_s));
    QCOMPARE(fileBytes(name), QByteArray("earlier\r\none\r\ntwo\r\nthree\r\n"));
}

void tst_StatusLog::previousLogIsSetAsideOneGeneration_data()
{
    QTest::addColumn<QString>("before"); // what GSM.DAT is: "file", "fifo", "none"
    QTest::addColumn<QString>("oldBefore"); // what GSM.DAT.old is: "file", "dir", "none"
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("oldAfter"); // bytes of GSM.DAT.old afterwards ("<dir>", "<none>")
    QTest::addColumn<bool>("logStays");

    QTest::newRow("first run") << u"none"_s << u"none"_s << true << QByteArray("<none>") << false;
    QTest::newRow("yesterday's log kept") << u"file"_s << u"none"_s << true << QByteArray("today") << false;
    QTest::newRow("one generation") << u"file"_s << u"file"_s << true << QByteArray("today") << false;
    QTest::newRow("no log left: the older one stays")
        << u"none"_s << u"file"_s << true << QByteArray("older") << false;
    QTest::newRow("a folder in the way: nothing lost")
        << u"file"_s << u"dir"_s << false << QByteArray("<dir>") << true;
    QTest::newRow("a named pipe is no log: left alone")
        << u"fifo"_s << u"none"_s << false << QByteArray("<none>") << true;
}

void tst_StatusLog::previousLogIsSetAsideOneGeneration()
{
    QFETCH(QString, before);
    QFETCH(QString, oldBefore);
    QFETCH(bool, result);
    QFETCH(QByteArray, oldAfter);
    QFETCH(bool, logStays);

    const QString name = path(u"GSM.DAT"_s);
    const QString old = name + StatusLog::kPreviousSuffix;
    QCOMPARE(old, path(u"GSM.DAT.old"_s));
    if (before == u"file"_s)
        putFile(name, "today");
    else if (before == u"fifo"_s)
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    if (oldBefore == u"file"_s)
        putFile(old, "older");
    else if (oldBefore == u"dir"_s)
        QVERIFY(QDir().mkdir(old));

    QCOMPARE(StatusLog::setAsidePrevious(name), result);
    QCOMPARE(QFileInfo::exists(name), logStays);
    const QFileInfo info(old);
    QCOMPARE(info.isDir()   ? QByteArray("<dir>")
            : info.exists() ? fileBytes(old)
                            : QByteArray("<none>"),
        oldAfter);
    if (before == u"file"_s && logStays)
        QCOMPARE(fileBytes(name), QByteArray("today"));
}

QTEST_GUILESS_MAIN(tst_StatusLog)
#include "tst_statuslog.moc"
