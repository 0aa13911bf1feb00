#pragma once

#include "comm/linksession.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The module functions of the commands, each on the sessions the communication page uses, reporting in the
// communication page's words. Every function returns its exit status (ExitCode) and leaves no port open.

// Writes a text to standard output or standard error, line breaks as the platform writes them.
void printOut(const QString &text);
void printErr(const QString &text);

// Uploads the record (640 bytes as the module receives them) through every port at the same time, reports
// each step on standard error and one summary line per port on standard output. The status is 0 when all
// succeeded, else that of the first port, in the order given, that failed. SIGINT / SIGTERM stop the runs.
int runUpload(const QStringList &ports, const QByteArray &record, const LinkTimeouts &timeouts);

struct StatusOutput
{
    bool timestamps = false; // the time before each message and level
    bool csv = false; // the history's columns instead: time, kind, text, level, dBm
    bool follow = false; // wait for the port, and for it to come back, until interrupted
};

// Prints each status message, exactly as the module sent it, and its signal level on standard output until
// interrupted (SIGINT, SIGTERM) or the port goes; the messages are appended to the status log as the page
// does.
int runStatus(const QString &port, const StatusOutput &output, LinkTimeouts timeouts);

// Sends one SMS through the module; number and text have passed the page's checks.
int runSms(const QString &port, const QString &number, const QString &text, const LinkTimeouts &timeouts);
