#include "cli/argumentrules.h"
#include "cli/seriesrules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace SeriesRules;
using Kind = AssignmentProblem::Kind;

namespace {

// "Pumpe 1" or "Pumpe 2@/dev/x": a unit and the port its row names.
QList<UnitRow> rowsOf(const QStringList &written)
{
    QList<UnitRow> rows;
    for (const QString &text : written) {
        UnitRow row;
        row.line = int(rows.size()) + 2;
        row.unit = text.section(u'@', 0, 0);
        row.port = text.section(u'@', 1);
        rows.append(row);
    }
    return rows;
}

QString kindName(Kind kind)
{
    static const char *const names[] = { "unknown unit", "unit needs one port", "unit's port differs",
        "port not given", "port named twice", "count" };
    return QString::fromLatin1(names[int(kind)]);
}

} // namespace

class tst_SeriesRules : public QObject
{
    Q_OBJECT

private slots:
    void unitsGoToTheirPorts_data();
    void unitsGoToTheirPorts();
    void everyUnitGoesToOnePortInAnyOrder();
    void argumentsOfDiffNameAFileOrAUnit_data();
    void argumentsOfDiffNameAFileOrAUnit();
};

// Ports below a folder that does not exist, so what they stand for is the cleaned path.
void tst_SeriesRules::unitsGoToTheirPorts_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("expected"); // the unit for each port in order, or the problems

    const QString a = u"/nonexistent/a"_s;
    const QString b = u"/nonexistent/b"_s;
    const QString c = u"/nonexistent/c"_s;
    const QStringList abc = { a, b, c };
    QTest::newRow("no port named: in order") << abc << QStringList { u"U1"_s, u"U2"_s, u"U3"_s } << QString()
                                             << QStringList { u"U1"_s, u"U2"_s, u"U3"_s };
    QTest::newRow("last row names the first port") << abc << QStringList { u"U1"_s, u"U2"_s, u"U3@"_s + a }
                                                   << QString() << QStringList { u"U3"_s, u"U1"_s, u"U2"_s };
    QTest::newRow("middle port named, by another spelling")
        << abc << QStringList { u"U1@/nonexistent/x/../b"_s, u"U2"_s, u"U3"_s } << QString()
        << QStringList { u"U2"_s, u"U1"_s, u"U3"_s };
    QTest::newRow("every row named, reversed")
        << abc << QStringList { u"U1@"_s + c, u"U2@"_s + b, u"U3@"_s + a } << QString()
        << QStringList { u"U3"_s, u"U2"_s, u"U1"_s };
    QTest::newRow("one port, one row")
        << QStringList { a } << QStringList { u"U1"_s } << QString() << QStringList { u"U1"_s };

    QTest::newRow("more rows than ports") << QStringList { a, b } << QStringList { u"U1"_s, u"U2"_s, u"U3"_s }
                                          << QString() << QStringList { u"count 3/2"_s };
    QTest::newRow("fewer rows than ports")
        << abc << QStringList { u"U1"_s } << QString() << QStringList { u"count 1/3"_s };
    QTest::newRow("no rows") << QStringList { a } << QStringList() << QString()
                             << QStringList { u"count 0/1"_s };
    QTest::newRow("a port not given, and the count")
        << QStringList { a, b } << QStringList { u"U1@/nonexistent/d"_s, u"U2"_s, u"U3"_s } << QString()
        << QStringList { u"port not given row 0"_s, u"count 3/2"_s };
    QTest::newRow("two rows name one port in two spellings")
        << abc << QStringList { u"U1@"_s + b, u"U2"_s, u"U3@/nonexistent/./b"_s } << QString()
        << QStringList { u"port named twice row 2 and 0"_s };

    QTest::newRow("--unit, row without a port")
        << QStringList { c } << QStringList { u"U1"_s, u"U2"_s, u"U3"_s } << u"u2"_s
        << QStringList { u"U2"_s };
    QTest::newRow("--unit, row names that port")
        << QStringList { b } << QStringList { u"U1"_s, u"U2@"_s + b } << u"U2"_s << QStringList { u"U2"_s };
    // Other rows may name the same port: only the chosen one is sent.
    QTest::newRow("--unit, others name the port too")
        << QStringList { a } << QStringList { u"U1@"_s + a, u"U2@"_s + a } << u"U2"_s
        << QStringList { u"U2"_s };
    QTest::newRow("--unit, row names another port")
        << QStringList { a } << QStringList { u"U1"_s, u"U2@"_s + b } << u"U2"_s
        << QStringList { u"unit's port differs row 1"_s };
    QTest::newRow("--unit with two ports") << QStringList { a, b } << QStringList { u"U1"_s, u"U2"_s }
                                           << u"U1"_s << QStringList { u"unit needs one port 2"_s };
    QTest::newRow("--unit not in the file, no port")
        << QStringList() << QStringList { u"U1"_s } << u"U9"_s
        << QStringList { u"unknown unit U9"_s, u"unit needs one port 0"_s };
}

void tst_SeriesRules::unitsGoToTheirPorts()
{
    QFETCH(QStringList, ports);
    QFETCH(QStringList, rows);
    QFETCH(QString, unit);
    QFETCH(QStringList, expected);

    const QList<UnitRow> units = rowsOf(rows);
    const Assignment result = assignUnitsToPorts(ports, units, unit);
    QStringList got;
    if (result.problems.isEmpty()) {
        for (qsizetype i = 0; i < result.assignments.size(); ++i) {
            // In the order of the ports.
            QCOMPARE(result.assignments.at(i).port, int(i));
            got.append(units.at(result.assignments.at(i).row).unit);
        }
    } else {
        QVERIFY(result.assignments.isEmpty());
        for (const AssignmentProblem &problem : result.problems) {
            QString text = kindName(problem.kind);
            if (problem.kind == Kind::CountMismatch)
                text += u" %1/%2"_s.arg(problem.rows).arg(problem.ports);
            else if (problem.kind == Kind::UnknownUnit)
                text += u' ' + problem.unit;
            else if (problem.kind == Kind::UnitNeedsOnePort)
                text += u" %1"_s.arg(problem.ports);
            else
                text += u" row %1"_s.arg(problem.row);
            if (problem.kind == Kind::PortNamedTwice)
                text += u" and %1"_s.arg(problem.otherRow);
            got.append(text);
        }
    }
    QCOMPARE(got, expected);
}

// Whatever the order of ports and rows and whichever rows name their port: each row goes to exactly one
// port, a row that names its port goes there, and the others keep their order.
void tst_SeriesRules::everyUnitGoesToOnePortInAnyOrder()
{
    QStringList ports
        = { u"/nonexistent/p1"_s, u"/nonexistent/p2"_s, u"/nonexistent/p3"_s, u"/nonexistent/p4"_s };
    std::sort(ports.begin(), ports.end());
    int cases = 0;
    do {
        // Which rows name a port (bit i: row i names the port of the same number), in every combination.
        for (int named = 0; named < (1 << 4); ++named) {
            QList<UnitRow> rows;
            for (int i = 0; i < 4; ++i) {
                UnitRow row;
                row.unit = u"U%1"_s.arg(i);
                if (named & (1 << i))
                    row.port = u"/nonexistent/p%1"_s.arg(4 - i);
                rows.append(row);
            }
            const Assignment result = assignUnitsToPorts(ports, rows);
            QVERIFY(result.problems.isEmpty());
            QCOMPARE(result.assignments.size(), 4);
            QList<int> seen;
            int lastFree = -1;
            for (const PortAssignment &assignment : result.assignments) {
                QVERIFY(!seen.contains(assignment.row));
                seen.append(assignment.row);
                const UnitRow &row = rows.at(assignment.row);
                if (!row.port.isEmpty()) {
                    QCOMPARE(ports.at(assignment.port), row.port);
                } else {
                    QVERIFY(assignment.row > lastFree);
                    lastFree = assignment.row;
                }
            }
            ++cases;
        }
    } while (std::next_permutation(ports.begin(), ports.end()));
    QCOMPARE(cases, 24 * 16);
}

void tst_SeriesRules::argumentsOfDiffNameAFileOrAUnit_data()
{
    QTest::addColumn<QString>("argument"); // EXISTING: a file with a colon in its name that exists
    QTest::addColumn<QString>("file"); // empty: refused
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("problem");

    QTest::newRow("settings file") << u"kunde.ini"_s << u"kunde.ini"_s << QString() << -1;
    QTest::newRow("unit") << u"units.csv:Pumpe 3"_s << u"units.csv"_s << u"Pumpe 3"_s << -1;
    QTest::newRow("a path and a unit")
        << u"/tmp/no/units.csv:P1"_s << u"/tmp/no/units.csv"_s << u"P1"_s << -1;
    QTest::newRow("a unit's name with colons") << u"u.csv:Halle:3"_s << u"u.csv"_s << u"Halle:3"_s << -1;
    QTest::newRow("drive, settings file")
        << u"C:\\Kunden\\x.ini"_s << u"C:\\Kunden\\x.ini"_s << QString() << -1;
    QTest::newRow("drive, relative") << u"d:x.ini"_s << u"d:x.ini"_s << QString() << -1;
    QTest::newRow("drive, unit") << u"C:\\Kunden\\u.csv:Pumpe 3"_s << u"C:\\Kunden\\u.csv"_s << u"Pumpe 3"_s
                                 << -1;
    QTest::newRow("drive alone") << u"C:"_s << u"C:"_s << QString() << -1;
    QTest::newRow("an existing file is a file") << u"EXISTING"_s << u"EXISTING"_s << QString() << -1;
    QTest::newRow("empty") << QString() << QString() << QString() << int(ReferenceProblem::Empty);
    QTest::newRow("no units file") << u":Pumpe"_s << QString() << QString()
                                   << int(ReferenceProblem::NoUnitsFile);
    QTest::newRow("no unit name") << u"units.csv:"_s << QString() << QString()
                                  << int(ReferenceProblem::NoUnitName);
}

void tst_SeriesRules::argumentsOfDiffNameAFileOrAUnit()
{
    QFETCH(QString, argument);
    QFETCH(QString, file);
    QFETCH(QString, unit);
    QFETCH(int, problem);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString existing = dir.filePath(u"backup:2026.ini"_s);
    QFile touched(existing);
    QVERIFY(touched.open(QIODevice::WriteOnly));
    touched.close();
    argument.replace(u"EXISTING"_s, existing);
    file.replace(u"EXISTING"_s, existing);

    const auto result = configurationReference(argument);
    if (problem >= 0) {
        QVERIFY(std::holds_alternative<ReferenceProblem>(result));
        QCOMPARE(int(std::get<ReferenceProblem>(result)), problem);
        return;
    }
    QVERIFY(std::holds_alternative<ConfigurationReference>(result));
    const ConfigurationReference reference = std::get<ConfigurationReference>(result);
    QCOMPARE(reference.file, file);
    QCOMPARE(reference.unit, unit);
    QCOMPARE(reference.isUnit(), !unit.isEmpty());
}

QTEST_GUILESS_MAIN(tst_SeriesRules)
#include "tst_seriesrules.moc"
