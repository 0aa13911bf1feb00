#include "comm/uploadlog.h"
#include "support/testfiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

// The upload log: its lines read back field by field, the hash of the bytes sent, one header, and whole lines
// when several programs append at once.
class tst_UploadLog : public QObject
{
    Q_OBJECT

private slots:
    void lineReadsBack_data();
    void lineReadsBack();
    void headerOnce();
    void writersAtOnceKeepLinesWhole();
    void unwritableLogSaysWhy();
};

namespace {

// "path|id|count|start" makes the test a writer: once the file `start` exists, it appends `count` entries.
const QString kWriterVariable = u"RM425T_UPLOADLOG_WRITER"_s;
const QString kHeader = u"time,version,port,unit,settings,sha256,outcome,exit,seconds"_s;

// One CSV line by RFC 4180 (without its CR LF).
QStringList csvFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

// The lines of the log without their CR LF; a line that does not end in CR LF makes the test fail.
QStringList logLines(const QString &path)
{
    const QString text = QString::fromUtf8(fileBytes(path));
    if (!text.endsWith(u"\r\n"_s))
        return { u"<no CR LF at the end>"_s };
    QStringList lines = text.split(u"\r\n"_s);
    lines.removeLast();
    return lines;
}

QByteArray sampleRecord()
{
    QByteArray bytes;
    for (int i = 0; i < 640; ++i)
        bytes.append(char(i < 512 ? i % 256 : i - 512));
    return bytes;
}

UploadLog::Entry sampleEntry()
{
    UploadLog::Entry entry;
    entry.time = QDateTime(QDate(2026, 12, 8), QTime(16, 43, 11, 42), Qt::OffsetFromUTC, 3600);
    entry.port = u"/dev/ttyUSB0"_s;
    entry.unit = u"Halle 3, \"Nord\""_s;
    entry.settingsFile = u"/home/tech/Kunde, Müller/base.ini"_s;
    entry.record = sampleRecord();
    entry.outcome = UploadLog::Outcome::Success;
    entry.exitStatus = 0;
    entry.seconds = 12.3456;
    return entry;
}

int runWriter(const QString &order)
{
    const QStringList parts = order.split(u'|');
    UploadLog::Entry entry = sampleEntry();
    // Long lines, so that a line written in pieces would show.
    entry.unit = parts.value(1) + u'-' + QString(3000, u'x');
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(parts.value(3))) {
        if (deadline.hasExpired())
            return 2;
        QThread::usleep(200);
    }
    for (int i = 0; i < parts.value(2).toInt(); ++i) {
        entry.exitStatus = i;
        if (!UploadLog::append(entry, nullptr, parts.value(0)))
            return 1;
    }
    return 0;
}

} // namespace

void tst_UploadLog::lineReadsBack_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("word");
    using Outcome = UploadLog::Outcome;
    QTest::newRow("success") << int(Outcome::Success) << 0 << u"success"_s;
    QTest::newRow("no answer") << int(Outcome::NoAnswer) << 3 << u"no-answer"_s;
    QTest::newRow("no port") << int(Outcome::PortOpenFailed) << 3 << u"no-port"_s;
    QTest::newRow("wrong version") << int(Outcome::WrongVersion) << 3 << u"wrong-version"_s;
    QTest::newRow("incomplete") << int(Outcome::IncompleteTransfer) << 3 << u"incomplete"_s;
    QTest::newRow("port lost") << int(Outcome::PortLost) << 3 << u"port-lost"_s;
    QTest::newRow("cancelled") << int(Outcome::Cancelled) << 130 << u"cancelled"_s;
}

void tst_UploadLog::lineReadsBack()
{
    QFETCH(int, outcome);
    QFETCH(int, exitStatus);
    QFETCH(QString, word);
    UploadLog::Entry entry = sampleEntry();
    entry.outcome = UploadLog::Outcome(outcome);
    entry.exitStatus = exitStatus;
    QCOMPARE(UploadLog::outcomeWord(entry.outcome), word);
    const QByteArray line = UploadLog::line(entry);
    QVERIFY(line.endsWith("\r\n"));
    const QStringList fields = csvFields(QString::fromUtf8(line.chopped(2)));
    QCOMPARE(fields.size(), 9);
    QCOMPARE(fields.at(0), u"2026-12-08T16:43:11.042+01:00"_s);
    QCOMPARE(QDateTime::fromString(fields.at(0), Qt::ISODateWithMs), entry.time);
    QCOMPARE(fields.at(1), u"9.8.7"_s);
    QCOMPARE(fields.at(2), entry.port);
    QCOMPARE(fields.at(3), entry.unit);
    QCOMPARE(fields.at(4), entry.settingsFile);
    // SHA-256 of the 640 bytes, worked out apart from the program.
    QCOMPARE(fields.at(5), u"c2ac39c11d3f4085330cad17e2b5622e83d551c558b8e4989ad70cbb365f638f"_s);
    QCOMPARE(fields.at(6), word);
    QCOMPARE(fields.at(7), QString::number(exitStatus));
    QCOMPARE(fields.at(8), u"12.346"_s);

    entry.unit.clear();
    entry.record[100] = 'X';
    const QStringList changed = csvFields(QString::fromUtf8(UploadLog::line(entry).chopped(2)));
    QCOMPARE(changed.at(3), QString());
    QVERIFY(changed.at(5) != fields.at(5));
}

void tst_UploadLog::headerOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A folder that does not exist yet is created.
    const QString path = dir.filePath(u"data/RM425T/uploads.csv"_s);
    const UploadLog::Entry entry = sampleEntry();
    QString error;
    QVERIFY2(UploadLog::append(entry, &error, path), qPrintable(error));
    QVERIFY(UploadLog::append(entry, &error, path));
    const QString line = QString::fromUtf8(UploadLog::line(entry).chopped(2));
    QCOMPARE(logLines(path), (QStringList { kHeader, line, line }));
    // Nothing else is left in the folder.
    QCOMPARE(QDir(dir.filePath(u"data/RM425T"_s)).entryList(QDir::Files | QDir::Hidden),
        QStringList { u"uploads.csv"_s });

    // An empty file gets its header with the first line; a file with lines gets none.
    const QString empty = dir.filePath(u"empty.csv"_s);
    putFile(empty, {});
    QVERIFY(UploadLog::append(entry, &error, empty));
    QCOMPARE(logLines(empty), (QStringList { kHeader, line }));
    const QString old = dir.filePath(u"old.csv"_s);
    putFile(old, "earlier\r\n");
    QVERIFY(UploadLog::append(entry, &error, old));
    QCOMPARE(logLines(old), (QStringList { u"earlier"_s, line }));

    QVERIFY(UploadLog::logPath().endsWith(u"/uploads.csv"_s));
    QVERIFY(QDir::isAbsolutePath(UploadLog::logPath()));
}

void tst_UploadLog::writersAtOnceKeepLinesWhole()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"uploads.csv"_s);
    constexpr int kWriters = 4;
    constexpr int kEach = 400;
    const QString start = dir.filePath(u"start"_s);
    QList<QProcess *> writers;
    for (int w = 0; w < kWriters; ++w) {
        auto *process = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kWriterVariable, u"%1|w%2|%3|%4"_s.arg(path).arg(w).arg(kEach).arg(start));
        process->setProcessEnvironment(environment);
        writers << process;
    }
    // All running before any writes, so they race for the new file too.
    for (QProcess *process : writers) {
        process->start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(process->waitForStarted());
    }
    putFile(start, {});
    for (QProcess *process : writers) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
    const QStringList lines = logLines(path);
    QCOMPARE(lines.size(), kWriters * kEach + 1);
    QCOMPARE(lines.first(), kHeader);
    QSet<QString> seen;
    QList<int> next(kWriters, 0);
    for (const QString &line : lines.sliced(1)) {
        const QStringList fields = csvFields(line);
        QCOMPARE(fields.size(), 9);
        const QString unit = fields.at(3);
        QVERIFY(unit.size() == 3003 && unit.endsWith(QString(3000, u'x')));
        const int writer = unit.mid(1, 1).toInt();
        // Each writer's lines in its own order, none lost or doubled.
        QCOMPARE(fields.at(7).toInt(), next[writer]++);
    }
    QCOMPARE(next, QList<int>(kWriters, kEach));
    qDeleteAll(writers);
}

void tst_UploadLog::unwritableLogSaysWhy()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(u"file"_s);
    putFile(file, "x");
    const QStringList paths {
        dir.filePath(u"file/uploads.csv"_s),
        dir.path(),
#ifdef Q_OS_UNIX
        u"/dev/null"_s,
#endif
    };
    for (const QString &path : paths) {
        QString error;
        QVERIFY2(!UploadLog::append(sampleEntry(), &error, path), qPrintable(path));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)) && error.size() > path.size() + 2,
            qPrintable(error));
    }
    QCOMPARE(fileBytes(file), "x"_ba);
    QVERIFY(!UploadLog::append(sampleEntry(), nullptr, paths.first()));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(u"9.8.7"_s);
    const QString writer = qEnvironmentVariable(qPrintable(kWriterVariable));
    if (!writer.isEmpty())
        return runWriter(writer);
    tst_UploadLog test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_uploadlog.moc"
