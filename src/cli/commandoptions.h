#pragma once

#include "comm/linksession.h"
#include "core/configuration.h"
#include "core/inifile.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// What the commands share: their parser, the options several of them take, and how they read their
// settings.

// A command line the command does not take; an empty error: help was asked for (printed to standard output).
struct Usage
{
    QString error;
};

// The exit statuses, as every command's help lists them.
QString exitStatusesText();

class Command
{
public:
    // repeatable: the options with a value that may be given more than once; every other is given once.
    Command(const QString &name, const QString &description, const QStringList &repeatable = {});

    QCommandLineParser &parser() { return m_parser; }

    // Parses the arguments after the command; nullopt when they are fine. `positional`: how many
    // positional arguments the command takes.
    std::optional<Usage> parse(const QStringList &arguments, int positional = 0);

    // Prints the help or the usage error; returns the exit status for it.
    int usage(const Usage &usage);

private:
    QString m_name;
    QStringList m_repeatable;
    QCommandLineParser m_parser;
};

namespace CommandOption {
extern const QCommandLineOption settings;
extern const QCommandLineOption lang;
extern const QCommandLineOption port;
extern const QCommandLineOption wait;
// `--json`, with the command's own description of its objects.
QCommandLineOption json(const QString &description);
// `--units CSV` and `--unit NAME`.
extern const QCommandLineOption units;
extern const QCommandLineOption unit;
} // namespace CommandOption

// The settings a command read: the file's path as given (the working settings file when none was named)
// and its document (empty for a working settings file that does not exist).
struct LoadedSettings
{
    QString path;
    IniDocument document;
};

// Reads the file of --settings (with takesSettingsOption; else, or without the option, the working settings
// file) into the program's configuration, as the pages would hold it: its values over the design values, by
// every page's load rules. A file that cannot be used is said on standard error: ExitCode::kSettingsRefused.
std::optional<int> loadConfiguration(
    const QCommandLineParser &parser, bool takesSettingsOption = true, LoadedSettings *loaded = nullptr);

// Reads a settings file the user named, as "Open configuration…" takes it; said on standard error when it
// cannot be used.
std::optional<IniDocument> readNamedSettings(const QString &path);

// The record of the configuration as the communication page builds it before "Senden", as the module
// receives it; nullopt (said why) when it would be refused there. `text`: the record's characters.
std::optional<QByteArray> moduleRecord(const Configuration &configuration, QString *text = nullptr);

std::optional<Usage> applyLanguageOption(const QCommandLineParser &parser);
std::optional<Usage> readTimeouts(const QCommandLineParser &parser, LinkTimeouts &timeouts);
