#include "cli/seriescommands.h"

#include "cli/argumentrules.h"
#include "cli/clitexts.h"
#include "cli/commandline.h"
#include "cli/jsonlines.h"
#include "cli/seriesrules.h"
#include "core/configdiff.h"
#include "core/configfields.h"
#include "l10n/runtimelanguage.h"
#include "l10n/unitstexts.h"

#include <QDir>
#include <QJsonObject>

using ArgumentRules::shown;

namespace {

QString shownPath(const QString &path)
{
    return shown(QDir::toNativeSeparators(path));
}

// The problems of the assignment, one line each, with the units file's lines.
void sayAssignmentProblems(const QList<SeriesRules::AssignmentProblem> &problems, const QStringList &ports,
    const QList<UnitRow> &rows, const QString &unitsPath)
{
    using Kind = SeriesRules::AssignmentProblem::Kind;
    for (const SeriesRules::AssignmentProblem &problem : problems) {
        const UnitRow *row = problem.row >= 0 ? &rows.at(problem.row) : nullptr;
        switch (problem.kind) {
        case Kind::UnknownUnit:
            printErr(CliText::unknownUnit(shownPath(unitsPath), shown(problem.unit)));
            break;
        case Kind::UnitNeedsOnePort:
            printErr(CliText::unitNeedsOnePort(problem.ports));
            break;
        case Kind::UnitPortDiffers:
            printErr(shownPath(unitsPath) + QStringLiteral(": ")
                + CliText::unitPortDiffers(
                    row->line, shown(row->unit), shown(row->port), shown(ports.value(0))));
            break;
        case Kind::PortNotGiven:
            printErr(shownPath(unitsPath) + QStringLiteral(": ")
                + CliText::portNotGiven(row->line, shown(row->unit), shown(row->port)));
            break;
        case Kind::PortNamedTwice:
            printErr(shownPath(unitsPath) + QStringLiteral(": ")
                + CliText::portNamedTwice(row->line, rows.at(problem.otherRow).line, shown(row->port)));
            break;
        case Kind::CountMismatch:
            printErr(CliText::unitCountMismatch(problem.rows, problem.ports));
            break;
        }
    }
}

} // namespace

std::variant<UnitsFile, int> readCheckedUnits(const QString &path)
{
    UnitsFile units = readUnitsFile(path);
    if (units.usable())
        return units;
    // Every problem at once, so one round of corrections in the spreadsheet is enough.
    // In the language in force (--lang over the settings'); an unreadable file's text names the file itself.
    const Language &language = runtimeLanguageInForce();
    for (const UnitsProblem &problem : units.problems) {
        const QString text = unitsProblemText(problem, language);
        printErr(problem.kind == UnitsProblem::Kind::Unreadable
                ? text
                : shownPath(path) + QStringLiteral(": ") + text);
    }
    return ExitCode::kSettingsRefused;
}

std::variant<Configuration, int> unitConfigurationFor(
    const LoadedSettings &base, const QString &unitsPath, const QString &unit)
{
    std::variant<UnitsFile, int> read = readCheckedUnits(unitsPath);
    if (const int *failed = std::get_if<int>(&read))
        return *failed;
    const UnitsFile &units = std::get<UnitsFile>(read);
    const int row = SeriesRules::unitRowIndex(units.rows, unit);
    if (row < 0) {
        printErr(CliText::unknownUnit(shownPath(unitsPath), shown(unit)));
        return ExitCode::kUsage;
    }
    return unitConfiguration(base.document, units.rows.at(row));
}

std::variant<QList<PortUpload>, int> unitUploads(
    const QStringList &ports, const LoadedSettings &base, const QString &unitsPath, const QString &unit)
{
    std::variant<UnitsFile, int> read = readCheckedUnits(unitsPath);
    if (const int *failed = std::get_if<int>(&read)) {
        printErr(CliText::nothingSent());
        return *failed;
    }
    const UnitsFile &units = std::get<UnitsFile>(read);
    const SeriesRules::Assignment assignment = SeriesRules::assignUnitsToPorts(ports, units.rows, unit);
    if (!assignment.problems.isEmpty()) {
        sayAssignmentProblems(assignment.problems, ports, units.rows, unitsPath);
        printErr(CliText::nothingSent());
        return ExitCode::kUsage;
    }
    // Each port's record from its own unit's configuration; one record that cannot be sent stops all.
    QList<PortUpload> uploads;
    for (const SeriesRules::PortAssignment &to : assignment.assignments) {
        const UnitRow &row = units.rows.at(to.row);
        const std::optional<QByteArray> record = moduleRecord(unitConfiguration(base.document, row));
        if (!record) {
            printErr(CliText::unitRecordRefused(shown(row.unit)));
            printErr(CliText::nothingSent());
            return ExitCode::kRecordRefused;
        }
        uploads.append(PortUpload { ports.at(to.port), row.unit, *record });
    }
    return uploads;
}

namespace {

// One side of the comparison: a settings file, or a unit of a units file over the base settings.
std::variant<Configuration, int> sideOf(const QString &argument, const std::optional<LoadedSettings> &base)
{
    const auto reference = SeriesRules::configurationReference(argument);
    if (const auto *problem = std::get_if<SeriesRules::ReferenceProblem>(&reference)) {
        QString why = QStringLiteral("an empty argument names no file.");
        if (*problem == SeriesRules::ReferenceProblem::NoUnitName)
            why = QStringLiteral("'%1' names no unit after its colon (UNITS:NAME).").arg(shown(argument));
        else if (*problem == SeriesRules::ReferenceProblem::NoUnitsFile)
            why = QStringLiteral("'%1' names no units file before its colon (UNITS:NAME).")
                      .arg(shown(argument));
        printErr(QStringLiteral("rm425t diff: ") + why + QStringLiteral("\nSee 'rm425t diff --help'."));
        return ExitCode::kUsage;
    }
    const SeriesRules::ConfigurationReference &named
        = std::get<SeriesRules::ConfigurationReference>(reference);
    if (!named.isUnit()) {
        const std::optional<IniDocument> document = readNamedSettings(named.file);
        if (!document)
            return ExitCode::kSettingsRefused;
        return Configuration::fromDocument(*document);
    }
    if (!base)
        return ExitCode::kSettingsRefused;
    return unitConfigurationFor(*base, named.file, named.unit);
}

QString bracketed(const QString &text)
{
    return u'[' + text + u']';
}

} // namespace

int diffCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("diff"),
        QStringLiteral(
            "Compares two configurations A and B: first each field of the parameter record that differs, "
            "one line of section, field, offset, width, value in A and value in B (tab-separated, the values "
            "in brackets as record --fields shows them), then each stored value that differs without "
            "changing the record: section/key, value in A, value in B. Exit status 0 when the records are "
            "equal (stored values may still differ), 1 when they differ.\n\n"
            "A and B are each a settings file or UNITS:NAME, the unit NAME of the units file UNITS laid "
            "over the settings of --settings (default: the working settings file). An argument that names "
            "an existing file is that file; otherwise the first colon separates the units file from the "
            "unit's name, where a drive letter and its colon at the start are part of the path "
            "(C:\\units.csv:Pumpe 3); without such a colon the argument is a settings file."));
    QCommandLineParser &parser = command.parser();
    parser.addOptions({ CommandOption::settings, CommandOption::lang,
        CommandOption::json(QStringLiteral(
            "{\"type\":\"record\",\"section\",\"field\",\"offset\",\"width\",\"a\",\"b\"} per record field "
            "and {\"type\":\"stored\",\"section\",\"key\",\"a\",\"b\"} per stored value, the values "
            "without brackets.")) });
    parser.addPositionalArgument(QStringLiteral("A"), QStringLiteral("The first configuration."));
    parser.addPositionalArgument(QStringLiteral("B"), QStringLiteral("The second configuration."));
    if (const std::optional<Usage> usage = command.parse(arguments, 2))
        return command.usage(*usage);
    if (const std::optional<Usage> problem = applyLanguageOption(parser))
        return command.usage(*problem);
    const QStringList sides = parser.positionalArguments();
    if (sides.size() < 2)
        return command.usage(Usage { QStringLiteral("A and B are required.") });

    // The base of the units, which also gives the language; a working settings file that cannot be read
    // only matters where a unit is laid over it.
    std::optional<LoadedSettings> base = LoadedSettings {};
    if (const std::optional<int> failed = loadConfiguration(parser, true, &*base)) {
        if (parser.isSet(CommandOption::settings))
            return *failed;
        base.reset();
        if (!parser.isSet(CommandOption::lang))
            setRuntimeLanguageOverride(kDefaultLanguageCode);
    }
    std::variant<Configuration, int> a = sideOf(sides.at(0), base);
    if (const int *failed = std::get_if<int>(&a))
        return *failed;
    std::variant<Configuration, int> b = sideOf(sides.at(1), base);
    if (const int *failed = std::get_if<int>(&b))
        return *failed;

    const ConfigurationDifference difference
        = compareConfigurations(std::get<Configuration>(a), std::get<Configuration>(b));
    const bool json = parser.isSet(QStringLiteral("json"));
    QStringList lines;
    for (const RecordDifference &field : difference.record) {
        if (json) {
            printJsonLine({ { QStringLiteral("type"), QStringLiteral("record") },
                { QStringLiteral("section"), field.section }, { QStringLiteral("field"), field.field },
                { QStringLiteral("offset"), field.offset }, { QStringLiteral("width"), field.width },
                { QStringLiteral("a"), field.a }, { QStringLiteral("b"), field.b } });
        } else {
            lines.append(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
                             .arg(field.section, field.field)
                             .arg(field.offset)
                             .arg(field.width)
                             .arg(bracketed(field.a), bracketed(field.b)));
        }
    }
    const auto fields = configurationFields();
    for (const StoredDifference &value : difference.stored) {
        const ConfigField &field = fields[size_t(value.field)];
        if (json) {
            printJsonLine({ { QStringLiteral("type"), QStringLiteral("stored") },
                { QStringLiteral("section"), QString::fromUtf16(field.section) },
                { QStringLiteral("key"), field.key() }, { QStringLiteral("a"), value.a },
                { QStringLiteral("b"), value.b } });
        } else {
            lines.append(QStringLiteral("%1\t%2\t%3")
                             .arg(field.settingsKey(), bracketed(value.a), bracketed(value.b)));
        }
    }
    if (!lines.isEmpty())
        printOut(lines.join(u'\n'));
    return difference.recordsEqual() ? ExitCode::kSuccess : ExitCode::kDiffer;
}
