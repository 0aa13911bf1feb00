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

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <unistd.h>
#endif

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

// Puts the file `from` at `to` unless something is there already; never replaces (QFile::rename falls back
// to copying over a target that appeared meanwhile).
bool placeIfAbsent(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
               reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
               MOVEFILE_WRITE_THROUGH)
        != 0;
#else
    // A second name for the file; the temporary one goes with the QTemporaryFile.
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// A log that does not exist yet comes into being with its header in one step: a file beside it holding
// the header takes the log's name unless another program created the log meanwhile, so no two headers and
// no line without one. Whatever fails here (a file system without links, say) is left to the append, which
// writes the header itself into an empty file.
void createWithHeader(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    QTemporaryFile header(path + QStringLiteral(".XXXXXX"));
    if (!header.open())
        return;
    header.setPermissions(
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (header.write(headerLine()) != headerLine().size() || !header.flush())
        return;
    header.close();
    placeIfAbsent(header.fileName(), path);
}

// Appends the line (with the header before it when the file is empty) in one write. A file opened for
// appending puts every write at the end as the file is then, so the line stays whole whoever else appends
// at the same time. False with the system's reason when it cannot.
bool appendLine(const QString &path, const QByteArray &line, QString *reason)
{
#ifdef Q_OS_WIN
    // Qt's Append moves to the end once and then writes there; only a handle that may append and nothing
    // else has each write put at the end by the system.
    const HANDLE handle
        = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
            FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *reason = qt_error_string(int(GetLastError()));
        return false;
    }
    QByteArray bytes = line;
    LARGE_INTEGER size {};
    if (GetFileSizeEx(handle, &size) && size.QuadPart == 0)
        bytes.prepend(headerLine());
    DWORD written = 0;
    const bool ok = WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr) != FALSE;
    const DWORD code = GetLastError();
    CloseHandle(handle);
    if (!ok || written != DWORD(bytes.size())) {
        *reason = qt_error_string(int(code));
        return false;
    }
    return true;
#else
    // O_APPEND, and no buffer that could write the line in pieces.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    QByteArray bytes = line;
    if (file.size() == 0)
        bytes.prepend(headerLine());
    if (file.write(bytes) != bytes.size()) {
        *reason = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return false;
    }
    return true;
#endif
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
    QString reason;
    if (!appendLine(target, line(entry), &reason))
        return fail(reason);
    return true;
}

} // namespace UploadLog
