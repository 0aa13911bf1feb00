#pragma once

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
};

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
