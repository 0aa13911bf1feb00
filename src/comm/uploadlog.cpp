#include "comm/uploadlog.h"

#include "core/csv.h"
#include "core/filekind.h"
#include "core/settingslocation.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace UploadLog {

namespace {

QByteArray headerLine()
{
    return csvLine({ QStringLiteral("time"), QStringLiteral("version"), QStringLiteral("port"),
                       QStringLiteral("unit"), QStringLiteral("settings"), QStringLiteral("sha256"),
                       QStringLiteral("outcome"), QStringLiteral("exit"), QStringLiteral("seconds") })
        .toUtf8();
}

QString withPath(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

// A log that does not exist yet comes into being with its header in one step: a file beside it holding
// the header is renamed to it unless another program created it meanwhile, so no two headers and no line
// without one. Whatever fails here is left to the append, which writes the header itself into an empty
// file.
void createWithHeader(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    QTemporaryFile header(path + QStringLiteral(".XXXXXX"));
    if (!header.open())
        return;
    header.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
        | QFileDevice::ReadOther);
    if (header.write(headerLine()) != headerLine().size() || !header.flush())
        return;
    header.close();
    // Refused when the log exists by now; the temporary file then goes when `header` does.
    if (QFile::rename(header.fileName(), path))
        header.setAutoRemove(false);
}

} // namespace

QString outcomeWord(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Success:
        return QStringLiteral("success");
    case Outcome::NoAnswer:
        return QStringLiteral("no-answer");
    case Outcome::PortOpenFailed:
        return QStringLiteral("no-port");
    case Outcome::WrongVersion:
        return QStringLiteral("wrong-version");
    case Outcome::IncompleteTransfer:
        return QStringLiteral("incomplete");
    case Outcome::PortLost:
        return QStringLiteral("port-lost");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QString();
}

QString logPath()
{
    return QDir(SettingsLocation::currentFolders().dataDir).filePath(kFileName);
}

QByteArray line(const Entry &entry)
{
    const QByteArray hash = QCryptographicHash::hash(entry.record, QCryptographicHash::Sha256).toHex();
    return csvLine({ isoTimestamp(entry.time), QCoreApplication::applicationVersion(), entry.port, entry.unit,
                       entry.settingsFile, QString::fromLatin1(hash), outcomeWord(entry.outcome),
                       QString::number(entry.exitStatus), QString::number(entry.seconds, 'f', 3) })
        .toUtf8();
}

bool append(const Entry &entry, QString *error, const QString &path)
{
    const QString target = path.isEmpty() ? logPath() : path;
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = withPath(target, reason);
        return false;
    };
    // Never a FIFO or a device: opening one for writing waits for a reader or writes to the device.
    if (!isFileOrMissing(target))
        return fail(QStringLiteral("not a regular file"));
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    createWithHeader(target);

    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail(file.errorString());
    // Appending puts every write at the end as the file is then, so one write is one whole line whoever
    // else appends at the same time.
    QByteArray bytes = line(entry);
    if (file.size() == 0)
        bytes.prepend(headerLine());
    const qint64 written = file.write(bytes);
    if (written != bytes.size())
        return fail(file.errorString());
    if (!file.flush())
        return fail(file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return true;
}

} // namespace UploadLog
