#pragma once

#include "core/unitsfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// Rules of the commands that program a series of modules from a units file, widget-free so they can be
// checked on their own.
namespace SeriesRules {

// Which unit goes to which port: indices into the --port list and into the units file's rows.
struct PortAssignment
{
    int port = -1;
    int row = -1;
    bool operator==(const PortAssignment &) const = default;
};

// Why the rows and the ports do not fit together. Rows are indices into the rows given.
struct AssignmentProblem
{
    enum class Kind {
        UnknownUnit, // --unit names no row (`unit`)
        UnitNeedsOnePort, // --unit with more or fewer than one --port (`ports`)
        UnitPortDiffers, // the row of --unit names another port than the one given (`row`)
        PortNotGiven, // a row names a port that is not among the --port options (`row`)
        PortNamedTwice, // two rows name one port (`row`, and `otherRow` the earlier one)
        CountMismatch, // not one --port per unit (`rows`, `ports`)
    };
    Kind kind = Kind::CountMismatch;
    int row = -1;
    int otherRow = -1;
    int rows = 0;
    int ports = 0;
    QString unit;
    bool operator==(const AssignmentProblem &) const = default;
};

// What `upload --units` sends where. A row whose `port` names one of the ports goes to that port (two
// spellings of one port are one port, ArgumentRules::portIdentity); the rows without a port go to the
// remaining ports in the order of the ports, row after row in file order. Every row goes to exactly one port
// and every port gets exactly one row. With `unit` (compared without case, as the units file compares names)
// only that row is sent, to the one port given. The assignments come in the order of the ports; any problem
// gives no assignment at all, and every problem found is listed.
struct Assignment
{
    QList<PortAssignment> assignments;
    QList<AssignmentProblem> problems;
};
Assignment assignUnitsToPorts(const QStringList &ports, const QList<UnitRow> &rows, const QString &unit = {});

// The row of the unit (compared without case); -1 when there is none.
int unitRowIndex(const QList<UnitRow> &rows, const QString &unit);

// An argument of `diff`: a settings file, or UNITS:NAME, the unit NAME of the units file UNITS.
//
// An argument that names something existing is that file, whatever it holds. Otherwise the first colon
// separates the units file from the unit's name (so a name may hold colons), where a letter and a colon at
// the very start are a drive and never the separator (C:\units.csv:Pumpe 3); without such a colon the
// argument is a settings file.
struct ConfigurationReference
{
    QString file;
    QString unit; // empty for a settings file
    bool isUnit() const { return !unit.isEmpty(); }
    bool operator==(const ConfigurationReference &) const = default;
};
// Why an argument is neither: a colon with nothing before it (a units file is missing) or after it (the
// unit's name is missing).
enum class ReferenceProblem { Empty, NoUnitsFile, NoUnitName };
std::variant<ConfigurationReference, ReferenceProblem> configurationReference(const QString &argument);

} // namespace SeriesRules
