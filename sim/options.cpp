#include "options.h"

#include <array>
#include <utility>

namespace {

struct ScenarioEntry
{
    Scenario scenario;
    const char *name;
};

constexpr std::array kScenarios {
    ScenarioEntry { Scenario::Normal, "normal" },
    ScenarioEntry { Scenario::Silent, "silent" },
    ScenarioEntry { Scenario::WrongVersion, "wrong-version" },
    ScenarioEntry { Scenario::WrongAck, "wrong-ack" },
    ScenarioEntry { Scenario::ExtraChars, "extra-chars" },
    ScenarioEntry { Scenario::NoAnswer, "no-answer" },
    ScenarioEntry { Scenario::SmsFail, "sms-fail" },
    ScenarioEntry { Scenario::SmsLongReply, "sms-long-reply" },
    ScenarioEntry { Scenario::Hangup, "hangup" },
    ScenarioEntry { Scenario::Flood, "flood" },
};

constexpr int kMaxInterval = 24 * 3600 * 1000;

// Reads a whole decimal number in [min, max]; anything else is an error for the named option.
std::optional<int> parseNumber(const QString &text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < min || value > max || text.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return value;
}

} // namespace

QString scenarioName(Scenario scenario)
{
    for (const auto &entry : kScenarios) {
        if (entry.scenario == scenario)
            return QString::fromLatin1(entry.name);
    }
    return {};
}

std::optional<Scenario> scenarioFromName(const QString &name)
{
    for (const auto &entry : kScenarios) {
        if (name == QLatin1String(entry.name))
            return entry.scenario;
    }
    return std::nullopt;
}

QString helpText()
{
    return QStringLiteral(
        "Usage: rm425t-sim [options]\n"
        "\n"
        "Plays the RM425T module on a pseudo-terminal. The first line printed on stdout is the\n"
        "device path to open as the module's serial port (9600,n,8,1; the pty ignores the speed).\n"
        "A log of what the module does goes to stderr.\n"
        "\n"
        "Options:\n"
        "  --link PATH          also create the symbolic link PATH to the device (removed on exit;\n"
        "                       an existing symbolic link is replaced, any other file is an error)\n"
        "  --record FILE        append every byte received, unchanged, to FILE\n"
        "  --scenario NAME      how the module behaves (default normal), see below\n"
        "  --block N            data block 1..10 at which wrong-ack, no-answer and hangup strike\n"
        "                       (default 3)\n"
        "  --pace-9600          send and take 960 characters a second, as a 9600-baud line with 8N1\n"
        "                       (default: as fast as the pty takes it)\n"
        "  --announce-ms N      interval of the \"*\" announcements when idle (default 500)\n"
        "  --status             status mode: send status messages instead of \"*\" announcements\n"
        "  --status-ms N        pause after each status message (default 1000; the program ends a\n"
        "                       message after 300 ms without characters, so keep it above that)\n"
        "  --sms-reports N      status messages sent after an SMS went out, before the module\n"
        "                       announces itself again (default 5)\n"
        "  --restart-reports N  status messages sent after the restart that follows an upload,\n"
        "                       before the module announces itself again (default 0)\n"
        "  --abandon-ms N       an upload or SMS that gets no byte for N ms is abandoned and the\n"
        "                       module returns to idle (default 5000; 0 = wait forever)\n"
        "  --quiet-log          no log on stderr\n"
        "  -h, --help           this text\n"
        "\n"
        "A real line's manners (combinable; the default is none of them):\n"
        "  --seed N             seed of every random choice below, so a run can be repeated\n"
        "                       (default: chosen at start); the log names it\n"
        "  --fragment[=MS]      every write of the module is split at random byte boundaries, with\n"
        "                       random gaps of up to MS ms between the pieces (default 20)\n"
        "  --chatty             \"*\" announcements at random moments, also during and right after an\n"
        "                       exchange (after \"VP\", between blocks, right after \"REC\" and \"SEND\")\n"
        "  --strict             answers \"D\" and \"S\" only once it has announced itself since it\n"
        "                       started or restarted (after \"REC\" or \"reset\"); a command before\n"
        "                       that, while it is busy, is dropped\n"
        "  --noise              stray bytes on the line before the first \"*\" after a start or\n"
        "                       restart: noise, a boot banner with CR LF, more noise; never \"*\"\n"
        "  --require-line B,P,D,S[,FLOW]\n"
        "                       answers and announces nothing until the program has set the line to\n"
        "                       these settings, e.g. 9600,n,8,1 (FLOW: none, rtscts, xonxoff, both;\n"
        "                       default none). The line starts out at 38400 baud, 2 stop bits and both\n"
        "                       kinds of flow control, so only the program's own settings can satisfy\n"
        "                       it; the log says why the module is silent\n"
        "\n"
        "The line settings the program puts on the line are logged whenever they change\n"
        "(\"line set to 9600,n,8,1,none\": speed, parity, data bits, stop bits, flow control).\n"
        "A pseudo-terminal always keeps 8 data bits without parity, whatever the program asks for.\n"
        "\n"
        "Scenarios:\n"
        "  normal          a healthy module: \"*\" when idle; \"D\" -> \"VP\", ten blocks of 64 bytes\n"
        "                  acknowledged \"XX1\" .. \"XX9\" and \"REC\", then a restart; \"S\" -> \"SMS\",\n"
        "                  number, '\"', CR, '>', text, Ctrl+Z -> \"SEND\", then status messages;\n"
        "                  an SMS without number, '\"', CR or '>' is answered \"FAIL\"\n"
        "  silent          sends nothing at all: no announcements, no status messages and no\n"
        "                  answers (\"say\" still works)\n"
        "  wrong-version   answers \"D\" with \"VX\"\n"
        "  wrong-ack       acknowledges block N with the acknowledgement of block N+1\n"
        "                  (block 10 with that of block 1)\n"
        "  extra-chars     sends another \"*\" right before the \"VP\"\n"
        "  no-answer       after block N it hangs: no answers, no announcements until \"reset\"\n"
        "  sms-fail        answers the SMS with \"FAIL\"\n"
        "  sms-long-reply  answers \"S\" with \"SMS!\"\n"
        "  hangup          closes the pty and exits right after receiving block N\n"
        "  flood           after the first \"*\" streams status text without pauses\n"
        "\n"
        "Status messages are short texts; those with the signal level read \"PEGEL Netz: NN\"\n"
        "(the two digits 12 positions after the \"P\"), the first message being \"PEGEL Netz: 17\".\n"
        "Some carry line ends inside, as CR LF, a lone CR or a lone LF.\n"
        "\n"
        "Commands on stdin, one per line (end of input is not a reason to exit):\n"
        "  say TEXT        send TEXT; escapes \\r \\n \\t \\\\ \\xHH; other characters are sent in\n"
        "                  Windows-1252 (\"?\" when they have no byte there)\n"
        "  quiet           stop the \"*\" announcements      announce   resume them\n"
        "  status on|off   start or stop the status messages\n"
        "  reset           the module restarts: any exchange is abandoned, back to idle\n"
        "  hangup          close the pty and exit           quit       exit\n"
        "  unplug          the adapter is pulled out: the pty closes and the --link goes; the\n"
        "                  module runs on\n"
        "  plug            plugged back in: a new pty, the --link made again to point at it\n"
        "\n"
        "Exit status: 0 on quit, hangup or SIGINT/SIGTERM; 1 when the pty cannot be set up;\n"
        "2 for a bad command line.\n");
}

OptionsResult parseOptions(const QStringList &arguments)
{
    OptionsResult result;
    SimOptions &options = result.options;
    const auto fail = [&result](const QString &message) {
        result.action = OptionsResult::Action::Fail;
        result.error = message;
        return result;
    };

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        std::optional<QString> inlineValue;
        if (name.startsWith(QLatin1String("--"))) {
            const qsizetype equals = name.indexOf(QLatin1Char('='));
            if (equals > 0) {
                inlineValue = name.mid(equals + 1);
                name.truncate(equals);
            }
        }
        const auto flag = [&]() { return !inlineValue.has_value(); };
        const auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments.at(++i);
        };
        const auto interval = [&](std::chrono::milliseconds &target, int min) -> bool {
            const auto text = value();
            const auto number = text ? parseNumber(*text, min, kMaxInterval) : std::nullopt;
            if (!number)
                return false;
            target = std::chrono::milliseconds(*number);
            return true;
        };

        if ((name == QLatin1String("-h") || name == QLatin1String("--help")) && flag()) {
            result.action = OptionsResult::Action::ShowHelp;
            return result;
        } else if (name == QLatin1String("--link") || name == QLatin1String("--record")) {
            const auto path = value();
            if (!path || path->isEmpty())
                return fail(QStringLiteral("%1 needs a file path").arg(name));
            (name == QLatin1String("--link") ? options.linkPath : options.recordPath) = *path;
        } else if (name == QLatin1String("--scenario")) {
            const auto text = value();
            const auto scenario = text ? scenarioFromName(*text) : std::nullopt;
            if (!scenario) {
                QStringList names;
                for (const auto &entry : kScenarios)
                    names << QString::fromLatin1(entry.name);
                return fail(
                    QStringLiteral("--scenario needs one of: %1").arg(names.join(QLatin1String(", "))));
            }
            options.scenario = *scenario;
        } else if (name == QLatin1String("--block")) {
            const auto text = value();
            const auto number = text ? parseNumber(*text, 1, 10) : std::nullopt;
            if (!number)
                return fail(QStringLiteral("--block needs a block number from 1 to 10"));
            options.block = *number;
        } else if (name == QLatin1String("--sms-reports")) {
            const auto text = value();
            const auto number = text ? parseNumber(*text, 0, 1000000) : std::nullopt;
            if (!number)
                return fail(QStringLiteral("--sms-reports needs a count of 0 or more"));
            options.reportsAfterSms = *number;
        } else if (name == QLatin1String("--restart-reports")) {
            const auto text = value();
            const auto number = text ? parseNumber(*text, 0, 1000000) : std::nullopt;
            if (!number)
                return fail(QStringLiteral("--restart-reports needs a count of 0 or more"));
            options.reportsAfterRestart = *number;
        } else if (name == QLatin1String("--announce-ms")) {
            if (!interval(options.announceInterval, 1))
                return fail(QStringLiteral("--announce-ms needs a number of milliseconds from 1"));
        } else if (name == QLatin1String("--status-ms")) {
            if (!interval(options.statusInterval, 1))
                return fail(QStringLiteral("--status-ms needs a number of milliseconds from 1"));
        } else if (name == QLatin1String("--abandon-ms")) {
            if (!interval(options.abandonAfter, 0))
                return fail(QStringLiteral("--abandon-ms needs a number of milliseconds (0 = never)"));
        } else if (name == QLatin1String("--seed")) {
            const auto text = value();
            bool ok = false;
            const quint32 seed = text ? text->toUInt(&ok, 10) : 0;
            if (!ok || text->startsWith(QLatin1Char('+')))
                return fail(QStringLiteral("--seed needs a whole number from 0 to 4294967295"));
            options.seed = seed;
        } else if (name == QLatin1String("--fragment")) {
            if (!inlineValue) {
                options.fragmentGap = kDefaultFragmentGap;
            } else if (!interval(options.fragmentGap, 1)) {
                return fail(QStringLiteral("--fragment=MS needs a number of milliseconds from 1"));
            }
        } else if (name == QLatin1String("--require-line")) {
            const auto text = value();
            const auto line = text ? LineSettings::parse(*text) : std::nullopt;
            if (!line)
                return fail(
                    QStringLiteral("--require-line needs BAUD,PARITY,DATA,STOP[,FLOW], e.g. 9600,n,8,1"));
            options.requiredLine = *line;
        } else if (name == QLatin1String("--chatty") && flag()) {
            options.chatty = true;
        } else if (name == QLatin1String("--strict") && flag()) {
            options.strict = true;
        } else if (name == QLatin1String("--noise") && flag()) {
            options.noise = true;
        } else if (name == QLatin1String("--pace-9600") && flag()) {
            options.pace9600 = true;
        } else if (name == QLatin1String("--status") && flag()) {
            options.statusMode = true;
        } else if (name == QLatin1String("--quiet-log") && flag()) {
            options.quietLog = true;
        } else {
            return fail(QStringLiteral("unknown option: %1").arg(arguments.at(i)));
        }
    }
    return result;
}
