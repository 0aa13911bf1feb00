#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The upload log: one CSV line per upload, from the window or a command, appended to "uploads.csv" in the
// user's data folder (where GSM.DAT goes when the current folder cannot be written). Each line is written with
// a single append, so two programs writing at once never mix their lines.
//
// Columns: time (ISO 8601, milliseconds, UTC offset), program version, port, unit (empty when none), settings
// file (full path), sha256 of the 640 characters as sent (hex, lower case), outcome, exit status, seconds (with
// a point and three decimals). A new file starts with a header line naming the columns
// (time,version,port,unit,settings,sha256,outcome,exit,seconds). The file is UTF-8 without a byte order mark.
namespace UploadLog {

inline const QString kFileName = QStringLiteral("uploads.csv");

// One word per outcome, as the log and `upload --json` write it.
enum class Outcome {
    Success, // "success"
    NoAnswer, // "no-answer"
    PortOpenFailed, // "no-port"
    WrongVersion, // "wrong-version"
    IncompleteTransfer, // "incomplete"
    PortLost, // "port-lost"
    Cancelled, // "cancelled": stopped by the user (Ctrl+C, the window's stop or close)
};
QString outcomeWord(Outcome outcome);

struct Entry
{
    QDateTime time; // when the upload started
    QString port;
    QString unit;
    QString settingsFile;
    QByteArray record; // the 640 bytes as sent
    Outcome outcome = Outcome::Success;
    int exitStatus = 0; // the command's exit status for this outcome
    double seconds = 0;
};

// The full path of the log for this run. The folder is created by append(), not here.
QString logPath();
// The line for the entry, CR LF at its end.
QByteArray line(const Entry &entry);
// Appends the entry to the log at `path` (default: logPath()). False when it cannot be written; `error`
// then says why in the system's words.
bool append(const Entry &entry, QString *error = nullptr, const QString &path = {});

} // namespace UploadLog
