#include "cli/commandoptions.h"

#include "cli/argumentrules.h"
#include "cli/commandline.h"
#include "cli/moduleruns.h"
#include "comm/frm8texts.h"
#include "core/configurationmodel.h"
#include "core/parameterrecord.h"
#include "l10n/language.h"
#include "l10n/runtimelanguage.h"
#include "shell/settingstexts.h"

#include <QDir>

#include <cmath>

using ArgumentRules::shown;

QString exitStatusesText()
{
    return QStringLiteral(
        "Exit status:\n"
        "  0   success (diff: the records are equal)\n"
        "  1   diff: the records differ\n"
        "  2   wrong command, option or value (upload: units and ports that do not fit together)\n"
        "  3   the settings file or the units file cannot be used (missing, unreadable, over 1 MB, not a\n"
        "      settings file; a units file with any refused row)\n"
        "  4   no port: it does not exist or cannot be opened (ports: none usable)\n"
        "  5   no answer from the module\n"
        "  6   wrong version: the module speaks another protocol\n"
        "  7   incomplete transfer: a block was not acknowledged\n"
        "  8   the port was lost while in use\n"
        "  9   record refused: the pages give a record that is not 640 characters long\n"
        "  10  the module could not send the SMS\n"
        "  130 interrupted (Ctrl+C) before the module answered\n");
}

Command::Command(const QString &name, const QString &description, const QStringList &repeatable)
    : m_name(name)
    , m_repeatable(repeatable)
{
    m_parser.setApplicationDescription(description + QStringLiteral("\n\n") + exitStatusesText());
    m_parser.addHelpOption();
}

std::optional<Usage> Command::parse(const QStringList &arguments, int positional)
{
    if (!m_parser.parse(QStringList { QStringLiteral("rm425t ") + m_name } + arguments))
        return Usage { shown(m_parser.errorText()) };
    if (m_parser.isSet(QStringLiteral("help")))
        return Usage {};
    if (m_parser.positionalArguments().size() > positional) {
        return Usage { QStringLiteral("Unexpected argument '%1'.")
                           .arg(shown(m_parser.positionalArguments().at(positional))) };
    }
    // A second value would silently win over the first.
    const QStringList found = m_parser.optionNames();
    for (const QString &name : found) {
        if (!m_repeatable.contains(name) && m_parser.values(name).size() > 1)
            return Usage { QStringLiteral("--%1 is given more than once.").arg(name) };
    }
    for (const QString &name : { QStringLiteral("settings"), QStringLiteral("units") }) {
        if (found.contains(name) && m_parser.value(name).isEmpty())
            return Usage { QStringLiteral("--%1 needs a file name.").arg(name) };
    }
    if (found.contains(QStringLiteral("unit")) && m_parser.value(QStringLiteral("unit")).isEmpty())
        return Usage { QStringLiteral("--unit needs a unit's name.") };
    return std::nullopt;
}

int Command::usage(const Usage &usage)
{
    if (usage.error.isEmpty()) {
        printOut(m_parser.helpText());
        return ExitCode::kSuccess;
    }
    printErr(QStringLiteral("rm425t %1: %2\nSee 'rm425t %1 --help'.").arg(m_name, usage.error));
    return ExitCode::kUsage;
}

namespace CommandOption {

const QCommandLineOption settings(QStringLiteral("settings"),
    QStringLiteral("The settings file to use instead of the working settings file."), QStringLiteral("FILE"));
const QCommandLineOption lang(QStringLiteral("lang"),
    QStringLiteral("Language of the messages: %1 (default: the language of the settings).")
        .arg(languageTagList()),
    QStringLiteral("LANG"));
const QCommandLineOption port(QStringLiteral("port"),
    QStringLiteral("Serial port of the module, e.g. /dev/ttyUSB0 or COM3."), QStringLiteral("PORT"));
const QCommandLineOption wait(QStringLiteral("wait"),
    QStringLiteral(
        "Seconds to wait for the module to announce itself (default 30 for upload, 20 otherwise)."),
    QStringLiteral("SECONDS"));
const QCommandLineOption units(QStringLiteral("units"),
    QStringLiteral("A units file: CSV with a column 'unit', optionally 'port', and settings keys as "
                   "'section/key' (frm1/txtsim); each row is the settings with its values laid over them."),
    QStringLiteral("CSV"));
const QCommandLineOption unit(QStringLiteral("unit"),
    QStringLiteral("The unit of the units file, by its name (case does not matter)."),
    QStringLiteral("NAME"));

QCommandLineOption json(const QString &description)
{
    return QCommandLineOption(QStringLiteral("json"),
        QStringLiteral("Print one JSON object per line instead of the text lines: ") + description);
}

} // namespace CommandOption

std::optional<IniDocument> readNamedSettings(const QString &path)
{
    SettingsFileRead read = readConfigurationFile(path);
    if (!read.document) {
        printErr(
            shown(QDir::toNativeSeparators(path)) + QStringLiteral(": ") + settingsProblemText(read.problem));
    }
    return read.document;
}

std::optional<int> loadConfiguration(
    const QCommandLineParser &parser, bool takesSettingsOption, LoadedSettings *loaded)
{
    const bool chosen = takesSettingsOption && parser.isSet(CommandOption::settings);
    const QString path = chosen ? parser.value(CommandOption::settings) : IniFileReadPath();
    SettingsFileRead read
        = chosen ? readConfigurationFile(path) : readSettingsFile(path, SettingsFileUse::Working);
    if (!chosen && read.problem == SettingsFileProblem::Missing)
        read.document = IniDocument();

    if (!read.document) {
        // Said in the language asked for, else in the program's default; nothing is sent.
        printErr(
            shown(QDir::toNativeSeparators(path)) + QStringLiteral(": ") + settingsProblemText(read.problem));
        return ExitCode::kSettingsRefused;
    }
    ConfigurationModel::program().replace(Configuration::fromDocument(*read.document));
    if (loaded)
        *loaded = LoadedSettings { path, *read.document };
    return std::nullopt;
}

std::optional<QByteArray> moduleRecord(const Configuration &configuration, QString *text)
{
    const QString record = BuildParameterRecord(configuration);
    if (text)
        *text = record;
    int length = 0;
    std::optional<QByteArray> bytes = RecordToModuleBytes(record, nullptr, &length);
    if (!bytes)
        printErr(Frm8Text::wrongRecordLength(length));
    return bytes;
}

std::optional<Usage> applyLanguageOption(const QCommandLineParser &parser)
{
    if (!parser.isSet(CommandOption::lang))
        return std::nullopt;
    const Language *language = languageForTag(parser.value(CommandOption::lang));
    if (!language)
        return Usage { QStringLiteral("--lang must be %1, not '%2'.")
                           .arg(languageTagList(), shown(parser.value(CommandOption::lang))) };
    setRuntimeLanguageOverride(language->code);
    return std::nullopt;
}

std::optional<Usage> readTimeouts(const QCommandLineParser &parser, LinkTimeouts &timeouts)
{
    if (!parser.isSet(CommandOption::wait))
        return std::nullopt;
    bool ok = false;
    const double seconds = parser.value(CommandOption::wait).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 3600)
        return Usage { QStringLiteral("--wait takes seconds between 0 and 3600, not '%1'.")
                           .arg(shown(parser.value(CommandOption::wait))) };
    const auto limit = std::chrono::milliseconds(qRound64(seconds * 1000));
    timeouts.uploadSearch = limit;
    timeouts.search = limit;
    return std::nullopt;
}
