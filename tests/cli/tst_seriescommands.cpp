#include "core/recordtable.h"
#include "support/simprocess.h"
#include "support/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

QStringList simArguments(const QStringList &extra = {})
{
    return QStringList { u"--announce-ms"_s, u"30"_s, u"--abandon-ms"_s, u"0"_s, u"--quiet-log"_s } + extra;
}

const QByteArray kBase = "[frm1]\r\nlanguage=1\r\ntxtbez=Pumpe\r\ntxtsim=1234\r\ntxtFon1(1)=+491701\r\n"
                         "[frm2]\r\nchk2(1)=1\r\ntxtwert(1)=40\r\n";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The objects of JSON lines; an empty list when any line is no JSON object.
QList<QJsonObject> jsonLines(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return {};
        objects.append(document.object());
    }
    return objects;
}

} // namespace

class tst_SeriesCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void everyModuleGetsItsOwnUnit();
    void nothingIsSentWhenUnitsAndPortsDoNotFit_data();
    void nothingIsSentWhenUnitsAndPortsDoNotFit();
    void aFailingPortStopsNoOtherAndIsLogged();
    void cancelledUploadIsLogged();
    void unwritableLogIsSaidOnceAndStopsNothing();
    void diffNamesTheFieldsThatDiffer();
    void jsonLinesOfRecordAndPorts();

private:
    QProcessEnvironment environment() const;
    Run run(const QStringList &arguments);
    QString writeFile(const QString &name, const QByteArray &content);
    // The upload log's lines after its header, each split into its cells by the header's names.
    QList<QHash<QString, QString>> logLines() const;
    QByteArray unitRecord(const QString &settings, const QString &units, const QString &unit);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_dataFolder;
};

void tst_SeriesCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkpath(m_dir->filePath(u"home"_s)));
    m_dataFolder = m_dir->filePath(u"data"_s);
}

QProcessEnvironment tst_SeriesCommands::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CONFIG_HOME" })
        env.remove(QString::fromLatin1(name));
    env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    // The user's folders are the test's own, the upload log's folder among them.
    env.insert(u"HOME"_s, m_dir->filePath(u"home"_s));
    env.insert(u"XDG_DATA_HOME"_s, m_dataFolder);
    env.insert(u"RM425T_EXTRA_PORTS"_s, QString());
    return env;
}

Run tst_SeriesCommands::run(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.setWorkingDirectory(m_dir->path());
    process.start(QStringLiteral(RM425T_PROGRAM_PATH), arguments);
    Run result;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString tst_SeriesCommands::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

QList<QHash<QString, QString>> tst_SeriesCommands::logLines() const
{
    QList<QHash<QString, QString>> lines;
    QDirIterator found(m_dataFolder, { u"uploads.csv"_s }, QDir::Files, QDirIterator::Subdirectories);
    if (!found.hasNext())
        return lines;
    const QStringList text = QString::fromUtf8(fileBytes(found.next())).split(u"\r\n"_s, Qt::SkipEmptyParts);
    if (text.isEmpty())
        return lines;
    const QStringList header = text.constFirst().split(u',');
    for (const QString &line : text.mid(1)) {
        // No cell of the test's lines holds a comma or a quote.
        const QStringList cells = line.split(u',');
        QHash<QString, QString> entry;
        for (qsizetype i = 0; i < header.size(); ++i)
            entry.insert(header.at(i), cells.value(i));
        lines.append(entry);
    }
    return lines;
}

// What `record --units … --unit NAME` prints: the 640 bytes of the unit's record.
QByteArray tst_SeriesCommands::unitRecord(const QString &settings, const QString &units, const QString &unit)
{
    const Run record
        = run({ u"record"_s, u"--settings"_s, settings, u"--units"_s, units, u"--unit"_s, unit });
    if (record.exitCode != 0 || !record.out.endsWith('\n'))
        return "record failed: " + record.err.toUtf8();
    return record.out.chopped(1);
}

// Three modules, three rows: the second row names the third port, the others go to the remaining ports in
// order. Each module receives exactly its own unit's record, the log holds what each received.
void tst_SeriesCommands::everyModuleGetsItsOwnUnit()
{
    SimProcess sims[3];
    for (SimProcess &sim : sims)
        QVERIFY(sim.start(simArguments()));
    const QString base = writeFile(u"base.ini"_s, kBase);
    const QString units = writeFile(u"units.csv"_s,
        "unit;port;frm1/txtbez;frm1/txtsim\r\nNord;;Pumpe Nord;1111\r\nSued;" + sims[2].devicePath().toUtf8()
            + ";Pumpe Sued;2222\r\nWest;;;3333\r\n");

    const Run upload
        = run({ u"upload"_s, u"--settings"_s, base, u"--units"_s, units, u"--port"_s, sims[0].devicePath(),
            u"--port"_s, sims[1].devicePath(), u"--port"_s, sims[2].devicePath(), u"--json"_s });
    QVERIFY2(upload.exitCode == 0, qPrintable(upload.err));

    const QStringList expectedUnits = { u"Nord"_s, u"West"_s, u"Sued"_s };
    QList<QByteArray> received;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(sims[i].waitForRecorded(1 + 640));
        const QByteArray bytes = sims[i].recordedBytes();
        QCOMPARE(bytes.left(1), QByteArray("D"));
        received.append(bytes.mid(1));
        QCOMPARE(received.last(), unitRecord(base, units, expectedUnits.at(i)));
    }
    QVERIFY(received.at(0) != received.at(1) && received.at(1) != received.at(2)
        && received.at(0) != received.at(2));
    // The unit's record is the record of a settings file holding its values; an empty cell keeps the base.
    QVERIFY(received.at(0).startsWith("1111      Pumpe Nord"));
    QVERIFY(received.at(1).startsWith("3333           Pumpe"));
    QVERIFY(received.at(2).startsWith("2222      Pumpe Sued"));
    // One object per port, in the order of the ports.
    const QList<QJsonObject> summary = jsonLines(upload.out);
    QCOMPARE(summary.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject &object = summary.at(i);
        QCOMPARE(object.value(u"port"_s).toString(), sims[i].devicePath());
        QCOMPARE(object.value(u"unit"_s).toString(), expectedUnits.at(i));
        QCOMPARE(object.value(u"outcome"_s).toString(), u"success"_s);
        QCOMPARE(object.value(u"exit"_s).toInt(-1), 0);
        QVERIFY(object.value(u"seconds"_s).toDouble(-1) >= 0);
        QCOMPARE(object.value(u"sha256"_s).toString(), hex(received.at(i)));
    }

    // The log: one line per port, the hash of what the module received, the settings file in full.
    const QList<QHash<QString, QString>> log = logLines();
    QCOMPARE(log.size(), 3);
    for (const QHash<QString, QString> &line : log) {
        const int port = int(std::find_if(std::begin(sims), std::end(sims), [&](const SimProcess &sim) {
            return sim.devicePath() == line.value(u"port"_s);
        }) - std::begin(sims));
        QVERIFY2(port < 3, qPrintable(line.value(u"port"_s)));
        QCOMPARE(line.value(u"unit"_s), expectedUnits.at(port));
        QCOMPARE(line.value(u"sha256"_s), hex(received.at(port)));
        QCOMPARE(line.value(u"outcome"_s), u"success"_s);
        QCOMPARE(line.value(u"settings"_s), QFileInfo(base).absoluteFilePath());
    }
}

void tst_SeriesCommands::nothingIsSentWhenUnitsAndPortsDoNotFit_data()
{
    QTest::addColumn<QByteArray>("units"); // PORT1, PORT2: the simulators' devices
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said");

    // Each problem of the file is said, not only the first.
    QTest::newRow("refused rows") << QByteArray("unit,frm1/txtsim,frm1/txtbez\r\nA,12,x\r\nB,1234\r\n")
                                  << QStringList() << 3
                                  << QStringList { u"units.csv: Line 2, column 2 (frm1/txtsim): "_s,
                                         u"units.csv: Line 3"_s, u"Nothing was sent."_s };
    QTest::newRow("unknown column") << QByteArray("unit,frm1/nosuchkey\r\nA,1\r\nB,2\r\n") << QStringList()
                                    << 3 << QStringList { u"frm1/nosuchkey"_s };
    QTest::newRow("three units for two ports") << QByteArray("unit\r\nA\r\nB\r\nC\r\n") << QStringList() << 2
                                               << QStringList { u"3 units for 2 ports"_s };
    QTest::newRow("a port not given")
        << QByteArray("unit,port\r\nA,/nonexistent/tty\r\nB,\r\n") << QStringList() << 2
        << QStringList { u"line 2: unit \"A\" names port /nonexistent/tty"_s };
    QTest::newRow("two rows name one port")
        << QByteArray("unit,port\r\nA,PORT2\r\nB,PORT2\r\n") << QStringList() << 2
        << QStringList { u"line 3: port PORT2 is named in line 2"_s };
    QTest::newRow("--unit with two ports")
        << QByteArray("unit\r\nA\r\nB\r\n") << QStringList { u"--unit"_s, u"A"_s } << 2
        << QStringList { u"--unit takes exactly one --port, not 2"_s };
    QTest::newRow("--unit without --units") << QByteArray() << QStringList { u"--unit"_s, u"A"_s } << 2
                                            << QStringList { u"--unit needs --units"_s };
}

// Whatever is wrong, the units file is checked before any port is opened: no module receives anything and
// nothing is logged.
void tst_SeriesCommands::nothingIsSentWhenUnitsAndPortsDoNotFit()
{
    QFETCH(QByteArray, units);
    QFETCH(QStringList, extra);
    QFETCH(int, exitCode);
    QFETCH(QStringList, said);

    SimProcess first;
    SimProcess second;
    QVERIFY(first.start(simArguments()));
    QVERIFY(second.start(simArguments()));
    units.replace("PORT1", first.devicePath().toUtf8()).replace("PORT2", second.devicePath().toUtf8());
    said.replaceInStrings(u"PORT2"_s, second.devicePath());
    QStringList arguments = { u"upload"_s, u"--lang"_s, u"en"_s, u"--settings"_s,
        writeFile(u"base.ini"_s, kBase), u"--port"_s, first.devicePath(), u"--port"_s, second.devicePath() };
    if (!units.isEmpty())
        arguments << u"--units"_s << writeFile(u"units.csv"_s, units);
    const Run upload = run(arguments + extra);
    QCOMPARE(upload.exitCode, exitCode);
    for (const QString &text : said)
        QVERIFY2(upload.err.contains(text), qPrintable(upload.err));
    QVERIFY(upload.out.isEmpty());
    QVERIFY(!upload.err.contains(u"Looking for module"_s));
    // Time for a module that had been written to to record it.
    QTest::qWait(200);
    QVERIFY(first.recordedBytes().isEmpty());
    QVERIFY(second.recordedBytes().isEmpty());
    QVERIFY(logLines().isEmpty());
}

// One module refuses a block, one port does not exist: the third module is programmed all the same, and
// each port has its line in the log with its own outcome and status.
void tst_SeriesCommands::aFailingPortStopsNoOtherAndIsLogged()
{
    SimProcess good;
    SimProcess refusing;
    QVERIFY(good.start(simArguments()));
    QVERIFY(refusing.start(simArguments({ u"--scenario"_s, u"wrong-ack"_s })));
    const QString base = writeFile(u"base.ini"_s, kBase);
    const QString units = writeFile(u"units.csv"_s, "unit,frm1/txtsim\r\nA,1111\r\nB,2222\r\nC,3333\r\n");
    const QString missing = m_dir->filePath(u"no-such-tty"_s);
    const Run upload = run({ u"upload"_s, u"--lang"_s, u"en"_s, u"--settings"_s, base, u"--units"_s, units,
        u"--port"_s, missing, u"--port"_s, refusing.devicePath(), u"--port"_s, good.devicePath() });
    // The status of the first port that failed, in the order given.
    QCOMPARE(upload.exitCode, 4);
    const QStringList summary = QString::fromUtf8(upload.out).trimmed().split(u'\n');
    QCOMPARE(summary.size(), 3);
    QVERIFY2(summary.at(0).startsWith(missing + u" (A): ERROR: COM- Port"_s), qPrintable(summary.at(0)));
    QVERIFY2(summary.at(1).startsWith(refusing.devicePath() + u" (B): "_s), qPrintable(summary.at(1)));
    QVERIFY2(summary.at(2).startsWith(good.devicePath() + u" (C): All data transferred !"_s),
        qPrintable(summary.at(2)));
    QVERIFY(good.waitForRecorded(641));
    QCOMPARE(good.recordedBytes().mid(1), unitRecord(base, units, u"C"_s));
    // The module that failed got a part of its own unit's record, nothing of another's.
    const QByteArray partial = refusing.recordedBytes().mid(1);
    QVERIFY(partial.size() >= 64 && unitRecord(base, units, u"B"_s).startsWith(partial));

    QHash<QString, QHash<QString, QString>> byPort;
    for (const QHash<QString, QString> &line : logLines())
        byPort.insert(line.value(u"port"_s), line);
    QCOMPARE(byPort.size(), 3);
    const auto logged = [&](const QString &port) {
        const QHash<QString, QString> line = byPort.value(port);
        return line.value(u"unit"_s) + u' ' + line.value(u"outcome"_s) + u' ' + line.value(u"exit"_s);
    };
    QCOMPARE(logged(missing), u"A no-port 4"_s);
    QCOMPARE(logged(refusing.devicePath()), u"B incomplete 7"_s);
    QCOMPARE(logged(good.devicePath()), u"C success 0"_s);
    // The hash is that of the record meant for the port, sent or not.
    QCOMPARE(byPort.value(missing).value(u"sha256"_s), hex(unitRecord(base, units, u"A"_s)));
    QCOMPARE(byPort.value(good.devicePath()).value(u"sha256"_s), hex(good.recordedBytes().mid(1)));
}

// Ctrl+C while the module is searched for: the log says "cancelled", with the status the command ends with.
void tst_SeriesCommands::cancelledUploadIsLogged()
{
    SimProcess sim;
    QVERIFY(sim.start(simArguments({ u"--scenario"_s, u"silent"_s })));
    QProcess cli;
    cli.setProcessEnvironment(environment());
    cli.setWorkingDirectory(m_dir->path());
    cli.setReadChannel(QProcess::StandardError);
    cli.start(QStringLiteral(RM425T_PROGRAM_PATH),
        { u"upload"_s, u"--lang"_s, u"en"_s, u"--settings"_s, writeFile(u"base.ini"_s, kBase), u"--port"_s,
            sim.devicePath(), u"--json"_s });
    QVERIFY(QTest::qWaitFor([&cli] { return cli.peek(1 << 16).contains("Looking for module"); }, 10000));
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitCode(), 130);
    const QList<QJsonObject> summary = jsonLines(cli.readAllStandardOutput());
    QCOMPARE(summary.size(), 1);
    QCOMPARE(summary.constFirst().value(u"outcome"_s).toString(), u"cancelled"_s);
    QCOMPARE(summary.constFirst().value(u"unit"_s).toString(), QString());
    const QList<QHash<QString, QString>> log = logLines();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.constFirst().value(u"outcome"_s), u"cancelled"_s);
    QCOMPARE(log.constFirst().value(u"unit"_s), QString());
}

// A data folder that cannot be made (a file stands in its place): said once for two ports, in the language
// asked for, and both modules are programmed.
void tst_SeriesCommands::unwritableLogIsSaidOnceAndStopsNothing()
{
    putFile(m_dataFolder, "not a folder");
    SimProcess first;
    SimProcess second;
    QVERIFY(first.start(simArguments()));
    QVERIFY(second.start(simArguments()));
    const Run upload = run({ u"upload"_s, u"--lang"_s, u"de"_s, u"--settings"_s,
        writeFile(u"base.ini"_s, kBase), u"--port"_s, first.devicePath(), u"--port"_s, second.devicePath() });
    QCOMPARE(upload.exitCode, 0);
    QCOMPARE(upload.err.count(u"Sendeprotokoll"_s), 1);
    QVERIFY(first.waitForRecorded(641));
    QVERIFY(second.waitForRecorded(641));
}

void tst_SeriesCommands::diffNamesTheFieldsThatDiffer()
{
    const QString a = writeFile(u"a.ini"_s, kBase);
    // The name reaches the record; the analogue input's text does not while its page is not in use.
    const QString b = writeFile(
        u"b.ini"_s, QByteArray(kBase).replace("txtbez=Pumpe", "txtbez=Pumpe 30") + "[frm5]\r\ntxt5=Tank\r\n");
    const Run differ = run({ u"diff"_s, a, b });
    QCOMPARE(differ.exitCode, 1);
    const QStringList lines = QString::fromUtf8(differ.out).trimmed().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), u"frm1\ttxtbez\t4\t16\t[           Pumpe]\t[        Pumpe 30]"_s);
    QVERIFY2(lines.at(1).startsWith(u"frm5/txt5\t["_s) && lines.at(1).endsWith(u"\t[Tank]"_s),
        qPrintable(lines.at(1)));

    // Only a stored value differs: the records are equal.
    const QString c = writeFile(u"c.ini"_s, kBase + "[frm5]\r\ntxt5=Tank\r\n");
    const Run storedOnly = run({ u"diff"_s, a, c, u"--json"_s });
    QCOMPARE(storedOnly.exitCode, 0);
    const QList<QJsonObject> stored = jsonLines(storedOnly.out);
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.constFirst().value(u"type"_s).toString(), u"stored"_s);
    QCOMPARE(stored.constFirst().value(u"section"_s).toString(), u"frm5"_s);
    QCOMPARE(stored.constFirst().value(u"key"_s).toString(), u"txt5"_s);
    QCOMPARE(stored.constFirst().value(u"b"_s).toString(), u"Tank"_s);

    const Run same = run({ u"diff"_s, a, writeFile(u"same.ini"_s, kBase) });
    QCOMPARE(same.exitCode, 0);
    QVERIFY(same.out.isEmpty());

    // A unit against its base, and two units: the fields of their values, in JSON.
    const QString units = writeFile(u"units.csv"_s, "unit;frm1/txtsim\r\nKeeps;\r\nOther;9876\r\n");
    const Run unitSame = run({ u"diff"_s, u"--settings"_s, a, units + u":keeps"_s, a });
    QCOMPARE(unitSame.exitCode, 0);
    const Run units2
        = run({ u"diff"_s, u"--settings"_s, a, u"--json"_s, units + u":Keeps"_s, units + u":Other"_s });
    QCOMPARE(units2.exitCode, 1);
    const QList<QJsonObject> record = jsonLines(units2.out);
    // The PIN reaches the record, so it is no stored difference of its own.
    QCOMPARE(record.size(), 1);
    QCOMPARE(record.at(0),
        QJsonObject({ { u"type"_s, u"record"_s }, { u"section"_s, u"frm1"_s }, { u"field"_s, u"txtsim"_s },
            { u"offset"_s, 0 }, { u"width"_s, 4 }, { u"a"_s, u"1234"_s }, { u"b"_s, u"9876"_s } }));

    // What cannot be compared: a unit the file does not have, a units file with a refused row, no file.
    QCOMPARE(run({ u"diff"_s, u"--settings"_s, a, a, units + u":Nobody"_s }).exitCode, 2);
    const QString refused = writeFile(u"refused.csv"_s, "unit;frm1/txtsim\r\nX;12\r\n");
    QCOMPARE(run({ u"diff"_s, u"--settings"_s, a, a, refused + u":X"_s }).exitCode, 3);
    QCOMPARE(run({ u"diff"_s, a, m_dir->filePath(u"missing.ini"_s) }).exitCode, 3);
    QCOMPARE(run({ u"diff"_s, a }).exitCode, 2);
}

void tst_SeriesCommands::jsonLinesOfRecordAndPorts()
{
    const QString base = writeFile(u"base.ini"_s, kBase);
    const Run plain = run({ u"record"_s, u"--settings"_s, base });
    QCOMPARE(plain.exitCode, 0);
    const Run json = run({ u"record"_s, u"--settings"_s, base, u"--fields"_s, u"--json"_s });
    QCOMPARE(json.exitCode, 0);
    const QList<QJsonObject> fields = jsonLines(json.out);
    QCOMPARE(fields.size(), parameterRecordFields().size());
    // The fields in order, each its width, together the record.
    QString joined;
    for (const QJsonObject &field : fields) {
        QCOMPARE(field.value(u"offset"_s).toInt(-1), int(joined.size()));
        QCOMPARE(field.value(u"value"_s).toString().size(), field.value(u"width"_s).toInt(-1));
        QVERIFY(
            !field.value(u"section"_s).toString().isEmpty() && !field.value(u"field"_s).toString().isEmpty());
        joined += field.value(u"value"_s).toString();
    }
    QCOMPARE(joined.toLatin1(), plain.out.chopped(1));

    SimProcess sim;
    QVERIFY(sim.start(simArguments()));
    QProcess ports;
    QProcessEnvironment env = environment();
    env.insert(u"RM425T_EXTRA_PORTS"_s, sim.devicePath() + u":/nonexistent/tty"_s);
    ports.setProcessEnvironment(env);
    ports.start(QStringLiteral(RM425T_PROGRAM_PATH), { u"ports"_s, u"--lang"_s, u"en"_s, u"--json"_s });
    QVERIFY(ports.waitForFinished(10000));
    QCOMPARE(ports.exitCode(), 0);
    QHash<QString, QJsonObject> byPort;
    for (const QJsonObject &port : jsonLines(ports.readAllStandardOutput()))
        byPort.insert(port.value(u"port"_s).toString(), port);
    QVERIFY(byPort.contains(sim.devicePath()));
    QCOMPARE(byPort.value(sim.devicePath()).value(u"usable"_s), QJsonValue(true));
    QVERIFY(byPort.value(sim.devicePath()).value(u"reason"_s).isNull());
    QCOMPARE(byPort.value(u"/nonexistent/tty"_s).value(u"usable"_s), QJsonValue(false));
    QVERIFY(byPort.value(u"/nonexistent/tty"_s)
                .value(u"reason"_s)
                .toString()
                .startsWith(u"cannot be opened: "_s));
}

QTEST_GUILESS_MAIN(tst_SeriesCommands)
#include "tst_seriescommands.moc"
