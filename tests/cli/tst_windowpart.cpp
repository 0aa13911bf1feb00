// The program as two parts: the commands run without loading any window library, and the window is loaded
// from its own part, found beside the program in the build tree; a program without its part says so.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runProgram(const QString &program, const QStringList &arguments, const QString &folder,
    const QMap<QString, QString> &extra = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, folder);
    env.insert(u"XDG_CONFIG_HOME"_s, folder + u"/config"_s);
    env.insert(u"XDG_DATA_HOME"_s, folder + u"/data"_s);
    env.insert(u"XDG_STATE_HOME"_s, folder + u"/state"_s);
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.remove(u"DISPLAY"_s);
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()) };
}

// The Qt libraries the dynamic loader initialised for the run (LD_DEBUG=libs).
QStringList qtLibrariesLoaded(const QString &loaderLog)
{
    QStringList libraries;
    static const QRegularExpression init(u"calling init: \\S*/(libQt6\\w+)\\.so"_s);
    for (auto it = init.globalMatch(loaderLog); it.hasNext();)
        libraries.append(it.next().captured(1));
    libraries.removeDuplicates();
    libraries.sort();
    return libraries;
}

} // namespace

class tst_WindowPart : public QObject
{
    Q_OBJECT

private slots:
    void commandsLoadNoWindowLibrary_data();
    void commandsLoadNoWindowLibrary();
    void windowRunsFromItsPart();
    void programWithoutItsPartSaysSoAndKeepsItsCommands();
};

void tst_WindowPart::commandsLoadNoWindowLibrary_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("record") << QStringList { u"record"_s } << 0;
    QTest::newRow("record --fields") << QStringList { u"record"_s, u"--fields"_s } << 0;
    QTest::newRow("init") << QStringList { u"init"_s, u"start.ini"_s } << 0;
    QTest::newRow("help") << QStringList { u"--help"_s } << 0;
    QTest::newRow("wrong command") << QStringList { u"nonsense"_s } << 2;
    QTest::newRow("upload without a port") << QStringList { u"upload"_s } << 2;
}

void tst_WindowPart::commandsLoadNoWindowLibrary()
{
#ifndef Q_OS_LINUX
    QSKIP("The loader's log is read on Linux.");
#endif
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QTemporaryDir folder;
    const Run run = runProgram(QStringLiteral(RM425T_PROGRAM_PATH), arguments, folder.path(),
        { { u"LD_DEBUG"_s, u"libs"_s } });
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(qtLibrariesLoaded(run.err), (QStringList { u"libQt6Core"_s, u"libQt6SerialPort"_s }));
}

void tst_WindowPart::windowRunsFromItsPart()
{
    // An option Qt takes only on X11 is refused by the window once its application object exists: the answer
    // comes from the window part, past the program's own check.
    QTemporaryDir folder;
    const Run run = runProgram(QStringLiteral(RM425T_PROGRAM_PATH), { u"-display"_s, u":99"_s }, folder.path());
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(u"unknown option '-display'"_s), qPrintable(run.err));
}

void tst_WindowPart::programWithoutItsPartSaysSoAndKeepsItsCommands()
{
    QTemporaryDir folder;
    const QString alone = folder.filePath(u"rm425t"_s);
    QVERIFY(QFile::copy(QStringLiteral(RM425T_PROGRAM_PATH), alone));
    QVERIFY(QFile::setPermissions(alone, QFile::permissions(alone) | QFile::ExeOwner));

    const Run window = runProgram(alone, {}, folder.path());
    QCOMPARE(window.exitCode, 1);
    QVERIFY2(window.err.contains(u"rm425t: the window cannot be started"_s), qPrintable(window.err));
    QVERIFY2(window.err.contains(folder.filePath(u"rm425t-window"_s)), qPrintable(window.err));

    const Run record = runProgram(alone, { u"record"_s }, folder.path());
    QCOMPARE(record.exitCode, 0);
    QCOMPARE(record.out.section(u'\n', 0, 0).size(), 640);
}

QTEST_GUILESS_MAIN(tst_WindowPart)
#include "tst_windowpart.moc"
