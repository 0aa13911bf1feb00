#include "core/filekind.h"
#include "core/inifile.h"
#include "support/filesizelimit.h"
#include "support/specialfile.h"
#include "support/testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

#ifdef Q_OS_LINUX
// Permission bits do not bind root, and the tests often run as root: there the writes that must meet them
// run as an unprivileged user (real and effective id, the saved one lets us return) on files handed to it.
constexpr uid_t kUser = 65534;

void handOver(const QString &path)
{
    if (getuid() == 0)
        QCOMPARE(chown(QFile::encodeName(path).constData(), kUser, kUser), 0);
}

bool writeAsUser(const QString &path, QString *error, bool asUser = true)
{
    IniDocument document;
    document.setValue(u"frm1"_s, u"txt"_s, u"neu"_s);
    const bool root = asUser && getuid() == 0;
    if (root && setresuid(kUser, kUser, 0) != 0)
        return false;
    const bool written = writeIniFileAtomically(path, document, error);
    if (root && setresuid(0, 0, 0) != 0)
        qFatal("could not return to root");
    return written;
}

// Runs the call as the unprivileged user (see above) and comes back.
template<typename Call> auto asUser(Call call)
{
    const bool root = getuid() == 0;
    if (root && setresuid(kUser, kUser, 0) != 0)
        qFatal("could not become the unprivileged user");
    const auto result = call();
    if (root && setresuid(0, 0, 0) != 0)
        qFatal("could not return to root");
    return result;
}

// A folder the unprivileged user may enter, below the test's temporary folder.
void openToUser(const QTemporaryDir &dir)
{
    QVERIFY(QFile::setPermissions(dir.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
            | QFile::ReadOther | QFile::ExeOther));
}
#endif

} // namespace

class tst_IniFile : public QObject
{
    Q_OBJECT

private slots:
    void readsValuesLikeTheProfileCalls_data();
    void readsValuesLikeTheProfileCalls();
    void writesSectionsAndKeysInOrderOfWriting();
    void rewritingAKeyKeepsItsPlace();
    void lineBreaksInAValueNeverAddLines();
    void valuesReadBackAsSet_data();
    void valuesReadBackAsSet();
    void atomicWriteReplacesTheFile();
    void atomicWriteFailureKeepsTheOldFile();
    void readOnlyFolderIsWrittenInPlace();
    void leftoversOfAnInterruptedWriteGo();
    void noFileIsEverOpenedAsOne_data();
    void noFileIsEverOpenedAsOne();
    void inPlaceWriteKilledHalfwayLeavesACompleteCopy();
};

void tst_IniFile::readsValuesLikeTheProfileCalls_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // "<none>" when the read call returns nothing

    const QString none = QStringLiteral("<none>");
    const QString s = QStringLiteral("frm1");
    const QString k = QStringLiteral("txt");
    QTest::newRow("CR LF") << QByteArray("[frm1]\r\ntxt=a\r\n") << s << k << u"a"_s;
    QTest::newRow("LF") << QByteArray("[frm1]\ntxt=a\n") << s << k << u"a"_s;
    QTest::newRow("CR, no final line end") << QByteArray("[frm1]\rx=1\rtxt=a") << s << k << u"a"_s;
    QTest::newRow("blanks and tabs trimmed")
        << QByteArray(" \t[frm1]  \r\n \t txt \t=\t a b \t\r\n") << s << k << u"a b"_s;
    QTest::newRow("split at first =") << QByteArray("[frm1]\r\ntxt=a=b\r\n") << s << k << u"a=b"_s;
    QTest::newRow("section ends at first ]")
        << QByteArray("[frm1]x] ; note\r\ntxt=a\r\n") << s << k << u"a"_s;
    QTest::newRow("names without case") << QByteArray("[FRM1]\r\nTxt=a\r\n") << s << k << u"a"_s;
    QTest::newRow("; comment") << QByteArray("[frm1]\r\n;txt=a\r\n") << s << k << none;
    QTest::newRow("# is no comment") << QByteArray("[frm1]\r\n#txt=a\r\n") << s << u"#txt"_s << u"a"_s;
    QTest::newRow("before first section") << QByteArray("txt=a\r\n[frm1]\r\n") << s << k << none;
    QTest::newRow("line without =") << QByteArray("[frm1]\r\ntxt\r\ntxt a\r\n") << s << k << none;
    QTest::newRow("first key counts") << QByteArray("[frm1]\r\ntxt=a\r\nTXT=b\r\n") << s << k << u"a"_s;
    QTest::newRow("first section counts")
        << QByteArray("[frm1]\r\nx=1\r\n[frm2]\r\n[Frm1]\r\ntxt=b\r\n") << s << k << none;
    QTest::newRow("other section") << QByteArray("[frm2]\r\ntxt=a\r\n") << s << k << none;
    QTest::newRow("double quotes") << QByteArray("[frm1]\r\ntxt=\" a \"\r\n") << s << k << u" a "_s;
    QTest::newRow("single quotes") << QByteArray("[frm1]\r\ntxt='a'\r\n") << s << k << u"a"_s;
    QTest::newRow("one pair only") << QByteArray("[frm1]\r\ntxt=\"\"a\"\"\r\n") << s << k << u"\"a\""_s;
    QTest::newRow("unmatched quotes") << QByteArray("[frm1]\r\ntxt=\"a'\r\n") << s << k << u"\"a'"_s;
    QTest::newRow("lone quote") << QByteArray("[frm1]\r\ntxt=\"\r\n") << s << k << u"\""_s;
    QTest::newRow("empty value") << QByteArray("[frm1]\r\ntxt=\r\n") << s << k << none;
    QTest::newRow("blank value") << QByteArray("[frm1]\r\ntxt=  \r\n") << s << k << none;
    QTest::newRow("empty quotes") << QByteArray("[frm1]\r\ntxt=\"\"\r\n") << s << k << none;
    QTest::newRow("Windows-1252") << QByteArray("[frm1]\r\ntxt=\xE4\x80\x9F\r\n") << s << k << u"ä€Ÿ"_s;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF[frm1]\r\ntxt=\xC3\xA4\r\n") << s << k
                                     << u"ä"_s;
    QTest::newRow("300 characters") << QByteArray("[frm1]\r\ntxt=") + QByteArray(300, 'x') + "\r\n"
                                    << s << k << QString(255, u'x');
}

void tst_IniFile::readsValuesLikeTheProfileCalls()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const std::optional<QString> value = IniDocument::fromBytes(file).value(section, key);
    QCOMPARE(value.value_or(QStringLiteral("<none>")), expected);
}

void tst_IniFile::writesSectionsAndKeysInOrderOfWriting()
{
    IniDocument document;
    document.setValue(QStringLiteral("frm2"), QStringLiteral("txtB"), QStringLiteral("1"));
    document.setValue(QStringLiteral("frm1"), QStringLiteral("chksms1(0)"), QStringLiteral("-1"));
    document.setValue(QStringLiteral("frm2"), QStringLiteral("txtA"), u"ä€Ω"_s);
    document.setValue(QStringLiteral("frm1"), QStringLiteral("empty"), QString());

    QCOMPARE(document.toBytes(),
        QByteArray("[frm2]\r\ntxtB=1\r\ntxtA=\xE4\x80?\r\n"
                   "[frm1]\r\nchksms1(0)=-1\r\nempty=\r\n"));
    QCOMPARE(document.value(QStringLiteral("frm2"), QStringLiteral("txtA")), u"ä€?"_s);
    QCOMPARE(document.value(QStringLiteral("frm1"), QStringLiteral("empty")), std::nullopt);
}

void tst_IniFile::rewritingAKeyKeepsItsPlace()
{
    IniDocument document = IniDocument::fromBytes("; kept out\r\n[frm1]\r\na=1\r\nb=2\r\n[frm2]\r\nc=3\r\n");
    document.setValue(QStringLiteral("FRM1"), QStringLiteral("A"), QStringLiteral("9"));
    document.setValue(QStringLiteral("frm1"), QStringLiteral("d"), QStringLiteral("4"));

    QCOMPARE(document.toBytes(), QByteArray("[frm1]\r\na=9\r\nb=2\r\nd=4\r\n[frm2]\r\nc=3\r\n"));
}

void tst_IniFile::lineBreaksInAValueNeverAddLines()
{
    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), QStringLiteral("a\r\n[frm9]\nx=1\ry"));
    document.setValue(QStringLiteral("frm1"), QStringLiteral("next"), QStringLiteral("2"));

    QCOMPARE(document.toBytes(), QByteArray("[frm1]\r\ntxt=a [frm9] x=1 y\r\nnext=2\r\n"));
    const IniDocument reread = IniDocument::fromBytes(document.toBytes());
    QCOMPARE(reread.sections(), QStringList { QStringLiteral("frm1") });
    QCOMPARE(
        reread.keys(QStringLiteral("frm1")), (QStringList { QStringLiteral("txt"), QStringLiteral("next") }));
}

void tst_IniFile::valuesReadBackAsSet_data()
{
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QStringLiteral("Hallo Welt");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  a b ");
    QTest::newRow("tab at the end") << QStringLiteral("a\t");
    QTest::newRow("only blanks") << QStringLiteral("   ");
    QTest::newRow("quoted") << QStringLiteral("\"a\"");
    QTest::newRow("single-quoted") << QStringLiteral("'a'");
    QTest::newRow("two quotes") << QStringLiteral("''");
    QTest::newRow("one quote") << QStringLiteral("\"");
    QTest::newRow("comment and section look") << QStringLiteral(";[x]=y");
    QTest::newRow("umlauts") << u"Größe ÄÖÜ ß €"_s;
}

void tst_IniFile::valuesReadBackAsSet()
{
    QFETCH(QString, value);

    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), value);
    QCOMPARE(IniDocument::fromBytes(document.toBytes()).value(QStringLiteral("frm1"), QStringLiteral("txt")),
        value);
}

void tst_IniFile::atomicWriteReplacesTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ZERiruze.ini"));
    putFile(path, "[old]\r\nx=1\r\n");
    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), QStringLiteral("neu"));

    QString error;
    QVERIFY2(writeIniFileAtomically(path, document, &error), qPrintable(error));
    QCOMPARE(fileBytes(path), QByteArray("[frm1]\r\ntxt=neu\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("ZERiruze.ini") });
}

void tst_IniFile::atomicWriteFailureKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), QString(4000, u'x'));
    QString error;

    // The folder does not exist.
    const QString missing = dir.filePath(QStringLiteral("gone/ZERiruze.ini"));
    QVERIFY(!writeIniFileAtomically(missing, document, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(missing)), qPrintable(error));

    // The target is a folder.
    const QString folder = dir.filePath(QStringLiteral("ZERiruze.ini"));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("ZERiruze.ini/inside")));
    error.clear();
    QVERIFY(!writeIniFileAtomically(folder, document, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(folder + QStringLiteral("/inside")).isDir());

#ifdef Q_OS_LINUX
    // The disk fills up in the middle of the write (a file size limit binds root as well).
    const QString path = dir.filePath(QStringLiteral("sub/ZERiruze.ini"));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    const QByteArray old("[frm1]\r\ntxt=alt\r\n");
    putFile(path, old);
    error.clear();
    const bool written
        = withFileSizeLimit(1024, [&] { return writeIniFileAtomically(path, document, &error); });

    QVERIFY(!written);
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files),
        QStringList { QStringLiteral("ZERiruze.ini") });
#endif
}

void tst_IniFile::readOnlyFolderIsWrittenInPlace()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(u"program"_s), path = folder + u"/ZERiruze.ini"_s;
    QVERIFY(QDir().mkdir(folder));
    putFile(path, "[old]\r\n");
    handOver(folder);
    handOver(path);
    const auto rwx = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    QVERIFY(QFile::setPermissions(dir.path(), rwx | rx | QFile::ReadOther | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QFileInfo before(path);
    QString error;
    // A replace (folder writable), also by root, keeps the file's owner and mode; so does the write in place.
    for (const auto &[folderMode, asUser] :
        { std::pair(rwx, true), std::pair(rwx, false), std::pair(rx, true) }) {
        QVERIFY(QFile::setPermissions(folder, folderMode));
        QVERIFY2(writeAsUser(path, &error, asUser), qPrintable(error));
        QCOMPARE(fileBytes(path), QByteArray("[frm1]\r\ntxt=neu\r\n"));
        const QFileInfo after(path);
        QCOMPARE(after.permissions() & 0x7777, before.permissions() & 0x7777);
        QCOMPARE(after.ownerId(), before.ownerId());
        QCOMPARE(after.groupId(), before.groupId());
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList { u"ZERiruze.ini"_s });
    }
    // A file that may not be written is refused; the message names it once.
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    QVERIFY(!writeAsUser(path, &error));
    QCOMPARE(error.count(path), 1);
    QVERIFY(QFile::setPermissions(folder, rwx));
#endif
}

void tst_IniFile::leftoversOfAnInterruptedWriteGo()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Two leftovers; a save that may be writing right now, and files that are not temporary files of ours.
    const QStringList names { u"ZERiruze.ini.aB3dE9"_s, u"ZERiruze.ini.000000"_s, u"ZERiruze.ini.Fresh1"_s,
        u"ZERiruze.ini.bak"_s, u"ZERiruze.ini.ab-def"_s, u"Other.ini.aB3dE9"_s };
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (!name.endsWith(u"Fresh1"))
            QVERIFY(
                file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFile::FileModificationTime));
    }
    QVERIFY(writeIniFileAtomically(dir.filePath(u"ZERiruze.ini"_s), IniDocument()));
    QStringList expected = names.mid(2) << u"ZERiruze.ini"_s;
    expected.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
}

void tst_IniFile::noFileIsEverOpenedAsOne_data()
{
#ifdef Q_OS_UNIX
    SpecialFile::addRows();
#endif
}

void tst_IniFile::noFileIsEverOpenedAsOne()
{
#ifdef Q_OS_LINUX
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    openToUser(dir);
    SpecialFile node(kind, dir.filePath(u"ZERiruze.ini"_s));
    QVERIFY(node.isValid());
    const QString path = node.path();
    if (kind != u"/dev/null"_s)
        handOver(path);
    const FileKind before = fileKindOf(path);
    IniDocument document;
    document.setValue(u"frm1"_s, u"txt"_s, u"neu"_s);

    // Read: refused at once, where a plain open would wait for a writer (FIFO) or take the terminal.
    QVERIFY(!asUser([&] { return readIniFile(path).has_value(); }));
    QFile file;
    QVERIFY(!asUser([&] { return openRegularFileForReading(file, path); }));
    QVERIFY(!file.isOpen());
    // Write: refused untouched, neither renamed over nor written into, also with a copy asked for.
    QString error;
    const QString copy = dir.filePath(u"copy"_s);
    QVERIFY(!asUser([&] { return writeIniFileAtomically(path, document, &error, { copy, {} }); }));
    QVERIFY2(error.contains(u"not a regular file"_s) && error.contains(path), qPrintable(error));
    QCOMPARE(fileKindOf(path), before);
    QVERIFY(!QFile::exists(copy));
    if (kind == u"fifo"_s)
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            QStringList { u"ZERiruze.ini"_s });
    QVERIFY(node.lineIsQuiet());
#else
    QSKIP("FIFOs and terminals are Unix files");
#endif
}

void tst_IniFile::inPlaceWriteKilledHalfwayLeavesACompleteCopy()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    openToUser(dir);
    // A folder that takes no new files, with a file the user may write: the file is written in place (and
    // is longer than what replaces it, so its end must be cut).
    const QString folder = dir.filePath(u"program"_s), path = folder + u"/ZERiruze.ini"_s;
    const QString state = dir.filePath(u"state"_s);
    QVERIFY(QDir().mkdir(folder) && QDir().mkdir(state));
    const QByteArray old = "[frm1]\r\ntxt=" + QByteArray(4000, 'a') + "\r\n";
    putFile(path, old);
    for (const QString &p : { folder, path, state })
        handOver(p);
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    IniDocument document;
    document.setValue(u"frm1"_s, u"txt"_s, QString(3000, u'b'));
    const QByteArray written = document.toBytes();
    const QString copy = inPlaceCopyPath(state, path);

    // A child writes the file in place and is killed in the middle of the write, as by a crash.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (getuid() == 0 && setresuid(kUser, kUser, kUser) != 0)
            _exit(2);
        writeIniFileAtomically(path, document, nullptr, { copy, [] { raise(SIGKILL); } });
        _exit(3);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, qPrintable(QString::number(status)));

    // The file is neither the old one nor the new one; the copy is complete.
    const QByteArray damaged = fileBytes(path);
    QVERIFY(damaged != old && damaged != written);
    QVERIFY(damaged.startsWith(written.left(written.size() / 2)));
    QCOMPARE(fileBytes(copy), written);

    // A write that gets to its end leaves the file whole and the copy gone.
    QString error;
    QVERIFY2(asUser([&] {
        return writeIniFileAtomically(path, document, &error, { copy, {} });
    }),
        qPrintable(error));
    QCOMPARE(fileBytes(path), written);
    QVERIFY(!QFile::exists(copy));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList { u"ZERiruze.ini"_s });
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
#else
    QSKIP("needs fork");
#endif
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
