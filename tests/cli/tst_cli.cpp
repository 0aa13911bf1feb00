#include "core/recordtable.h"
#include "comm/frm8.h"
#include "core/appsetup.h"
#include "core/filekind.h"
#include "comm/portdiagnosis.h"
#include "shell/configfiles.h"
#include "shell/frmstart.h"
#include "shell/windowcatalog.h"
#include "support/simprocess.h"
#include "support/testfiles.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList simArguments(const QStringList &extra = {})
{
    return QStringList { u"--announce-ms"_s, u"30"_s, u"--abandon-ms"_s, u"0"_s, u"--quiet-log"_s } + extra;
}

// A configuration a technician might keep: values on every kind of control, greyed boxes, a provider.
const QByteArray kCustomer = "[frm1]\r\nlanguage=0\r\ntxtbez=Pumpe 3\r\ntxtsim=1234\r\ntxtFon1(1)=+491701\r\n"
                             "txtFon1(2)=+491702\r\noptAnb(2)=-1\r\n"
                             "[frm2]\r\nchk2(1)=1\r\ntxtwert(1)=40\r\nOptO(1)=-1\r\nchksms1(1)=1\r\n"
                             "[frm3]\r\nchk3(1)=2\r\n"
                             "[frm4]\r\nchk4(1)=1\r\ntxtSMS(1)=Pumpe an\r\nchksms1(2)=1\r\n"
                             "[frm7]\r\nchk7=1\r\noptZ(3)=-1\r\n"
                             "[frm9]\r\ntxtZust=Alles OK\r\nchkPsw9=2\r\n";

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class tst_Cli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void recordFieldsCoverTheRecord();
    void uploadSendsWhatTheWindowSends_data();
    void uploadSendsWhatTheWindowSends();
    void uploadProgramsTwoModulesAtOnce();
    void oneFailingPortDecidesTheStatus();
    void interruptedUploadSaysWhatTheModuleHolds();
    void failuresHaveTheirExitStatus_data();
    void failuresHaveTheirExitStatus();
    void statusRunsUntilThePortGoes();
    void statusEndsOnInterrupt();
    void statusFollowsAReplug();
    void portHeldByAnotherProgramIsNeverWritten_data();
    void portHeldByAnotherProgramIsNeverWritten();
    void smsFollowsTheWindowsRules_data();
    void smsFollowsTheWindowsRules();
    void helpDescribesEveryCommand();
    void windowSaveIsWhatTheCommandsUse();
    void interruptedSearchHasItsOwnStatus_data();
    void interruptedSearchHasItsOwnStatus();
    void statusLogIsKeptAsTheWindowKeepsIt_data();
    void statusLogIsKeptAsTheWindowKeepsIt();
    void commandsNeedNoPlatformPlugin();

private:
    // The program with the arguments, in the test's folder, with no display of any kind.
    QProcessEnvironment environment() const;
    Run run(const QStringList &arguments, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    void startCli(QProcess &process, const QStringList &arguments);
    QString writeFile(const QString &name, const QByteArray &content);
    FrmStart *startWindowOn(const QString &port);
    QByteArray windowUpload(const QString &file);
    QString home() const { return m_dir->filePath(u"home"_s); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Cli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(home()));
    AppSetup::setUpApplication({ m_dir->path() });
    // The recent files of the window's "Open" stay in the test's folder.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->filePath(u"config"_s));
}

void tst_Cli::cleanup()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

QProcessEnvironment tst_Cli::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        env.remove(QString::fromLatin1(name));
    env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    // The user's folders are the test's own: nothing of the real user's settings is read or written.
    env.insert(u"HOME"_s, home());
    for (const char *name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME" })
        env.remove(QString::fromLatin1(name));
    // Only the ports a test names are offered.
    env.insert(u"RM425T_EXTRA_PORTS"_s, QString());
    return env;
}

void tst_Cli::startCli(QProcess &process, const QStringList &arguments)
{
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(m_dir->path());
    process.start(QStringLiteral(RM425T_PROGRAM_PATH), arguments);
}

Run tst_Cli::run(const QStringList &arguments, std::chrono::milliseconds timeout)
{
    QProcess process;
    startCli(process, arguments);
    Run result;
    if (!process.waitForFinished(int(timeout.count()))) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString tst_Cli::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

// The program's windows, whose communication page offers only the port given.
FrmStart *tst_Cli::startWindowOn(const QString &port)
{
    ProgramWindowOptions options;
    options.dialogs.showMessage
        = [](QWidget *, const QString &, const QString &message) { qWarning("%s", qPrintable(message)); };
    options.frm8.discoverPorts = [port] { return QList<PortEntry> { PortCatalog::entryFor(port) }; };
    registerProgramWindows(options);
    auto *start = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    start->setQuitHandler([] {});
    return start;
}

// What "Senden" sends after "Open configuration…" of the file, from a window whose pages held another
// configuration before.
QByteArray tst_Cli::windowUpload(const QString &file)
{
    SimProcess sim;
    if (!sim.start(simArguments()))
        return "sim did not start";
    FrmStart *start = startWindowOn(sim.devicePath());
    FormWindow *frm1 = WindowRegistry::instance().window(u"frm1"_s);
    frm1->controlAs<QLineEdit>(u"txtbez"_s)->setText(u"Vorheriger Kunde"_s);
    frm1->controlAs<QLineEdit>(u"txtFon1"_s, 5)->setText(u"+4955555"_s);
    if (!start->configurationFiles()->openConfiguration(file))
        return "not opened";
    auto *frm8 = WindowRegistry::instance().get<Frm8>(u"frm8"_s);
    frm8->cmd_Click();
    if (!QTest::qWaitFor([frm8] { return !frm8->uploadRunning(); }, 10000))
        return "upload did not end";
    if (!sim.waitForRecorded(1 + 640))
        return "incomplete: " + sim.recordedBytes();
    WindowRegistry::instance().reset();
    return sim.recordedBytes();
}

void tst_Cli::recordFieldsCoverTheRecord()
{
    const QList<RecordField> fields = parameterRecordFields();
    int next = 0;
    for (const RecordField &field : fields) {
        QCOMPARE(field.offset, next);
        QVERIFY(field.width > 0);
        next += field.width;
    }
    QCOMPARE(next, 640);

    const QString file = writeFile(u"customer.ini"_s, kCustomer);
    const Run record = run({ u"record"_s, u"--settings"_s, file });
    QCOMPARE(record.exitCode, 0);
    const QString line = record.out.chopped(1);
    QCOMPARE(line.size(), 640);

    const Run table = run({ u"record"_s, u"--fields"_s, u"--settings"_s, file });
    QCOMPARE(table.exitCode, 0);
    QStringList rows = table.out.trimmed().split(u'\n');
    QCOMPARE(rows.takeFirst(), u"section\tfield\toffset\twidth\tvalue"_s);
    int offset = 0;
    QString joined;
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'\t');
        QCOMPARE(cells.size(), 5);
        QCOMPARE(cells.at(2).toInt(), offset);
        const int width = cells.at(3).toInt();
        offset += width;
        QString value = cells.at(4);
        QVERIFY(value.startsWith(u'[') && value.endsWith(u']'));
        value = value.mid(1, value.size() - 2);
        QCOMPARE(value.size(), width);
        joined += value;
    }
    QCOMPARE(offset, 640);
    QCOMPARE(joined, line);
    QVERIFY(table.out.contains(u"frm1\ttxtbez\t4\t16\t[         Pumpe 3]"_s));
}

void tst_Cli::uploadSendsWhatTheWindowSends_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("customer") << kCustomer;
    QTest::newRow("only a language: design values") << QByteArray("[frm1]\r\nlanguage=2\r\n");
    QTest::newRow("other provider, greyed in-use boxes")
        << QByteArray("[frm1]\r\noptAnb(0)=-1\r\ntxtAnr=0815\r\ntxtFax1(1)=123\r\ntxtFAxPref=99\r\n"
                      "[frm2]\r\nchk2(2)=2\r\n[frm5]\r\nchk5=1\r\ntxt5=Tank\r\ntxtwert=7\r\nOptU=-1\r\n"
                      "[frm6]\r\nchk6=1\r\nchkCLI=1\r\n");
}

void tst_Cli::uploadSendsWhatTheWindowSends()
{
    QFETCH(QByteArray, content);
    const QString file = writeFile(u"config.ini"_s, content);
    const QByteArray window = windowUpload(file);
    QCOMPARE(window.size(), 1 + 640);

    SimProcess sim;
    QVERIFY(sim.start(simArguments()));
    const Run upload = run({ u"upload"_s, u"--settings"_s, file, u"--port"_s, sim.devicePath() });
    QCOMPARE(upload.exitCode, 0);
    QVERIFY(sim.waitForRecorded(window.size()));
    QCOMPARE(sim.recordedBytes(), window);
}

void tst_Cli::uploadProgramsTwoModulesAtOnce()
{
    SimProcess first;
    SimProcess second;
    // Paced as on a real line, so the two transfers overlap in time.
    QVERIFY(first.start(simArguments({ u"--pace-9600"_s })));
    QVERIFY(second.start(simArguments({ u"--pace-9600"_s })));
    const QString file = writeFile(u"customer.ini"_s, kCustomer);
    const Run upload = run({ u"upload"_s, u"--settings"_s, file, u"--port"_s, first.devicePath(), u"--port"_s,
        second.devicePath(), u"--lang"_s, u"en"_s });
    QCOMPARE(upload.exitCode, 0);
    const QStringList lines = upload.out.trimmed().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(first.devicePath() + u": All data transferred !"_s));
    QVERIFY(lines.at(1).startsWith(second.devicePath() + u": All data transferred !"_s));
    QVERIFY(first.waitForRecorded(641));
    QVERIFY(second.waitForRecorded(641));
    QCOMPARE(first.recordedBytes(), second.recordedBytes());
    // Each step is reported per port on standard error.
    QVERIFY(upload.err.contains(first.devicePath() + u": Sending data to module."_s));
    QVERIFY(upload.err.contains(second.devicePath() + u": Sending data to module."_s));
}

void tst_Cli::oneFailingPortDecidesTheStatus()
{
    SimProcess good;
    QVERIFY(good.start(simArguments()));
    const QString file = writeFile(u"customer.ini"_s, kCustomer);
    const Run upload = run({ u"upload"_s, u"--settings"_s, file, u"--port"_s, good.devicePath(), u"--port"_s,
        u"/nonexistent/tty"_s, u"--lang"_s, u"en"_s });
    QCOMPARE(upload.exitCode, 4);
    const QStringList lines = upload.out.trimmed().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(good.devicePath() + u": All data transferred !"_s));
    QVERIFY(lines.at(1).startsWith(u"/nonexistent/tty: ERROR: COM- Port /nonexistent/tty not available !"_s));
    QVERIFY(good.waitForRecorded(641));
}

void tst_Cli::interruptedUploadSaysWhatTheModuleHolds()
{
    // The module stops answering after block 3; Ctrl+C does not wait for the ten seconds of the reply.
    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--scenario"_s, u"no-answer"_s })));
    const QString file = writeFile(u"customer.ini"_s, kCustomer);
    QProcess cli;
    startCli(
        cli, { u"upload"_s, u"--settings"_s, file, u"--port"_s, sim.devicePath(), u"--lang"_s, u"en"_s });
    QVERIFY(sim.waitForRecorded(1 + 3 * 64));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 7);
    QVERIFY(cli.readAllStandardOutput().contains("Switch module off and send data again !"));
}

void tst_Cli::failuresHaveTheirExitStatus_data()
{
    QTest::addColumn<QStringList>("scenario"); // empty: no simulator
    QTest::addColumn<QStringList>("arguments"); // "PORT" stands for the simulator's device
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");

    const QStringList upload = { u"upload"_s, u"--lang"_s, u"en"_s, u"--port"_s, u"PORT"_s };
    QTest::newRow("no such port") << QStringList()
                                  << QStringList({ u"upload"_s, u"--port"_s, u"/nonexistent/tty"_s }) << 4
                                  << u"not available"_s;
    QTest::newRow("silent module") << QStringList({ u"--scenario"_s, u"silent"_s })
                                   << upload + QStringList({ u"--wait"_s, u"0.3"_s }) << 5
                                   << u"No response from module"_s;
    QTest::newRow("wrong version") << QStringList({ u"--scenario"_s, u"wrong-version"_s }) << upload << 6
                                   << u"Wrong version"_s;
    QTest::newRow("wrong acknowledgement")
        << QStringList({ u"--scenario"_s, u"wrong-ack"_s }) << upload << 7 << u"Data not sent complete"_s;
    QTest::newRow("hang-up at block 3")
        << QStringList({ u"--scenario"_s, u"hangup"_s }) << upload << 8 << u"not available"_s;
    QTest::newRow("not a settings file")
        << QStringList() << QStringList({ u"record"_s, u"--settings"_s, u"BINARY"_s }) << 3
        << u"binary data"_s;
    QTest::newRow("unknown option") << QStringList() << QStringList({ u"upload"_s, u"--bogus"_s }) << 2
                                    << u"Unknown option 'bogus'"_s;
    QTest::newRow("unknown language")
        << QStringList() << QStringList({ u"upload"_s, u"--port"_s, u"x"_s, u"--lang"_s, u"nl"_s }) << 2
        << u"--lang must be de, en or fr"_s;
    QTest::newRow("no port given") << QStringList() << QStringList({ u"status"_s }) << 2
                                   << u"--port is required"_s;
    QTest::newRow("unknown command") << QStringList() << QStringList({ u"uplaod"_s }) << 2
                                     << u"unknown command"_s;
    // What the user typed is quoted with its control characters shown, never acted on by the terminal.
    QTest::newRow("unknown command, escape sequence")
        << QStringList() << QStringList({ u"up\x1b[2Jload"_s }) << 2 << u"unknown command 'up\\x1B[2Jload'"_s;
    QTest::newRow("window: unknown option")
        << QStringList() << QStringList({ u"--bogus"_s }) << 2 << u"rm425t: unknown option '--bogus'."_s;
    QTest::newRow("window: X11's option away from X11")
        << QStringList() << QStringList({ u"-platform"_s, u"offscreen"_s, u"-display"_s, u":1"_s }) << 2
        << u"unknown option '-display'"_s;
    QTest::newRow("empty settings file name")
        << QStringList() << QStringList({ u"record"_s, u"--settings"_s, QString() }) << 2
        << u"--settings needs a file name"_s;
    QTest::newRow("settings twice") << QStringList()
                                    << QStringList({ u"record"_s, u"--settings"_s, u"a.ini"_s,
                                           u"--settings=b.ini"_s })
                                    << 2 << u"--settings is given more than once"_s;
    QTest::newRow("number twice") << QStringList()
                                  << QStringList({ u"sms"_s, u"--port"_s, u"x"_s, u"--number"_s, u"1"_s,
                                         u"--number"_s, u"2"_s, u"--text"_s, u"a"_s })
                                  << 2 << u"--number is given more than once"_s;
    QTest::newRow("one port, two spellings") << QStringList({ u"--scenario"_s, u"silent"_s })
                                             << QStringList({ u"upload"_s, u"--settings"_s, u"CUSTOMER"_s,
                                                    u"--port"_s, u"PORT"_s, u"--port"_s, u"SAMEPORT"_s })
                                             << 2 << u"name the same port"_s;
    QTest::newRow("a character outside the first plane")
        << QStringList()
        << QStringList({ u"sms"_s, u"--lang"_s, u"en"_s, u"--port"_s, u"x"_s, u"--number"_s, u"1"_s,
               u"--text"_s, u"ab😀"_s })
        << 2 << u"the character \"😀\" cannot be sent"_s;
    QTest::newRow("status: silent module")
        << QStringList({ u"--scenario"_s, u"silent"_s })
        << QStringList({ u"status"_s, u"--lang"_s, u"en"_s, u"--port"_s, u"PORT"_s, u"--wait"_s, u"0.3"_s })
        << 5 << u"No response from module"_s;
    QTest::newRow("sms: module fails")
        << QStringList({ u"--scenario"_s, u"sms-fail"_s })
        << QStringList({ u"sms"_s, u"--lang"_s, u"en"_s, u"--port"_s, u"PORT"_s, u"--number"_s, u"+491701"_s,
               u"--text"_s, u"Test"_s })
        << 10 << u"Could not send SMS"_s;
}

void tst_Cli::failuresHaveTheirExitStatus()
{
    QFETCH(QStringList, scenario);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, said);

    SimProcess sim;
    if (!scenario.isEmpty()) {
        QVERIFY(sim.start(simArguments(scenario)));
        const QFileInfo device(sim.devicePath());
        arguments.replaceInStrings(
            u"SAMEPORT"_s, device.path() + u"/../"_s + device.dir().dirName() + u"/./"_s + device.fileName());
        arguments.replaceInStrings(u"PORT"_s, sim.devicePath());
    }
    arguments.replaceInStrings(u"CUSTOMER"_s, writeFile(u"customer.ini"_s, kCustomer));
    arguments.replaceInStrings(
        u"BINARY"_s, writeFile(u"picture.ini"_s, QByteArray("[frm1]\r\n\0\x89PNG", 12)));
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.contains(said), qPrintable(result.err));
    // A failure is never reported as success.
    QVERIFY(!result.out.contains(u"All data transferred"_s));
    // Nothing the terminal would act on, and none of Qt's own notes.
    QVERIFY(!result.err.contains(QChar(0x1b)));
    QVERIFY(!result.err.contains(u"QFile"_s) && !result.err.contains(u"QIODevice"_s));
    if (exitCode == 2 && !scenario.isEmpty())
        QVERIFY(sim.recordedBytes().isEmpty());
}

void tst_Cli::statusRunsUntilThePortGoes()
{
    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--status"_s, u"--status-ms"_s, u"350"_s })));
    QProcess cli;
    startCli(cli, { u"status"_s, u"--port"_s, sim.devicePath(), u"--timestamps"_s, u"--lang"_s, u"en"_s });
    // The module talks from its start; a slow start of the command misses its first messages, so wait for
    // whichever level message comes first.
    QVERIFY(QTest::qWaitFor([&cli] { return cli.peek(1 << 16).contains("Signal level: "); }, 10000));
    sim.command("hangup");
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 8);
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    // Each message exactly as the module sent it: the window's alternate "*" is no part of it.
    const QRegularExpressionMatch message = QRegularExpression(
        u"^\\d{4}-\\d\\d-\\d\\dT[\\d:.]+ PEGEL Netz: (\\d\\d)$"_s, QRegularExpression::MultilineOption)
                                                .match(out);
    QVERIFY2(message.hasMatch(), qPrintable(out));
    QVERIFY2(
        !out.contains(QRegularExpression(u"\\*$"_s, QRegularExpression::MultilineOption)), qPrintable(out));
    // The level with its dBm beside it.
    const int level = message.captured(1).toInt();
    QVERIFY2(out.contains(QRegularExpression(
                 u"^\\d{4}-\\d\\d-\\d\\dT[\\d:.]+ Signal level: %1 \\(%2 dBm\\)$"_s.arg(level).arg(
                     -113 + 2 * level),
                 QRegularExpression::MultilineOption)),
        qPrintable(out));
    // The log holds the messages as the window writes them: no time stamps.
    QFile log(m_dir->filePath(u"GSM.DAT"_s));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    QVERIFY(logged.contains("PEGEL Netz: " + message.captured(1).toLatin1()));
    QVERIFY(!QRegularExpression(u"\\d{4}-\\d\\d-\\d\\dT"_s).match(QString::fromLatin1(logged)).hasMatch());
}

void tst_Cli::statusEndsOnInterrupt()
{
    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--status"_s, u"--status-ms"_s, u"350"_s })));
    QProcess cli;
    startCli(cli, { u"status"_s, u"--port"_s, sim.devicePath() });
    QVERIFY(QTest::qWaitFor([&cli] { return cli.canReadLine(); }, 10000));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY(cli.readAllStandardError().contains("Monitoring ended."));
}

void tst_Cli::statusFollowsAReplug()
{
    const QString port = m_dir->filePath(u"module"_s);
    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--link"_s, port })));
    sim.command("quiet");
    QProcess cli;
    startCli(cli, { u"status"_s, u"--port"_s, port, u"--csv"_s, u"--follow"_s, u"--lang"_s, u"en"_s });
    // The module speaks until the command hears it: what comes before the command has emptied its input
    // after opening the port is gone, as on the window's page.
    int hallos = 0;
    for (int i = 0; i < 10 && hallos == 0; ++i) {
        sim.say("Hallo");
        if (QTest::qWaitFor([&] { return (hallos = int(cli.peek(1 << 16).count("Hallo"))) > 0; }, 1000))
            break;
    }
    QVERIFY(hallos > 0);
    sim.say("PEGEL Netz: 17\r\nNetz OK");
    QVERIFY(QTest::qWaitFor([&cli] { return cli.peek(1 << 16).contains("Netz OK"); }, 10000));
    hallos = int(cli.peek(1 << 16).count("Hallo"));

    QString err;
    const auto said = [&](const char *text) {
        return QTest::qWaitFor(
            [&] {
                err += QString::fromUtf8(cli.readAllStandardError());
                return err.contains(QLatin1String(text));
            },
            10000);
    };
    sim.command("unplug");
    QVERIFY(said("Waiting for port"));
    QTest::qWait(500);
    sim.command("plug");
    QVERIFY(said("is back; monitoring goes on."));
    sim.say("Netz OK");
    QVERIFY(QTest::qWaitFor([&cli] { return cli.peek(1 << 16).count("Netz OK") == 2; }, 10000));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitCode(), 0);

    // The history's columns; the gap shows as the port lost and back.
    QStringList rows;
    for (const QString &line : QString::fromUtf8(cli.readAllStandardOutput()).split(u"\r\n"_s)) {
        if (!line.contains(u"Hallo"_s))
            rows << line.section(u',', 1);
    }
    QCOMPARE(rows,
        (QStringList { u"kind,text,level,dBm"_s, u"level,\"PEGEL Netz: 17"_s, QString(), u"17,-79"_s,
            u"port,port lost,,"_s, u"port,port back,,"_s, u"status,Netz OK,,"_s, QString() }));
    // The log goes on as it was, with the window's alternate mark.
    QFile log(m_dir->filePath(u"GSM.DAT"_s));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    QCOMPARE(logged.count("Hallo"), hallos);
    QVERIFY2(logged.endsWith(hallos % 2 == 0 ? "PEGEL Netz: 17\r\n\r\nNetz OK\r\nNetz OK*\r\n"
                                             : "PEGEL Netz: 17\r\n\r\nNetz OK*\r\nNetz OK\r\n"),
        logged.constData());
}

void tst_Cli::portHeldByAnotherProgramIsNeverWritten_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::newRow("upload") << QStringList { u"upload"_s };
    QTest::newRow("status") << QStringList { u"status"_s };
    QTest::newRow("sms") << QStringList { u"sms"_s, u"--number"_s, u"0170"_s, u"--text"_s, u"Hallo"_s };
}

void tst_Cli::portHeldByAnotherProgramIsNeverWritten()
{
    QFETCH(QStringList, command);

    SimProcess sim;
    QVERIFY(sim.start(simArguments()));
    QProcess holder;
    holder.start(u"sh"_s, { u"-c"_s, u"exec 5<>\"$0\"; echo; exec sleep 30"_s, sim.devicePath() });
    QVERIFY(holder.waitForReadyRead(5000));

    const Run result = run(command + QStringList { u"--port"_s, sim.devicePath(), u"--lang"_s, u"en"_s });
    QCOMPARE(result.exitCode, 4);
    QVERIFY2(result.err.contains(
                 u"Port %1 is in use by another program: sleep (process %2) !"_s.arg(sim.devicePath())
                     .arg(holder.processId())),
        qPrintable(result.err));
    QVERIFY(sim.recordedBytes().isEmpty());

    // ports names it too, on the port's line.
    QProcess ports;
    QProcessEnvironment env = environment();
    env.insert(u"RM425T_EXTRA_PORTS"_s, sim.devicePath());
    ports.setProcessEnvironment(env);
    ports.start(QStringLiteral(RM425T_PROGRAM_PATH), { u"ports"_s, u"--lang"_s, u"de"_s });
    QVERIFY(ports.waitForFinished(10000));
    const QString listed = QString::fromUtf8(ports.readAllStandardOutput());
    QVERIFY2(
        listed.contains(u"%1\tDer Port %1 wird von einem anderen Programm benutzt: sleep (Prozess %2) !"_s
                            .arg(sim.devicePath())
                            .arg(holder.processId())),
        qPrintable(listed));
    holder.kill();
    holder.waitForFinished();
}

void tst_Cli::smsFollowsTheWindowsRules_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("received");

    QTest::newRow("sent, umlaut folded")
        << u"+491701"_s << u"Tür offen"_s << 0 << QByteArray("S+491701\"\r>Tur offen\x1A");
    QTest::newRow("a sign the module does not take") << u"+491701"_s << u"a@b"_s << 2 << QByteArray();
    QTest::newRow("letters in the number") << u"0171abc"_s << u"Test"_s << 2 << QByteArray();
    QTest::newRow("161 characters") << u"0171"_s << QString(161, u'x') << 2 << QByteArray();
    QTest::newRow("160 characters") << u"0171"_s << QString(160, u'x') << 0
                                    << QByteArray("S0171\"\r>" + QByteArray(160, 'x') + "\x1A");
    QTest::newRow("no text") << u"0171"_s << QString() << 2 << QByteArray();
}

void tst_Cli::smsFollowsTheWindowsRules()
{
    QFETCH(QString, number);
    QFETCH(QString, text);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, received);

    SimProcess sim;
    QVERIFY(sim.start(simArguments()));
    const Run result
        = run({ u"sms"_s, u"--port"_s, sim.devicePath(), u"--number"_s, number, u"--text"_s, text });
    QCOMPARE(result.exitCode, exitCode);
    if (received.isEmpty()) {
        QVERIFY(sim.recordedBytes().isEmpty());
        return;
    }
    QVERIFY(sim.waitForRecorded(received.size()));
    QCOMPARE(sim.recordedBytes(), received);
}

void tst_Cli::helpDescribesEveryCommand()
{
    const Run help = run({ u"--help"_s });
    QCOMPARE(help.exitCode, 0);
    for (const char *word :
        { "record", "upload", "status", "sms", "ports", "10  the module could not send the SMS" })
        QVERIFY2(help.out.contains(QLatin1String(word)), word);
    const Run upload = run({ u"upload"_s, u"--help"_s });
    QCOMPARE(upload.exitCode, 0);
    for (const char *word : { "--settings", "--port", "--lang", "--wait", "Exit status" })
        QVERIFY2(upload.out.contains(QLatin1String(word)), word);
    // ports lists at least the simulator's device it is told about.
    SimProcess sim;
    QVERIFY(sim.start(simArguments()));
    QProcess ports;
    QProcessEnvironment env = environment();
    env.insert(u"RM425T_EXTRA_PORTS"_s, sim.devicePath() + u":/nonexistent/tty"_s);
    ports.setProcessEnvironment(env);
    ports.start(QStringLiteral(RM425T_PROGRAM_PATH), { u"ports"_s, u"--lang"_s, u"en"_s });
    QVERIFY(ports.waitForFinished(10000));
    QCOMPARE(ports.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(ports.readAllStandardOutput()).split(u'\n');
    QVERIFY(lines.contains(sim.devicePath()));
    QVERIFY(lines.contains(QRegularExpression(u"^/nonexistent/tty\tcannot be opened: .+"_s)));
}

// The working settings file the window saves is the one the commands read, under the same HOME.
void tst_Cli::windowSaveIsWhatTheCommandsUse()
{
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home()));
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    AppSetup::setUpApplication();
    const auto restore = qScopeGuard([&] { qputenv("HOME", oldHome); });

    SimProcess windowModule;
    QVERIFY(windowModule.start(simArguments()));
    FrmStart *start = startWindowOn(windowModule.devicePath());
    FormWindow *frm1 = WindowRegistry::instance().window(u"frm1"_s);
    frm1->controlAs<QLineEdit>(u"txtbez"_s)->setText(u"Pumpe Nord"_s);
    frm1->controlAs<QLineEdit>(u"txtFon1"_s, 3)->setText(u"+4917033"_s);
    QVERIFY(start->SaveAllPages());
    const QString saved = home() + u"/.config/RM425T/ZERiruze.ini"_s;
    QVERIFY2(QFile::exists(saved), qPrintable(saved));

    auto *frm8 = WindowRegistry::instance().get<Frm8>(u"frm8"_s);
    frm8->cmd_Click();
    QVERIFY(QTest::qWaitFor([frm8] { return !frm8->uploadRunning(); }, 10000));
    QVERIFY(windowModule.waitForRecorded(1 + 640));
    const QByteArray window = windowModule.recordedBytes();
    QVERIFY(window.contains("Pumpe Nord") && window.contains("+4917033"));
    WindowRegistry::instance().reset();

    SimProcess commandModule;
    QVERIFY(commandModule.start(simArguments()));
    const Run upload = run({ u"upload"_s, u"--port"_s, commandModule.devicePath() });
    QCOMPARE(upload.exitCode, 0);
    QVERIFY(commandModule.waitForRecorded(window.size()));
    QCOMPARE(commandModule.recordedBytes(), window);
    // The record of the working file and of the same file named are one.
    const Run working = run({ u"record"_s });
    QCOMPARE(working.exitCode, 0);
    QCOMPARE(run({ u"record"_s, u"--settings"_s, saved }).out, working.out);
}

void tst_Cli::interruptedSearchHasItsOwnStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QStringList common = { u"--lang"_s, u"en"_s, u"--port"_s, u"PORT"_s };
    QTest::newRow("upload") << QStringList { u"upload"_s, u"--settings"_s, u"CUSTOMER"_s } + common;
    QTest::newRow("status") << QStringList { u"status"_s } + common;
    QTest::newRow("sms") << QStringList { u"sms"_s, u"--number"_s, u"0171"_s, u"--text"_s, u"Test"_s }
            + common;
}

// Ctrl+C while the module is searched for is no silent module: the run was interrupted (130, as shells
// count it), and nothing went to the module.
void tst_Cli::interruptedSearchHasItsOwnStatus()
{
    QFETCH(QStringList, arguments);
    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--scenario"_s, u"silent"_s })));
    arguments.replaceInStrings(u"PORT"_s, sim.devicePath());
    arguments.replaceInStrings(u"CUSTOMER"_s, writeFile(u"customer.ini"_s, kCustomer));
    QProcess cli;
    cli.setReadChannel(QProcess::StandardError);
    startCli(cli, arguments);
    QVERIFY(QTest::qWaitFor([&cli] { return cli.peek(1 << 16).contains("Looking for module"); }, 10000));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 130);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(err.contains(u"Interrupted before the module answered."_s), qPrintable(err));
    QVERIFY2(!err.contains(u"No response"_s), qPrintable(err));
    QVERIFY(
        sim.recordedBytes().isEmpty() || sim.recordedBytes() == "D" || sim.recordedBytes().startsWith('S'));
}

void tst_Cli::statusLogIsKeptAsTheWindowKeepsIt_data()
{
    QTest::addColumn<QString>("setting"); // "closed folder", "named pipe", "size limit"
    QTest::addColumn<QString>("said"); // on standard error; LOG stands for the log's full path
    QTest::newRow("current folder closed: the data folder")
        << u"closed folder"_s << u"Messages are appended to LOG."_s;
    QTest::newRow("named pipe: refused, never opened")
        << u"named pipe"_s << u"Note: LOG is a named pipe and is not written !"_s;
    QTest::newRow("disk full: the reason, whole lines")
        << u"size limit"_s << u"Note: writing LOG failed (File too large), messages are missing from it !"_s;
}

void tst_Cli::statusLogIsKeptAsTheWindowKeepsIt()
{
    QFETCH(QString, setting);
    QFETCH(QString, said);

    constexpr uid_t kUser = 65534;
    // Room for the serial port's lock file, not for many more lines of the log.
    constexpr qint64 kLimit = 4096;
    const QByteArray earlier = QByteArray(kLimit - 50, 'x') + "\r\n";
    QString folder = m_dir->path();
    QString log = m_dir->filePath(u"GSM.DAT"_s);
    if (setting == u"closed folder"_s) {
        if (getuid() != 0)
            QSKIP("needs root to run the command as another user in a folder closed to it");
        folder = m_dir->filePath(u"closed"_s);
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
        QVERIFY(::chown(QFile::encodeName(home()).constData(), kUser, kUser) == 0);
        log = home() + u"/.local/share/RM425T/GSM.DAT"_s;
    } else if (setting == u"named pipe"_s) {
        QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0600), 0);
    } else {
        putFile(log, earlier);
    }

    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--status"_s, u"--status-ms"_s, u"400"_s })));
    // The device itself: the simulator's link lies in a folder only we may enter.
    const QString device = QFileInfo(sim.devicePath()).canonicalFilePath();
    QVERIFY(::chmod(QFile::encodeName(device).constData(), 0666) == 0);

    QProcess cli;
    cli.setProcessEnvironment(environment());
    cli.setWorkingDirectory(folder);
    cli.setChildProcessModifier([setting] {
        if (setting == u"closed folder"_s) {
            // As a user who may not write the current folder (root may write anywhere).
            if (::setgroups(0, nullptr) != 0 || ::setresgid(kUser, kUser, kUser) != 0
                || ::setresuid(kUser, kUser, kUser) != 0)
                ::_exit(99);
        } else if (setting == u"size limit"_s) {
            // A disk that is full after kLimit bytes: writes beyond it fail, short first, instead of
            // ending the program (an ignored signal stays ignored in the program).
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { rlim_t(kLimit), rlim_t(kLimit) };
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(99);
        }
    });
    cli.start(
        QStringLiteral(RM425T_PROGRAM_PATH), { u"status"_s, u"--lang"_s, u"en"_s, u"--port"_s, device });
    said.replace(u"LOG"_s, QFileInfo(log).absoluteFilePath());
    cli.setReadChannel(QProcess::StandardError);
    const bool told = QTest::qWaitFor([&] { return cli.peek(1 << 16).contains(said.toUtf8()); }, 10000);
    QVERIFY(QTest::qWaitFor(
        [&cli] {
            return cli.state() != QProcess::Running
                || QByteArray(cli.readAllStandardOutput()).count("PEGEL") > 0;
        },
        10000));
    // A few messages more, so the log has met its limit.
    QTest::qWait(1300);
    sim.command("hangup");
    QVERIFY(cli.state() == QProcess::NotRunning || cli.waitForFinished(10000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(told, qPrintable(err));
    QCOMPARE(cli.exitCode(), 8); // the port went
    QVERIFY2(!err.contains(u"QFile"_s) && !err.contains(u"QIODevice"_s), qPrintable(err));

    if (setting == u"named pipe"_s) {
        QCOMPARE(fileKindOf(log), FileKind::Fifo);
        return;
    }
    const QByteArray logged = fileBytes(log);
    QVERIFY2(logged.contains("PEGEL"), logged.constData());
    // Only whole lines: the line that did not fit was taken back.
    QVERIFY2(logged.endsWith("\r\n"), logged.constData());
    if (setting == u"size limit"_s) {
        QVERIFY(logged.startsWith(earlier));
        QVERIFY(logged.size() <= kLimit);
    } else {
        QVERIFY(!QFile::exists(QDir(folder).filePath(u"GSM.DAT"_s)));
    }
}

void tst_Cli::commandsNeedNoPlatformPlugin()
{
    // A platform that does not exist would stop any program that loads one; the commands load none.
    const QString settings = writeFile(u"customer.ini"_s, kCustomer);
    QProcess process;
    QProcessEnvironment env = environment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"no-such-platform"_s);
    env.insert(u"QT_QPA_PLATFORM_PLUGIN_PATH"_s, m_dir->filePath(u"no-plugins"_s));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_dir->path());
    process.start(QStringLiteral(RM425T_PROGRAM_PATH), { u"record"_s, u"--settings"_s, settings });
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const QString record = QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0);
    QCOMPARE(record.size(), 640);
    QVERIFY(record.startsWith(u"1234"_s));
}

QTEST_MAIN(tst_Cli)
#include "tst_cli.moc"
