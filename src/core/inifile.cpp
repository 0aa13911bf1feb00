#include "core/inifile.h"

#include "core/cp1252.h"
#include "core/filekind.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <chrono>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedLeft(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text.at(start)))
        ++start;
    return text.mid(start);
}

QStringView trimmedRight(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.first(end);
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

bool hasOuterQuotes(QStringView value)
{
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

// A value that the reader would trim or unquote is written inside one more pair of quotes, which the reader
// (ours and the platform's) takes off again, so the text reads back exactly as it was set.
QString quotedIfNeeded(const QString &value)
{
    if (value.isEmpty())
        return value;
    const bool edgeSpace = value.front().unicode() <= u' ' || value.back().unicode() <= u' ';
    if (edgeSpace || hasOuterQuotes(value))
        return u'"' + value + u'"';
    return value;
}

QString withoutLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString decodeFileText(const QByteArray &bytes)
{
    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(utf8Bom))
        return QString::fromUtf8(bytes.mid(utf8Bom.size()));
    return fromCp1252(bytes);
}

// Splits at CR LF, LF or CR.
QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

QString lookupKey(const QString &name)
{
    return name.toCaseFolded();
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray &bytes)
{
    IniDocument document;
    const QString text = decodeFileText(bytes);
    Section *current = nullptr; // none before the first section and within a repeated one
    for (QStringView line : splitLines(text)) {
        line = trimmedRight(trimmedLeft(line));
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            if (close > 0) {
                const QString name = line.sliced(1, close - 1).toString();
                // The lines of a repeated section are never seen by a reader: only the first one counts.
                current = document.findSection(name) ? nullptr : &document.sectionForWriting(name);
                continue;
            }
        }
        if (!current)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = trimmedRight(line.first(equals)).toString();
        if (key.isEmpty() || current->entryIndex.contains(lookupKey(key)))
            continue;
        QStringView value = trimmedLeft(line.sliced(equals + 1));
        if (hasOuterQuotes(value))
            value = value.sliced(1, value.size() - 2);
        current->entryIndex.insert(lookupKey(key), current->entries.size());
        current->entries.append(Entry { key, value.toString() });
    }
    return document;
}

QByteArray IniDocument::toBytes() const
{
    QString text;
    for (const Section &section : m_sections) {
        text += u'[' + section.name + QStringLiteral("]\r\n");
        for (const Entry &entry : section.entries)
            text += entry.key + u'=' + quotedIfNeeded(entry.value) + QStringLiteral("\r\n");
    }
    return toCp1252(text);
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString stored = fromCp1252(toCp1252(withoutLineBreaks(value)));
    Section &target = sectionForWriting(withoutLineBreaks(section));
    const QString plainKey = withoutLineBreaks(key);
    const auto found = target.entryIndex.constFind(lookupKey(plainKey));
    if (found != target.entryIndex.cend()) {
        target.entries[*found].value = stored;
        return;
    }
    target.entryIndex.insert(lookupKey(plainKey), target.entries.size());
    target.entries.append(Entry { plainKey, stored });
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const Section *found = findSection(section);
    if (!found)
        return std::nullopt;
    const auto entry = found->entryIndex.constFind(lookupKey(key));
    if (entry == found->entryIndex.cend())
        return std::nullopt;
    QString text = found->entries.at(*entry).value.left(kMaxValueLength);
    if (text.size() == kMaxValueLength && text.back().isHighSurrogate())
        text.chop(1);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QStringList IniDocument::sections() const
{
    QStringList names;
    for (const Section &section : m_sections)
        names.append(section.name);
    return names;
}

QStringList IniDocument::keys(const QString &section) const
{
    QStringList names;
    if (const Section *found = findSection(section)) {
        for (const Entry &entry : found->entries)
            names.append(entry.key);
    }
    return names;
}

const IniDocument::Section *IniDocument::findSection(const QString &name) const
{
    const auto found = m_sectionIndex.constFind(lookupKey(name));
    return found == m_sectionIndex.cend() ? nullptr : &m_sections.at(*found);
}

IniDocument::Section &IniDocument::sectionForWriting(const QString &name)
{
    const auto found = m_sectionIndex.constFind(lookupKey(name));
    if (found != m_sectionIndex.cend())
        return m_sections[*found];
    m_sectionIndex.insert(lookupKey(name), m_sections.size());
    m_sections.append(Section { name, {}, {} });
    return m_sections.last();
}

bool openRegularFileForReading(QFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK a FIFO waits for a writer; O_NOCTTY keeps a terminal from becoming ours. The kind is
    // asked of what was opened, so nothing put in its place meanwhile slips through.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    if (fileKindOf(path) != FileKind::Regular)
        return false;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
#endif
}

std::optional<IniDocument> readIniFile(const QString &path)
{
    QFile file;
    if (!openRegularFileForReading(file, path))
        return std::nullopt;
    return IniDocument::fromBytes(file.readAll());
}

namespace {

// The temporary file of a safe write is the target's name, a dot and six letters or digits.
bool isSafeWriteLeftover(const QString &name, const QString &targetName)
{
    if (name.size() != targetName.size() + 7 || !name.startsWith(targetName + u'.'))
        return false;
    for (const QChar c : QStringView(name).last(6)) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}

// Younger than this, a temporary file may belong to a save of another instance that is still running.
constexpr std::chrono::seconds kLeftoverAge { 60 };

} // namespace

void removeSafeWriteLeftovers(const QString &path)
{
    const QFileInfo target(path);
    const QString name = target.fileName();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList entries = target.absoluteDir().entryInfoList(
        { name + QStringLiteral(".??????") }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (!isSafeWriteLeftover(entry.fileName(), name))
            continue;
        if (entry.lastModified().secsTo(now) < kLeftoverAge.count())
            continue;
        QFile::remove(entry.absoluteFilePath());
    }
}

namespace {

QString withPath(const QString &path, const QString &reason)
{
    // The path once: some of the system's reasons name it themselves.
    const QString native = QDir::toNativeSeparators(path);
    const bool named = reason.contains(path) || reason.contains(native);
    return named ? reason : QStringLiteral("%1: %2").arg(native, reason);
}

// Writes all bytes from the start of the file, cuts what is left of the old content and syncs; the hook
// runs half-way.
bool writeOpenFile(
    QFile &file, const QByteArray &bytes, const std::function<void()> &halfWritten, QString *reason)
{
    const qsizetype half = bytes.size() / 2;
    qsizetype done = 0;
    bool hooked = false;
    while (done < bytes.size()) {
        if (!hooked && done >= half && halfWritten) {
            hooked = true;
            halfWritten();
        }
        const qsizetype chunk = hooked || !halfWritten ? bytes.size() - done : half - done;
        const qint64 n = file.write(bytes.constData() + done, chunk);
        if (n <= 0) {
            *reason = file.errorString();
            return false;
        }
        done += n;
    }
    if (!file.resize(bytes.size())) {
        *reason = file.errorString();
        return false;
    }
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
#else
    file.flush();
#endif
    return true;
}

// The existing file rewritten where it stands, for a folder that takes no new files. It is never
// truncated before the new content is safe elsewhere.
bool writeInPlace(const QString &path, const QByteArray &bytes, const InPlaceWrite &inPlace, QString *reason)
{
    QFile file;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        *reason = QStringLiteral("not a regular file");
        return false;
    }
    // Back to blocking writes: a regular file never waits anyway, and a full disk must show as an error.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *reason = file.errorString();
        return false;
    }
#else
    file.setFileName(path);
    // ReadWrite: WriteOnly would truncate the file at once.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
#endif
    // Only once the file is known to take the write: a copy left behind means a write that did not end.
    const QString &copyPath = inPlace.copyPath;
    if (!copyPath.isEmpty()) {
        QDir().mkpath(QFileInfo(copyPath).absolutePath());
        QSaveFile copy(copyPath);
        // A copy that cannot be kept does not stop the save: the file is written as it always was.
        if (copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size())
            copy.commit();
        else
            copy.cancelWriting();
    }
    if (!writeOpenFile(file, bytes, inPlace.halfWritten, reason))
        return false;
    file.close();
    if (!copyPath.isEmpty())
        QFile::remove(copyPath);
    return true;
}

} // namespace

QString inPlaceCopyPath(const QString &folder, const QString &target)
{
    const QFileInfo info(target);
    const QString absolute
        = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash
        = QCryptographicHash::hash(QFile::encodeName(absolute), QCryptographicHash::Sha256).toHex().left(16);
    return QDir(folder).filePath(
        QStringLiteral("%1.%2.copy").arg(info.fileName(), QString::fromLatin1(hash)));
}

bool writeIniFileAtomically(
    const QString &path, const IniDocument &document, QString *errorText, const InPlaceWrite &inPlace)
{
    const FileKind kind = fileKindOf(path);
    QString reason;
    if (!isFileOrMissing(kind)) {
        // Renaming over it would replace a device node or a FIFO, writing into it would reach a device.
        if (errorText)
            *errorText = withPath(path, QStringLiteral("not a regular file"));
        return false;
    }
    removeSafeWriteLeftovers(path);
    const QFileInfo before(path);
    const bool existed = before.exists();
    const uint owner = before.ownerId();
    const uint group = before.groupId();
    const QByteArray bytes = document.toBytes();

    // Unbuffered, so that a failing write (a full disk) shows at the write itself: with Qt's write buffer the
    // error would only come up when commit() flushes, and commit() does not see it there and keeps the
    // shortened file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        // A folder the program may not create files in still lets it write the existing file in place, as
        // long as the file itself allows it.
        if (existed && writeInPlace(path, bytes, inPlace, &reason))
            return true;
    } else {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += n;
        }
        if (done < bytes.size()) {
            reason = file.errorString(); // taken before cancelling, which puts its own text there
            file.cancelWriting();
        } else if (!file.commit()) {
            reason = file.errorString();
        } else {
#ifdef Q_OS_UNIX
            // The new file is ours; it goes back to whom the replaced one belonged, where we may do that.
            const QFileInfo after(path);
            if (existed && (after.ownerId() != owner || after.groupId() != group)) {
                if (::chown(QFile::encodeName(path).constData(), owner, group) != 0) {
                    // Only a privileged user may give a file away; the settings are saved all the same.
                }
            }
#else
            Q_UNUSED(owner);
            Q_UNUSED(group);
#endif
            return true;
        }
    }
    if (errorText)
        *errorText = withPath(path, reason);
    return false;
}
