#include "shell/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <QDateTime>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

#ifdef Q_OS_LINUX
// Permission bits do not bind root, and the tests often run as root: there the writes that must meet them
// run under an unprivileged user id, on files and folders handed to that user.
constexpr uid_t kUnprivileged = 65534;

bool isRoot()
{
    return geteuid() == 0;
}

void handToWriter(const QString &path)
{
    if (isRoot())
        QCOMPARE(chown(QFile::encodeName(path).constData(), kUnprivileged, kUnprivileged), 0);
}

class AsWriter
{
public:
    AsWriter()
    {
        // The real user id too, which access() checks; the saved one lets us return.
        if (isRoot())
            m_switched = setresuid(kUnprivileged, kUnprivileged, 0) == 0;
    }
    ~AsWriter()
    {
        if (m_switched && setresuid(0, 0, 0) != 0)
            qFatal("could not return to the original user");
    }
    bool ready() const { return !isRoot() || m_switched; }

private:
    bool m_switched = false;
};

// The owner's, group's and others' bits of a Unix mode as Qt's flags; the current user's go with the owner's.
QFile::Permissions mode(int bits)
{
    static constexpr QFile::Permission kFlags[]
        = { QFile::ExeOther, QFile::WriteOther, QFile::ReadOther, QFile::ExeGroup, QFile::WriteGroup,
              QFile::ReadGroup, QFile::ExeOwner, QFile::WriteOwner, QFile::ReadOwner };
    QFile::Permissions p;
    for (int bit = 0; bit < 9; ++bit) {
        if (bits & (1 << bit))
            p |= kFlags[bit];
    }
    return p | QFile::Permissions::fromInt(int(p.toInt() & 0x7000) >> 4);
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
    void replacedFileKeepsOwnerAndMode();
    void leftoversOfAnInterruptedWriteGo();
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
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    error.clear();
    const bool written = writeIniFileAtomically(path, document, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!written);
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files),
        QStringList { QStringLiteral("ZERiruze.ini") });
#endif
}

void tst_IniFile::readOnlyFolderIsWrittenInPlace()
{
#ifndef Q_OS_LINUX
    QSKIP("folder permissions are tested on Linux");
#else
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QFile::setPermissions(dir.path(), mode(0755)));
    const QString folder = dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/ZERiruze.ini");
    putFile(path, "[frm1]\r\ntxt=alt\r\n");
    handToWriter(folder);
    handToWriter(path);
    QVERIFY(QFile::setPermissions(folder, mode(0555)));
    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), QStringLiteral("neu"));
    QString error;
    bool written = false;
    {
        AsWriter writer;
        QVERIFY(writer.ready());
        written = writeIniFileAtomically(path, document, &error);
    }
    QVERIFY2(written, qPrintable(error));
    QCOMPARE(fileBytes(path), QByteArray("[frm1]\r\ntxt=neu\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList { QStringLiteral("ZERiruze.ini") });

    // A file that may not be written is refused, whatever the folder allows; the message names it once.
    for (const int folderMode : { 0555, 0777 }) {
        QVERIFY(QFile::setPermissions(folder, mode(folderMode)));
        QVERIFY(QFile::setPermissions(path, mode(0444)));
        {
            AsWriter writer;
            written = writeIniFileAtomically(path, document, &error);
        }
        QVERIFY2(!written, qPrintable(QString::number(folderMode, 8)));
        QCOMPARE(error.count(QDir::toNativeSeparators(path)), 1);
        QCOMPARE(fileBytes(path), QByteArray("[frm1]\r\ntxt=neu\r\n"));
    }
    QVERIFY(QFile::setPermissions(folder, mode(0755)));
#endif
}

void tst_IniFile::replacedFileKeepsOwnerAndMode()
{
#ifndef Q_OS_LINUX
    QSKIP("owner and mode are tested on Linux");
#else
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ZERiruze.ini"));
    putFile(path, "[old]\r\n");
    QVERIFY(QFile::setPermissions(path, mode(0640)));
    // Only root can give a file away: the owner part of the test needs it.
    handToWriter(path);
    const QFileInfo before(path);
    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), QStringLiteral("neu"));
    QString error;
    QVERIFY2(writeIniFileAtomically(path, document, &error), qPrintable(error));
    const QFileInfo after(path);
    QCOMPARE(fileBytes(path), QByteArray("[frm1]\r\ntxt=neu\r\n"));
    QCOMPARE(after.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
        mode(0640) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
    QCOMPARE(after.ownerId(), before.ownerId());
    QCOMPARE(after.groupId(), before.groupId());
#endif
}

void tst_IniFile::leftoversOfAnInterruptedWriteGo()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ZERiruze.ini"));
    putFile(path, "[frm1]\r\ntxt=alt\r\n");
    const QStringList stale { QStringLiteral("ZERiruze.ini.aB3dE9"), QStringLiteral("ZERiruze.ini.000000") };
    // A save that is writing right now, and files that are no temporary files of ours.
    const QStringList kept { QStringLiteral("ZERiruze.ini.Fresh1"), QStringLiteral("ZERiruze.ini.bak"),
        QStringLiteral("ZERiruze.ini.ab-def"), QStringLiteral("Other.ini.aB3dE9") };
    for (const QString &name : stale + kept) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[frm1]\r\n");
        QVERIFY(file.flush());
        if (name != u"ZERiruze.ini.Fresh1")
            QVERIFY(file.setFileTime(
                QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    }
    IniDocument document;
    document.setValue(QStringLiteral("frm1"), QStringLiteral("txt"), QStringLiteral("neu"));
    QVERIFY(writeIniFileAtomically(path, document));
    QStringList expected = kept;
    expected << QStringLiteral("ZERiruze.ini");
    expected.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(fileBytes(path), QByteArray("[frm1]\r\ntxt=neu\r\n"));
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
