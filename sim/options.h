#pragma once

#include "linesettings.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// How the simulated module misbehaves; Normal plays a healthy module.
enum class Scenario {
    Normal,
    Silent,
    WrongVersion,
    WrongAck,
    ExtraChars,
    NoAnswer,
    SmsFail,
    SmsLongReply,
    Hangup,
    Flood,
};

struct SimOptions
{
    QString linkPath;
    QString recordPath;
    Scenario scenario = Scenario::Normal;
    int block = 3; // the data block (1 .. 10) at which wrong-ack, no-answer and hangup strike
    bool pace9600 = false;
    std::chrono::milliseconds announceInterval { 500 };
    std::chrono::milliseconds statusInterval { 1000 };
    bool statusMode = false;
    int reportsAfterSms = 5;
    int reportsAfterRestart = 0;
    std::chrono::milliseconds abandonAfter { 5000 }; // zero: an unfinished exchange is never abandoned
    bool quietLog = false;
    // A real line's manners, each from a random source seeded so a run can be repeated.
    std::optional<quint32> seed; // none: chosen at start (and logged)
    std::chrono::milliseconds fragmentGap { 0 }; // zero: every write goes out whole
    bool chatty = false;
    bool strict = false;
    bool noise = false;
    std::optional<LineSettings> requiredLine;
};

// The longest gap between the pieces of one write with a bare --fragment: well below the 300 ms of
// silence that ends a status message.
inline constexpr std::chrono::milliseconds kDefaultFragmentGap { 20 };

struct OptionsResult
{
    enum class Action { Run, ShowHelp, Fail };
    Action action = Action::Run;
    SimOptions options;
    QString error; // set for Fail
};

// Parses the command line (arguments[0] is the program name).
OptionsResult parseOptions(const QStringList &arguments);
QString helpText();
QString scenarioName(Scenario scenario);
std::optional<Scenario> scenarioFromName(const QString &name);
