// What a path names before anything opens it, CSV lines and time stamps, and the level scale in dBm.
#include "comm/history.h"
#include "comm/signallevel.h"
#include "core/csv.h"
#include "core/filekind.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTest>

#include <sys/stat.h>

class tst_FilesForPeople : public QObject
{
    Q_OBJECT

private slots:
    void fileKinds();
    void csvLines_data();
    void csvLines();
    void timestampsCarryMillisecondsAndOffset();
    void levelInDbm();
    void historyKeepsItsBoundAndItsColumns();
};

void tst_FilesForPeople::fileKinds()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString regular = dir.filePath("file.ini");
    QFile file(regular);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString fifo = dir.filePath("fifo");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QFile::link(regular, dir.filePath("to-file")));
    QVERIFY(QFile::link(fifo, dir.filePath("to-fifo")));
    QVERIFY(QFile::link(dir.filePath("nothing"), dir.filePath("dangling")));

    const QList<std::pair<QString, FileKind>> table {
        { regular, FileKind::Regular },
        { dir.filePath("to-file"), FileKind::Regular },
        { dir.filePath("nothing"), FileKind::Missing },
        { dir.filePath("dangling"), FileKind::Missing },
        { QString(), FileKind::Missing },
        { dir.path(), FileKind::Directory },
        { fifo, FileKind::Fifo },
        { dir.filePath("to-fifo"), FileKind::Fifo },
        { QStringLiteral("/dev/null"), FileKind::CharacterDevice },
    };
    for (const auto &[path, kind] : table) {
        QCOMPARE(fileKindOf(path), kind);
        QCOMPARE(isFileOrMissing(path), kind == FileKind::Regular || kind == FileKind::Missing);
    }
}

void tst_FilesForPeople::csvLines_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");

    QTest::newRow("plain") << QStringList { "a", "b c", "" } << "a,b c,\r\n";
    QTest::newRow("comma") << QStringList { "1,5" } << "\"1,5\"\r\n";
    QTest::newRow("quote doubled") << QStringList { "say \"hi\"" } << "\"say \"\"hi\"\"\"\r\n";
    QTest::newRow("line ends kept inside") << QStringList { "a\r\nb", "c\rd" } << "\"a\r\nb\",\"c\rd\"\r\n";
    QTest::newRow("semicolon is no separator") << QStringList { "a;b" } << "a;b\r\n";
}

void tst_FilesForPeople::csvLines()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    QCOMPARE(csvLine(fields), line);
}

void tst_FilesForPeople::timestampsCarryMillisecondsAndOffset()
{
    const QDate day(2026, 12, 8);
    const QTime time(16, 43, 11, 42);
    QCOMPARE(isoTimestamp(QDateTime(day, time, QTimeZone(3600))),
        QStringLiteral("2026-12-08T16:43:11.042+01:00"));
    QCOMPARE(isoTimestamp(QDateTime(day, time, QTimeZone(-9000))),
        QStringLiteral("2026-12-08T16:43:11.042-02:30"));
    QCOMPARE(isoTimestamp(QDateTime(day, time, QTimeZone::utc())), QStringLiteral("2026-12-08T16:43:11.042Z"));
    // Local time names its offset too, so a line read elsewhere still says when it happened.
    const QString local = isoTimestamp(QDateTime(day, time));
    QVERIFY2(QDateTime::fromString(local, Qt::ISODateWithMs).isValid(), qPrintable(local));
    QVERIFY2(local.endsWith(u'Z') || local.at(local.size() - 3) == u':', qPrintable(local));
}

void tst_FilesForPeople::levelInDbm()
{
    const QList<std::pair<int, int>> table { { 0, -113 }, { 1, -111 }, { 2, -109 }, { 17, -79 }, { 30, -53 },
        { 31, -51 } };
    for (const auto &[level, dbm] : table)
        QCOMPARE(signalLevelDbm(level), std::optional<int>(dbm));
    for (const int level : { -1, 32, 98, 99, 100 })
        QCOMPARE(signalLevelDbm(level), std::nullopt);
}

void tst_FilesForPeople::historyKeepsItsBoundAndItsColumns()
{
    History history(nullptr, 3);
    for (int i = 0; i < 5; ++i)
        history.append(HistoryEvent::Kind::Status, QString::number(i));
    QCOMPARE(int(history.events().size()), 3);
    QCOMPARE(history.events().front().text, QStringLiteral("2"));
    QCOMPARE(history.droppedCount(), 2);
    QVERIFY(history.events().back().time.isValid());

    const QDateTime when(QDate(2026, 12, 8), QTime(9, 0), QTimeZone::utc());
    QCOMPARE(historyCsvFields({ when, HistoryEvent::Kind::Level, "PEGEL Netz: 17\r\n", 17 }),
        QStringList({ "2026-12-08T09:00:00.000Z", "level", "PEGEL Netz: 17\r\n", "17", "-79" }));
    QCOMPARE(historyCsvFields({ when, HistoryEvent::Kind::Level, "x", 99 }).mid(3), QStringList({ "99", "" }));
    QCOMPARE(historyCsvFields({ when, HistoryEvent::Kind::Port, "lost", std::nullopt }).mid(1),
        QStringList({ "port", "lost", "", "" }));
    QCOMPARE(historyCsvHeader().size(), historyCsvFields({}).size());
}

QTEST_GUILESS_MAIN(tst_FilesForPeople)
#include "tst_filesforpeople.moc"
