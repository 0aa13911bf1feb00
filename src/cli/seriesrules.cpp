#include "cli/seriesrules.h"

#include "cli/argumentrules.h"

#include <QFileInfo>

namespace SeriesRules {

int unitRowIndex(const QList<UnitRow> &rows, const QString &unit)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows.at(i).unit.compare(unit, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

Assignment assignUnitsToPorts(const QStringList &ports, const QList<UnitRow> &rows, const QString &unit)
{
    using Kind = AssignmentProblem::Kind;
    Assignment result;
    QStringList identities;
    for (const QString &port : ports)
        identities.append(ArgumentRules::portIdentity(port));

    if (!unit.isEmpty()) {
        const int row = unitRowIndex(rows, unit);
        if (row < 0)
            result.problems.append({ Kind::UnknownUnit, -1, -1, int(rows.size()), int(ports.size()), unit });
        if (ports.size() != 1)
            result.problems.append(
                { Kind::UnitNeedsOnePort, -1, -1, int(rows.size()), int(ports.size()), unit });
        if (!result.problems.isEmpty())
            return result;
        const QString &named = rows.at(row).port;
        if (!named.isEmpty() && ArgumentRules::portIdentity(named) != identities.constFirst()) {
            result.problems.append({ Kind::UnitPortDiffers, row, -1, int(rows.size()), 1, unit });
            return result;
        }
        result.assignments.append({ 0, row });
        return result;
    }

    // The rows that name their port first, so the others only fill what is left.
    QList<int> rowOfPort(ports.size(), -1);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QString &named = rows.at(row).port;
        if (named.isEmpty())
            continue;
        const int port = int(identities.indexOf(ArgumentRules::portIdentity(named)));
        if (port < 0)
            result.problems.append(
                { Kind::PortNotGiven, int(row), -1, int(rows.size()), int(ports.size()), {} });
        else if (rowOfPort.at(port) >= 0)
            result.problems.append({ Kind::PortNamedTwice, int(row), rowOfPort.at(port), int(rows.size()),
                int(ports.size()), {} });
        else
            rowOfPort[port] = int(row);
    }
    if (rows.size() != ports.size())
        result.problems.append({ Kind::CountMismatch, -1, -1, int(rows.size()), int(ports.size()), {} });
    if (!result.problems.isEmpty())
        return result;

    qsizetype nextRow = 0;
    for (qsizetype port = 0; port < ports.size(); ++port) {
        int row = rowOfPort.at(port);
        if (row < 0) {
            while (!rows.at(nextRow).port.isEmpty())
                ++nextRow;
            row = int(nextRow++);
        }
        result.assignments.append({ int(port), row });
    }
    return result;
}

std::variant<ConfigurationReference, ReferenceProblem> configurationReference(const QString &argument)
{
    if (argument.isEmpty())
        return ReferenceProblem::Empty;
    if (QFileInfo::exists(argument))
        return ConfigurationReference { argument, {} };
    const bool drive = argument.size() >= 2 && argument.at(1) == u':' && argument.at(0).isLetter()
        && argument.at(0).unicode() < 0x80;
    const qsizetype colon = argument.indexOf(u':', drive ? 2 : 0);
    if (colon < 0)
        return ConfigurationReference { argument, {} };
    const QString file = argument.left(colon);
    const QString unit = argument.mid(colon + 1);
    if (file.isEmpty())
        return ReferenceProblem::NoUnitsFile;
    if (unit.isEmpty())
        return ReferenceProblem::NoUnitName;
    return ConfigurationReference { file, unit };
}

} // namespace SeriesRules
