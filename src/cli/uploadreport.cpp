#include "cli/uploadreport.h"

#include "comm/uploadreport.h"

#include "cli/argumentrules.h"
#include "cli/clitexts.h"
#include "cli/moduleruns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cmath>

using ArgumentRules::shown;

namespace {

// A report folded into one line.
QString oneLine(const QString &text)
{
    QStringList parts;
    for (const QString &line :
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            parts.append(line.trimmed());
    }
    return parts.join(u' ');
}

} // namespace

QString uploadSummaryLine(const UploadResult &result)
{
    QString who = shown(result.port);
    if (!result.unit.isEmpty())
        who += QStringLiteral(" (%1)").arg(shown(result.unit));
    return who + QStringLiteral(": ") + oneLine(result.report);
}

QJsonObject uploadSummaryJson(const UploadResult &result)
{
    return QJsonObject {
        { QStringLiteral("port"), result.port },
        { QStringLiteral("unit"), result.unit },
        { QStringLiteral("outcome"), UploadLog::outcomeWord(result.outcome) },
        { QStringLiteral("exit"), result.exitCode },
        { QStringLiteral("seconds"), std::round(result.seconds * 1000) / 1000 },
        { QStringLiteral("sha256"),
            QString::fromLatin1(
                QCryptographicHash::hash(result.record, QCryptographicHash::Sha256).toHex()) },
        { QStringLiteral("message"), oneLine(result.report) },
    };
}

QString uploadJsonFields()
{
    return QStringLiteral(
        "one object per port in the order of --port once all have ended: \"port\" (as given), \"unit\" "
        "(empty "
        "without --units), \"outcome\" (success, no-answer, no-port, wrong-version, incomplete, port-lost, "
        "cancelled), \"exit\" (the exit status for this port), \"seconds\", \"sha256\" (of the 640 "
        "characters "
        "sent, lower-case hex), \"message\" (the summary line's text).");
}

UploadLogWriter::UploadLogWriter(const QString &settingsFile, const QString &logPath)
    : m_settingsFile(QDir::toNativeSeparators(QFileInfo(settingsFile).absoluteFilePath()))
    , m_logPath(logPath)
{
}

void UploadLogWriter::write(const UploadResult &result)
{
    UploadLog::Entry entry;
    entry.time = result.started;
    entry.port = result.port;
    entry.unit = result.unit;
    entry.settingsFile = m_settingsFile;
    entry.record = result.record;
    entry.outcome = result.outcome;
    entry.exitStatus = result.exitCode;
    entry.seconds = result.seconds;
    QString error;
    if (UploadLog::append(entry, &error, m_logPath) || m_told)
        return;
    m_told = true;
    printErr(UploadOutcome::logNotWrittenText(error));
}
