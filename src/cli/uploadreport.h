#pragma once

#include "comm/uploadlog.h"
#include "comm/uploadsession.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

// How `upload` tells what became of each module: the summary line or JSON object per port, and the
// upload log.

// One module's upload once it ended.
struct UploadResult
{
    QString port; // as given
    QString unit; // empty when none
    QByteArray record; // the 640 bytes it was to get
    QDateTime started;
    double seconds = 0;
    UploadLog::Outcome outcome = UploadLog::Outcome::Success;
    int exitCode = 0;
    QString report; // what the communication page says about it
};


// "PORT: report" or "PORT (UNIT): report", on one line.
QString uploadSummaryLine(const UploadResult &result);
// The object of `upload --json`; uploadJsonFields() describes it.
QJsonObject uploadSummaryJson(const UploadResult &result);
QString uploadJsonFields();

// Appends each result to the upload log. A log that cannot be written is said once on standard error, in
// the language in force, and changes nothing about the upload or its status.
class UploadLogWriter
{
public:
    explicit UploadLogWriter(const QString &settingsFile, const QString &logPath = UploadLog::logPath());
    void write(const UploadResult &result);

private:
    QString m_settingsFile;
    QString m_logPath;
    bool m_told = false;
};
