#include "comm/frm8.h"
#include "core/appsetup.h"
#include "shell/configfiles.h"
#include "shell/frmstart.h"
#include "shell/windowcatalog.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// `rm425t init FILE`, run as the program itself in a child process without a display.
class tst_InitCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void writesWhatTheWindowSavesAtFirstStart();
    void existingFileIsReplacedOnlyWhenAsked_data();
    void existingFileIsReplacedOnlyWhenAsked();
    void refusesWhatIsNoFileToWrite_data();
    void refusesWhatIsNoFileToWrite();
    void helpNamesTheCommandAndItsOptions();

private:
    struct Run
    {
        int exitCode = -1; // -1: it did not end by itself
        QString err;
        QString out;
    };
    Run run(const QStringList &arguments);
    QByteArray read(const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_InitCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_InitCommand::cleanup()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

tst_InitCommand::Run tst_InitCommand::run(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    // A working settings file of the user's must not colour what is written.
    env.insert(u"HOME"_s, m_dir->path());
    env.insert(u"XDG_CONFIG_HOME"_s, m_dir->filePath(u"config"_s));
    env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_dir->path());
    // "--help" alone asks the program's overview; everything else goes to init.
    const QStringList command
        = arguments == QStringList { u"--help"_s } ? QStringList() : QStringList { u"init"_s };
    process.start(QStringLiteral(RM425T_PROGRAM_PATH), command + arguments);
    Run result;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.err = QString::fromUtf8(process.readAllStandardError());
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    return result;
}

QByteArray tst_InitCommand::read(const QString &name) const
{
    QFile file(m_dir->filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void tst_InitCommand::writesWhatTheWindowSavesAtFirstStart()
{
    // The user's own settings, which the command must not take for the design values.
    QVERIFY(QDir().mkpath(m_dir->filePath(u"config/RM425T"_s)));
    QFile working(m_dir->filePath(u"config/RM425T/ZERiruze.ini"_s));
    QVERIFY(working.open(QIODevice::WriteOnly));
    working.write("[frm1]\r\ntxtbez=Pumpe 3\r\nlanguage=0\r\n");
    working.close();
    const Run first = run({ u"new.ini"_s });
    QCOMPARE(first.exitCode, 0);
    QVERIFY2(first.err.contains(u"new.ini was written"_s), qPrintable(first.err));

    // The window on its first start, with no settings file, saving as.
    QDir::setCurrent(m_dir->path());
    AppSetup::setUpApplication({ m_dir->filePath(u"empty"_s) });
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->filePath(u"recent"_s));
    registerProgramWindows();
    WindowRegistry::instance().registerFactory(u"frm8"_s, [] {
        Frm8Options options;
        options.discoverPorts = [] { return QList<PortEntry>(); };
        return new Frm8(nullptr, options);
    });
    auto *start = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    QVERIFY(start->configurationFiles()->saveConfigurationAs(m_dir->filePath(u"window.ini"_s)));
    QCOMPARE(read(u"new.ini"_s), read(u"window.ini"_s));
    QVERIFY(read(u"new.ini"_s).contains("\r\nlanguage=1\r\n"));
}

void tst_InitCommand::existingFileIsReplacedOnlyWhenAsked_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("kept, English by default") << QStringList() << 3 << "exists already and is left as it is";
    QTest::newRow("kept, German") << QStringList { "--lang", "de" } << 3 << "gibt es schon";
    QTest::newRow("kept, French") << QStringList { "--lang", "fr" } << 3 << "existe déjà";
    QTest::newRow("replaced") << QStringList { "--force" } << 0 << "was written";
    QTest::newRow("replaced, German") << QStringList { "--force", "--lang", "de" } << 0 << "wurde mit";
}

void tst_InitCommand::existingFileIsReplacedOnlyWhenAsked()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QCOMPARE(run({ u"design.ini"_s }).exitCode, 0);
    const QByteArray customer = "[frm1]\r\ntxtbez=Kunde A\r\n";
    for (const QString &name : { u"customer.ini"_s, u"target.ini"_s }) {
        QFile file(m_dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(customer);
    }
    // Through a link too: what it points to is the file that exists.
    QVERIFY(QFile::link(m_dir->filePath(u"target.ini"_s), m_dir->filePath(u"link.ini"_s)));

    for (const QString &name : { u"customer.ini"_s, u"link.ini"_s }) {
        const Run result = run(QStringList { name } + options);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(said) && result.err.contains(name), qPrintable(result.err));
    }
    const QByteArray expected = exitCode == 0 ? read(u"design.ini"_s) : customer;
    QCOMPARE(read(u"customer.ini"_s), expected);
    QCOMPARE(read(u"target.ini"_s), expected);
    QVERIFY(QFileInfo(m_dir->filePath(u"link.ini"_s)).isSymLink());
}

void tst_InitCommand::refusesWhatIsNoFileToWrite_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("a folder") << QStringList { "folder", "--force" } << 3;
    // Opening a FIFO would wait for a reader for ever.
    QTest::newRow("a FIFO") << QStringList { "fifo", "--force" } << 3;
    QTest::newRow("a folder that is not there") << QStringList { "missing/new.ini" } << 3;
    QTest::newRow("no file named") << QStringList() << 2;
    QTest::newRow("an empty name") << QStringList { "" } << 2;
    QTest::newRow("two files") << QStringList { "a.ini", "b.ini" } << 2;
    QTest::newRow("unknown language") << QStringList { "a.ini", "--lang", "nl" } << 2;
    QTest::newRow("unknown option") << QStringList { "a.ini", "--overwrite" } << 2;
}

void tst_InitCommand::refusesWhatIsNoFileToWrite()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QVERIFY(QDir().mkpath(m_dir->filePath(u"folder"_s)));
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir->filePath(u"fifo"_s)).constData(), 0600), 0);
    const QStringList before = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(!result.err.isEmpty());
    if (exitCode == 3)
        QVERIFY2(result.err.contains(arguments.constFirst()), qPrintable(result.err));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    struct stat fifo
    {
    };
    QVERIFY(::stat(QFile::encodeName(m_dir->filePath(u"fifo"_s)).constData(), &fifo) == 0
        && S_ISFIFO(fifo.st_mode));
}

void tst_InitCommand::helpNamesTheCommandAndItsOptions()
{
    const Run overview = run({ u"--help"_s });
    QCOMPARE(overview.exitCode, 0);
    QVERIFY2(overview.out.contains(u"  init "_s), qPrintable(overview.out));
    const Run help = run({ u"--help"_s, u"x.ini"_s });
    QCOMPARE(help.exitCode, 0);
    for (const char *word : { "FILE", "--force", "--lang", "Exit status", "exit status 3" })
        QVERIFY2(help.out.contains(QLatin1String(word)), word);
    QVERIFY(!QFile::exists(m_dir->filePath(u"x.ini"_s)));
}

QTEST_MAIN(tst_InitCommand)
#include "tst_initcommand.moc"
