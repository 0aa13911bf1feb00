#pragma once

#include "comm/linksession.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The module functions of the commands, each on the sessions the communication page uses, reporting in the
// communication page's words. Every function returns its exit status (ExitCode) and leaves no port open.

// Writes a text to standard output or standard error, line breaks as the platform writes them.
void printOut(const QString &text);
void printErr(const QString &text);

// One module of an upload: its port, the unit of the units file it is for (empty when the settings are sent
// as they are) and the 640 bytes it gets, as the module receives them.
struct PortUpload
{
    QString port;
    QString unit;
    QByteArray record;
};

struct UploadOptions
{
    QString settingsFile; // the settings file the records come from, as the upload log names it
    bool json = false; // the summary as JSON lines (uploadJsonFields) instead of text lines
};

// Uploads each record through its own port, all at the same time, reports each step on standard error and
// one summary line per port on standard output, and appends one line per port to the upload log (a log
// that cannot be written is said once and stops nothing). The status is 0 when all succeeded, else that of
// the first port, in the order given, that failed. A failure at one port never stops the others. SIGINT /
// SIGTERM stop the runs.
int runUpload(const QList<PortUpload> &uploads, const UploadOptions &options, const LinkTimeouts &timeouts);

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
