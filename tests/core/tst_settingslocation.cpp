#include "core/settingslocation.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SettingsLocation;

// The choice of folders is made against folders the test sets up; which of them may be written is told
// through the folders' own predicate, since a test running as root may write anywhere.
class tst_SettingsLocation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void settingsFile_data();
    void settingsFile();
    void startingPointIsReadUntilTheFirstSave();
    void statusLog_data();
    void statusLog();
    void realFoldersOfAWritableProgramFolder();
    void stateFolder_data();
    void stateFolder();

private:
    Folders folders(const QSet<QString> &writable) const;
    void touch(const QString &path) const;

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_program, m_config, m_data, m_current;
};

void tst_SettingsLocation::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_program = m_root->filePath(u"bin"_s);
    m_config = m_root->filePath(u"config"_s);
    m_data = m_root->filePath(u"data"_s);
    m_current = m_root->filePath(u"work"_s);
    for (const QString &dir : { m_program, m_config, m_data, m_current })
        QVERIFY(QDir().mkpath(dir));
}

Folders tst_SettingsLocation::folders(const QSet<QString> &writable) const
{
    return { m_program, m_config, m_data, m_current,
        [writable](const QString &path) { return writable.contains(path); } };
}

void tst_SettingsLocation::touch(const QString &path) const
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void tst_SettingsLocation::settingsFile_data()
{
    QTest::addColumn<bool>("buildTree");
    QTest::addColumn<bool>("fileBeside");
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<QString>("write"); // "beside" or "config"
    QTest::addColumn<QString>("read");

    QTest::newRow("portable copy") << false << false << true << false << u"beside"_s << u"beside"_s;
    QTest::newRow("portable copy with its file")
        << false << true << true << true << u"beside"_s << u"beside"_s;
    QTest::newRow("file writable in a closed folder")
        << false << true << false << true << u"beside"_s << u"beside"_s;
    QTest::newRow("installed, no file") << false << false << false << false << u"config"_s << u"config"_s;
    QTest::newRow("installed with a read-only file")
        << false << true << false << false << u"config"_s << u"beside"_s;
    QTest::newRow("build tree") << true << false << true << false << u"config"_s << u"config"_s;
    QTest::newRow("build tree with an old file")
        << true << true << true << true << u"config"_s << u"beside"_s;
}

void tst_SettingsLocation::settingsFile()
{
    QFETCH(bool, buildTree);
    QFETCH(bool, fileBeside);
    QFETCH(bool, folderWritable);
    QFETCH(bool, fileWritable);
    QFETCH(QString, write);
    QFETCH(QString, read);

    const QString beside = QDir(m_program).filePath(kSettingsFileName);
    const QString user = QDir(m_config).filePath(kSettingsFileName);
    if (buildTree)
        touch(QDir(m_program).filePath(kBuildTreeMarker));
    if (fileBeside)
        touch(beside);
    QSet<QString> writable { m_config, m_data, m_current };
    if (folderWritable)
        writable << m_program;
    if (fileWritable)
        writable << beside;

    const SettingsFileChoice choice = chooseSettingsFile(folders(writable));
    QCOMPARE(choice.writePath, write == u"beside"_s ? beside : user);
    QCOMPARE(choice.readPath, read == u"beside"_s ? beside : user);
}

void tst_SettingsLocation::startingPointIsReadUntilTheFirstSave()
{
    const QString beside = QDir(m_program).filePath(kSettingsFileName);
    const QString user = QDir(m_config).filePath(kSettingsFileName);
    touch(beside);
    const Folders installed = folders({ m_config });
    QCOMPARE(chooseSettingsFile(installed).readPath, beside);
    touch(user); // the user saved
    QCOMPARE(chooseSettingsFile(installed).readPath, user);
    QCOMPARE(chooseSettingsFile(installed).writePath, user);
}

void tst_SettingsLocation::statusLog_data()
{
    QTest::addColumn<bool>("currentWritable");
    QTest::addColumn<bool>("inData");
    QTest::newRow("current directory writable") << true << false;
    QTest::newRow("current directory closed") << false << true;
}

void tst_SettingsLocation::statusLog()
{
    QFETCH(bool, currentWritable);
    QFETCH(bool, inData);
    QSet<QString> writable { m_data };
    if (currentWritable)
        writable << m_current;
    QCOMPARE(chooseStatusLog(folders(writable)), inData ? QDir(m_data).filePath(u"GSM.DAT"_s) : u"GSM.DAT"_s);
}

void tst_SettingsLocation::realFoldersOfAWritableProgramFolder()
{
    // The file system's own answer: a folder the test created can be written, and its file stays there.
    Folders real = currentFolders();
    real.programDir = m_program;
    real.configDir = m_config;
    QCOMPARE(chooseSettingsFile(real).writePath, QDir(m_program).filePath(kSettingsFileName));
    QVERIFY(!isBuildTree(m_program));
}

void tst_SettingsLocation::stateFolder_data()
{
    QTest::addColumn<QByteArray>("xdgStateHome");
    QTest::addColumn<QString>("expected"); // below HOME unless absolute
    QTest::newRow("unset") << QByteArray() << u".local/state/RM425T"_s;
    QTest::newRow("set") << QByteArray("/srv/state") << u"/srv/state/RM425T"_s;
    // The XDG rule: a relative path is no state folder at all.
    QTest::newRow("relative") << QByteArray("state") << u".local/state/RM425T"_s;
}

void tst_SettingsLocation::stateFolder()
{
#ifdef Q_OS_WIN
    QSKIP("the local application data folder");
#else
    QFETCH(QByteArray, xdgStateHome);
    QFETCH(QString, expected);
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", m_root->path().toLocal8Bit());
    if (xdgStateHome.isEmpty())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", xdgStateHome);
    const QString folder = SettingsLocation::stateFolder();
    qputenv("HOME", savedHome);
    if (saved.isEmpty())
        qunsetenv("XDG_STATE_HOME");
    else
        qputenv("XDG_STATE_HOME", saved);
    QCOMPARE(folder, expected.startsWith(u'/') ? expected : QDir(m_root->path()).filePath(expected));
    // Never the folder of the settings file, so a copy kept there can never be taken for it.
    QVERIFY(folder != currentFolders().configDir);
#endif
}

QTEST_GUILESS_MAIN(tst_SettingsLocation)
#include "tst_settingslocation.moc"
