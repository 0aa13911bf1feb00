#include "cli/commandline.h"

#include "cli/argumentrules.h"
#include "cli/clitexts.h"
#include "cli/commandoptions.h"
#include "cli/designconfiguration.h"
#include "cli/jsonlines.h"
#include "cli/moduleruns.h"
#include "cli/seriescommands.h"
#include "cli/uploadreport.h"
#include "core/recordtable.h"
#include "comm/frm8texts.h"
#include "core/parameterrecord.h"
#include "comm/portcatalog.h"
#include "comm/portdiagnosis.h"
#include "comm/porttexts.h"
#include "comm/seriallink.h"
#include "comm/smsrule.h"
#include "comm/uploadlog.h"
#include "core/appsetup.h"
#include "core/configurationmodel.h"
#include "l10n/language.h"
#include "l10n/runtimelanguage.h"
#include "core/keyfilters.h"
#include "shell/settingstexts.h"

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QJsonValue>
#include <QSerialPortInfo>

#include <cmath>
#include <cstdio>
#include <optional>

namespace {

const QStringList kCommands = { QStringLiteral("record"), QStringLiteral("upload"), QStringLiteral("diff"),
    QStringLiteral("status"), QStringLiteral("sms"), QStringLiteral("ports"), QStringLiteral("init") };

QString overview()
{
    return QStringLiteral(
               "Configures the RM425T GSM control module. Without a command the window starts.\n\n"
               "Commands (rm425t COMMAND --help for each):\n"
               "  record   print the parameter record the pages give for a settings file, or for\n"
               "           a unit of a units file (--units CSV --unit NAME)\n"
               "  upload   send that record to one or more modules; with --units each module\n"
               "           gets its own unit's record, and each upload is logged\n"
               "  diff     the record fields and stored values in which two configurations differ\n"
               "  status   print the module's status messages and signal level\n"
               "  sms      send an SMS through the module\n"
               "  ports    list the serial ports and why any cannot be opened\n"
               "  init     write a settings file with the design values, to start from\n\n"
               "record --fields, upload, diff and ports take --json: one JSON object per line.\n\n")
        + exitStatusesText();
}

using ArgumentRules::shown;
const QCommandLineOption &kSettings = CommandOption::settings;
const QCommandLineOption &kLang = CommandOption::lang;
const QCommandLineOption &kPort = CommandOption::port;
const QCommandLineOption &kWait = CommandOption::wait;

std::optional<Usage> onePort(const QCommandLineParser &parser)
{
    const QStringList ports = parser.values(kPort);
    if (ports.isEmpty())
        return Usage { QStringLiteral("--port is required.") };
    if (ports.constFirst().isEmpty())
        return Usage { QStringLiteral("--port needs a port name.") };
    return std::nullopt;
}

// What the commands on one port share: the port, the language and the time limits; then the pages of the
// working settings, which give the language the window would speak (English when they cannot be read and
// no --lang is given).
std::optional<Usage> prepareOnePortRun(const QCommandLineParser &parser, LinkTimeouts &timeouts)
{
    std::optional<Usage> problem = onePort(parser);
    if (!problem)
        problem = applyLanguageOption(parser);
    if (!problem)
        problem = readTimeouts(parser, timeouts);
    if (problem)
        return problem;
    if (const std::optional<int> failed = loadConfiguration(parser, false); failed && !parser.isSet(kLang))
        setRuntimeLanguageOverride(kDefaultLanguageCode);
    return std::nullopt;
}

// --unit belongs to --units, and --units needs --unit where only one unit can be meant.
std::optional<Usage> unitsOptions(const QCommandLineParser &parser, bool unitRequired)
{
    if (parser.isSet(CommandOption::unit) && !parser.isSet(CommandOption::units))
        return Usage { QStringLiteral("--unit needs --units CSV.") };
    if (unitRequired && parser.isSet(CommandOption::units) && !parser.isSet(CommandOption::unit))
        return Usage { QStringLiteral("--units needs --unit NAME: the unit whose record is printed.") };
    return std::nullopt;
}

int recordCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("record"),
        QStringLiteral(
            "Prints the 640-character parameter record that \"Senden\" sends for the settings file, "
            "as the module receives it. With --fields, a table of section, field, offset, width "
            "and value. With --units CSV --unit NAME, the record of that unit: the settings with its "
            "row's values laid over them, as upload --units sends it."));
    QCommandLineParser &parser = command.parser();
    parser.addOptions({ kSettings, CommandOption::units, CommandOption::unit, kLang });
    parser.addOption(
        QCommandLineOption(QStringLiteral("fields"), QStringLiteral("Print the record field by field.")));
    parser.addOption(CommandOption::json(QStringLiteral(
        "{\"section\",\"field\",\"offset\",\"width\",\"value\"} per field, the value without brackets "
        "(implies --fields).")));
    if (const std::optional<Usage> usage = command.parse(arguments))
        return command.usage(*usage);
    std::optional<Usage> problem = applyLanguageOption(parser);
    if (!problem)
        problem = unitsOptions(parser, true);
    if (problem)
        return command.usage(*problem);
    LoadedSettings base;
    if (const std::optional<int> failed = loadConfiguration(parser, true, &base))
        return *failed;
    std::optional<Configuration> configuration = ConfigurationModel::program().configuration();
    if (parser.isSet(CommandOption::units)) {
        std::variant<Configuration, int> unit = unitConfigurationFor(
            base, parser.value(CommandOption::units), parser.value(CommandOption::unit));
        if (const int *failed = std::get_if<int>(&unit))
            return *failed;
        configuration = std::get<Configuration>(unit);
    }
    QString text;
    const std::optional<QByteArray> bytes = moduleRecord(*configuration, &text);
    if (!bytes)
        return ExitCode::kRecordRefused;
    const bool json = parser.isSet(QStringLiteral("json"));
    if (!parser.isSet(QStringLiteral("fields")) && !json) {
        // The bytes themselves: what goes down the line.
        std::fwrite(bytes->constData(), 1, size_t(bytes->size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        return ExitCode::kSuccess;
    }
    QStringList lines { QStringLiteral("section\tfield\toffset\twidth\tvalue") };
    for (const RecordField &field : parameterRecordFields()) {
        const QString value = text.mid(field.offset, field.width);
        if (json) {
            printJsonLine({ { QStringLiteral("section"), field.section },
                { QStringLiteral("field"), field.field }, { QStringLiteral("offset"), field.offset },
                { QStringLiteral("width"), field.width }, { QStringLiteral("value"), value } });
            continue;
        }
        // Brackets show the blanks that fill a field.
        lines.append(QStringLiteral("%1\t%2\t%3\t%4\t[%5]")
                         .arg(field.section, field.field)
                         .arg(field.offset)
                         .arg(field.width)
                         .arg(value));
    }
    if (!json)
        printOut(lines.join(u'\n'));
    return ExitCode::kSuccess;
}

int uploadCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("upload"),
        QStringLiteral(
            "Finds the module on each port and sends it the parameter record of the settings file, "
            "exactly as \"Senden\" does. With several --port all modules are programmed at the "
            "same time and a summary line per port is printed (PORT: text, with --units "
            "PORT (UNIT): text); a port that fails stops no other.\n\n"
            "With --units CSV every module gets the record of its own unit: a row whose 'port' names one "
            "of the --port ports goes to that port, the rows that name no port go to the remaining ports "
            "in the order of the --port options; there must be exactly one --port per row (exit status "
            "2 otherwise, as for a row naming a port not given, or two rows naming one port). With --unit "
            "NAME only that unit is sent, to the one --port given (its row may name that port or none). The "
            "whole units file is checked "
            "before any port is opened: a file with any refused row is said row by row and nothing is "
            "sent (exit status 3).\n\n"
            "Every upload appends one line per port to the upload log, %1 (time, version, port, unit, "
            "settings file, sha256 of the record sent, outcome, exit status, seconds); a log that cannot "
            "be written is said once and stops nothing.")
            .arg(QDir::toNativeSeparators(UploadLog::logPath())),
        { kPort.names().constFirst() });
    QCommandLineParser &parser = command.parser();
    parser.addOptions({ kSettings, CommandOption::units, CommandOption::unit, kPort, kLang, kWait,
        CommandOption::json(uploadJsonFields()) });
    if (const std::optional<Usage> usage = command.parse(arguments))
        return command.usage(*usage);
    LinkTimeouts timeouts;
    std::optional<Usage> problem = applyLanguageOption(parser);
    if (!problem)
        problem = readTimeouts(parser, timeouts);
    if (!problem)
        problem = unitsOptions(parser, false);
    const QStringList ports = parser.values(kPort);
    if (!problem && ports.isEmpty())
        problem = Usage { QStringLiteral("--port is required.") };
    if (!problem && ports.contains(QString()))
        problem = Usage { QStringLiteral("--port needs a port name.") };
    // Two spellings of one port would have two runs fight over one module.
    for (qsizetype i = 0; !problem && i < ports.size(); ++i) {
        for (qsizetype j = 0; !problem && j < i; ++j) {
            if (ArgumentRules::portIdentity(ports.at(i)) == ArgumentRules::portIdentity(ports.at(j))) {
                problem = Usage { ports.at(i) == ports.at(j)
                        ? QStringLiteral("--port %1 is given more than once.").arg(shown(ports.at(i)))
                        : QStringLiteral("--port %1 and --port %2 name the same port.")
                              .arg(shown(ports.at(j)), shown(ports.at(i))) };
            }
        }
    }
    if (problem)
        return command.usage(*problem);
    LoadedSettings base;
    if (const std::optional<int> failed = loadConfiguration(parser, true, &base))
        return *failed;
    // Every port with its record, complete before the first port is opened.
    QList<PortUpload> uploads;
    if (parser.isSet(CommandOption::units)) {
        std::variant<QList<PortUpload>, int> assigned
            = unitUploads(ports, base, parser.value(CommandOption::units), parser.value(CommandOption::unit));
        if (const int *failed = std::get_if<int>(&assigned))
            return *failed;
        uploads = std::get<QList<PortUpload>>(assigned);
    } else {
        const std::optional<QByteArray> record = moduleRecord(ConfigurationModel::program().configuration());
        if (!record)
            return ExitCode::kRecordRefused;
        for (const QString &port : ports)
            uploads.append(PortUpload { port, QString(), *record });
    }
    return runUpload(uploads, UploadOptions { base.path, parser.isSet(QStringLiteral("json")) }, timeouts);
}

int statusCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("status"),
        QStringLiteral(
            "Prints each status message of the module, exactly as it was sent, and its signal "
            "level with the level in dBm as they arrive, and appends the messages to GSM.DAT as the "
            "window does: in the current folder, or in the user's data folder (~/.local/share/RM425T/) "
            "where that cannot be written. Ends on Ctrl+C or when the port goes (with --follow only "
            "on Ctrl+C)."));
    QCommandLineParser &parser = command.parser();
    parser.addOptions({ kPort, kLang, kWait });
    parser.addOption(QCommandLineOption(QStringLiteral("timestamps"),
        QStringLiteral("Put the time before each line (standard output only).")));
    parser.addOption(QCommandLineOption(QStringLiteral("csv"),
        QStringLiteral("Print CSV with the columns time, kind (status, level, port), text, level, dBm: one "
                       "row per message, and one where the port was lost and where it came back.")));
    parser.addOption(QCommandLineOption(QStringLiteral("follow"),
        QStringLiteral("Wait for a port that is not there, and for a port that goes to come back (the same "
                       "path, or the same adapter by its serial number or USB location); monitoring goes "
                       "on until Ctrl+C.")));
    if (const std::optional<Usage> usage = command.parse(arguments))
        return command.usage(*usage);
    LinkTimeouts timeouts;
    if (const std::optional<Usage> problem = prepareOnePortRun(parser, timeouts))
        return command.usage(*problem);
    StatusOutput output;
    output.timestamps = parser.isSet(QStringLiteral("timestamps"));
    output.csv = parser.isSet(QStringLiteral("csv"));
    output.follow = parser.isSet(QStringLiteral("follow"));
    return runStatus(parser.value(kPort), output, timeouts);
}

int smsCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("sms"),
        QStringLiteral(
            "Sends an SMS through the module under the rules of the window: digits and \"+\" in the "
            "number; in the text letters, digits and the usual signs (umlauts become their vowel), "
            "at most 160 characters."));
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption number(
        QStringLiteral("number"), QStringLiteral("The telephone number."), QStringLiteral("NUMBER"));
    const QCommandLineOption text(
        QStringLiteral("text"), QStringLiteral("The text of the SMS."), QStringLiteral("TEXT"));
    parser.addOptions({ kPort, number, text, kLang, kWait });
    if (const std::optional<Usage> usage = command.parse(arguments))
        return command.usage(*usage);
    LinkTimeouts timeouts;
    std::optional<Usage> problem = prepareOnePortRun(parser, timeouts);
    if (problem)
        return command.usage(*problem);

    // The fields' own filters, applied to every character as to typed keys; a character the field would
    // swallow is an error here, since nobody sees the field.
    const auto filtered = [](KeyFilter filter, const QString &value, const QString &what,
                              QString &out) -> std::optional<Usage> {
        for (qsizetype i = 0; i < value.size(); ++i) {
            const QChar c = value.at(i);
            // A character beyond the first plane has no byte on the line: said whole, never half of it.
            const bool pair = c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate();
            const qsizetype length = pair ? 2 : 1;
            const QChar kept = c.isSurrogate() ? QChar() : filterTypedCharacter(filter, c);
            if (kept.isNull())
                return Usage { CliText::badCharacter(what, shown(value.mid(i, length))) };
            out += kept;
        }
        return std::nullopt;
    };
    QString smsNumber;
    QString smsText;
    problem = filtered(KeyFilter::PhoneNumber, parser.value(number), QStringLiteral("--number"), smsNumber);
    if (!problem)
        problem = filtered(KeyFilter::SmsText, parser.value(text), QStringLiteral("--text"), smsText);
    if (!problem && !SmsRule::fits(smsText))
        problem = Usage { CliText::smsTooLong(int(smsText.size()), SmsRule::kMaxLength) };
    if (!problem && (smsNumber.isEmpty() || smsText.isEmpty()))
        problem = Usage { Frm8Text::smsMissing().section(QStringLiteral("\r\n"), 1) };
    if (problem)
        return command.usage(*problem);
    return runSms(parser.value(kPort), smsNumber, smsText, timeouts);
}

// Why a port does not open, on one line: the program that holds it, what keeps the user out, or the
// port's own reason.
QString portReason(const QString &port, const QString &error, const PortSystem &system)
{
    QString text;
    if (const QList<PortDiagnosis::Holder> holders = PortDiagnosis::holders(port, system); !holders.isEmpty())
        text = PortText::heldBy(port, holders);
    else if (const std::optional<PortDiagnosis::Permission> why = PortDiagnosis::permission(port, system))
        text = PortText::permissionDenied(port, *why);
    else
        return CliText::cannotBeOpened(error);
    // Without the error line that opens it, and folded into one line.
    QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines.removeFirst();
    return lines.join(u' ');
}

int portsCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("ports"),
        QStringLiteral("Lists the serial ports, one per line: a usable port by its name, one that cannot be "
                       "opened with the reason."));
    QCommandLineParser &parser = command.parser();
    parser.addOption(kLang);
    parser.addOption(CommandOption::json(QStringLiteral(
        "{\"port\",\"usable\" (true or false),\"reason\" (why it cannot be opened; null when usable)} "
        "per port.")));
    if (const std::optional<Usage> usage = command.parse(arguments))
        return command.usage(*usage);
    if (const std::optional<Usage> problem = applyLanguageOption(parser))
        return command.usage(*problem);
    if (!parser.isSet(kLang) && loadConfiguration(parser, false))
        setRuntimeLanguageOverride(kDefaultLanguageCode);
    const bool json = parser.isSet(QStringLiteral("json"));
    int usable = 0;
    const PortSystem system = PortSystem::live();
    // The first USB adapter listed, for the note about ModemManager.
    QSerialPortInfo usbPort;
    for (const QString &port : PortCatalog::candidatePorts()) {
        if (const QSerialPortInfo info(port); usbPort.isNull() && info.hasVendorIdentifier())
            usbPort = info;
        QtSerialLink link;
        QString error;
        const bool opened = link.open(port, &error);
        if (opened) {
            link.close();
            ++usable;
        }
        const QString reason = opened ? QString() : portReason(port, error, system);
        if (json)
            printJsonLine({ { QStringLiteral("port"), port }, { QStringLiteral("usable"), opened },
                { QStringLiteral("reason"), opened ? QJsonValue(QJsonValue::Null) : QJsonValue(reason) } });
        else
            printOut(opened ? port : port + u'\t' + reason);
    }
    for (const PortDiagnosis::ClaimedAdapter &adapter : PortDiagnosis::adaptersClaimedByBrltty(system))
        printErr(PortText::adapterClaimedByBrltty(adapter.location, adapter.vendorId, adapter.productId));
    if (!usbPort.isNull() && PortDiagnosis::isRunning(QStringLiteral("ModemManager"), system)) {
        const auto hex = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
        printErr(PortText::modemManagerProbes(usbPort.systemLocation(), hex(usbPort.vendorIdentifier()),
            usbPort.hasProductIdentifier() ? hex(usbPort.productIdentifier()) : QString()));
    }
    if (usable == 0) {
        printErr(CliText::noUsablePort());
        return ExitCode::kNoPort;
    }
    return ExitCode::kSuccess;
}

// A settings file to start a configuration from (designconfiguration.h).
int initCommand(const QStringList &arguments)
{
    Command command(QStringLiteral("init"),
        QStringLiteral("Writes FILE as a settings file holding the design values of every page, as \"Save "
                       "configuration as\" writes it before anything was changed. An existing FILE is left "
                       "as it is unless --force is given: exit status 3 when FILE exists, names no "
                       "regular file or cannot be written."));
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption force(QStringLiteral("force"), QStringLiteral("Replace FILE if it exists."));
    parser.addOptions({ force, kLang });
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The settings file to write."));
    if (!parser.parse(QStringList { QStringLiteral("rm425t init") } + arguments))
        return command.usage(Usage { parser.errorText() });
    if (parser.isSet(QStringLiteral("help")))
        return command.usage(Usage {});
    const QStringList files = parser.positionalArguments();
    std::optional<Usage> problem = applyLanguageOption(parser);
    if (!problem && files.size() > 1)
        problem = Usage { QStringLiteral("Unexpected argument '%1'.").arg(files.at(1)) };
    if (!problem && (files.isEmpty() || files.constFirst().isEmpty()))
        problem = Usage { QStringLiteral("FILE is required.") };
    if (problem)
        return command.usage(*problem);

    return writeDesignConfiguration(files.constFirst(), parser.isSet(force));
}

} // namespace

bool isCommandLine(int argc, char *argv[])
{
    if (argc < 2)
        return false;
    const QString first = QString::fromLocal8Bit(argv[1]);
    // Options of Qt's own (-platform, -style …) still start the window.
    return !first.startsWith(u'-') || first == QLatin1String("--help") || first == QLatin1String("-h")
        || first == QLatin1String("--help-all") || first == QLatin1String("--version")
        || first == QLatin1String("-v");
}

std::optional<int> refuseWindowArguments(const QStringList &arguments, bool afterQt)
{
    std::optional<ArgumentRules::NonQtArgument> wrong;
    if (!afterQt)
        wrong = ArgumentRules::firstNonQtArgument(arguments);
    else if (arguments.size() > 1)
        wrong = ArgumentRules::NonQtArgument { arguments.at(1) };
    if (!wrong)
        return std::nullopt;
    const QString argument = shown(wrong->argument);
    if (wrong->lacksValue)
        printErr(QStringLiteral("rm425t: %1 needs a value.").arg(argument));
    else if (wrong->argument.startsWith(u'-'))
        printErr(QStringLiteral("rm425t: unknown option '%1'.").arg(argument));
    else
        printErr(QStringLiteral("rm425t: unexpected argument '%1' (a command comes first).").arg(argument));
    printErr(QStringLiteral("See 'rm425t --help'."));
    return ExitCode::kUsage;
}

namespace {

// Standard output and error are the commands' answer, read by scripts: Qt's notes about a session, a
// display or a file position stay out of them.
void commandMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (ArgumentRules::isQtNote(type, context.category, message))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int runCommandLine(int argc, char *argv[])
{
    qInstallMessageHandler(commandMessages);
    // The same name as the window's, so the same settings file and status log. No window, no display.
    AppSetup::setUpApplication();
    QCoreApplication app(argc, argv);

    const QStringList arguments = QCoreApplication::arguments();
    const QString first = arguments.value(1);
    const QStringList rest = arguments.mid(2);
    if (first == QLatin1String("record"))
        return recordCommand(rest);
    if (first == QLatin1String("upload"))
        return uploadCommand(rest);
    if (first == QLatin1String("diff"))
        return diffCommand(rest);
    if (first == QLatin1String("status"))
        return statusCommand(rest);
    if (first == QLatin1String("sms"))
        return smsCommand(rest);
    if (first == QLatin1String("ports"))
        return portsCommand(rest);
    if (first == QLatin1String("init"))
        return initCommand(rest);
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        printOut(QStringLiteral("rm425t ") + QCoreApplication::applicationVersion());
        return ExitCode::kSuccess;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(overview());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"), kCommands.join(QStringLiteral(", ")),
        QStringLiteral("[command] [options]"));
    if (first.startsWith(u'-')) {
        printOut(parser.helpText());
        return ExitCode::kSuccess;
    }
    printErr(QStringLiteral("rm425t: unknown command '%1' (commands: %2).\nSee 'rm425t --help'.")
                 .arg(shown(first), kCommands.join(QStringLiteral(", "))));
    return ExitCode::kUsage;
}
