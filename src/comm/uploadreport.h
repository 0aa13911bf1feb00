#pragma once

#include "comm/uploadlog.h"
#include "comm/uploadsession.h"

#include <QDateTime>
#include <QString>

// How an upload from the window ended, as the log and whoever started it see it.
struct UploadReport
{
    QString unit; // empty for the communication page's own "Senden"
    QString port; // the port it went through, as the page lists it
    UploadLog::Outcome outcome = UploadLog::Outcome::Success;
    // Nothing was sent: the record did not have its 640 characters (no line is logged for it).
    bool recordRefused = false;
    // What the communication page said of the end, in the language in force (empty when the user stopped it).
    QString text;
    QDateTime ended;
    // The upload log could not be written, said this once in the run (empty otherwise).
    QString logNote;
};

namespace UploadOutcome {

// The log's word for how the session ended; a run the user stopped (left the page, chose another port) is
// cancelled, whatever the session saw of it.
UploadLog::Outcome forSession(UploadSession::Outcome outcome, bool stoppedByUser);

// The exit status the upload command gives for the outcome. The commands keep their statuses above this
// folder; this is the same table, and a test holds the two together.
int exitStatus(UploadLog::Outcome outcome);

// The upload log could not be written (reason: the log's path and the system's words): said once a run,
// below the page's message. Nothing stops for it.
QString logNotWrittenText(const QString &reason);

} // namespace UploadOutcome
