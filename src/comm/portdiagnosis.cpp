#include "comm/portdiagnosis.h"

#include "core/filekind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A file read for the diagnosis is a small text (a lock file, a rule file, a process name).
constexpr qint64 kMostBytesRead = 1 << 20;

std::optional<qint64> pidOf(const QString &text)
{
    bool ok = false;
    const qint64 pid = text.trimmed().toLongLong(&ok);
    return ok && pid > 0 ? std::optional<qint64>(pid) : std::nullopt;
}

QString withoutLeadingZeros(const QString &hex)
{
    QString digits = hex.toLower();
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove(0, 1);
    return digits;
}

} // namespace

PortSystem PortSystem::live()
{
    PortSystem system;
    system.canonicalPath = [](const QString &path) { return QFileInfo(path).canonicalFilePath(); };
    system.folderEntries = [](const QString &folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    };
    system.fileBytes = [](const QString &path) -> std::optional<QByteArray> {
        // Only plain files: a FIFO or a device named like a lock file is never opened.
        if (fileKindOf(path) != FileKind::Regular)
            return std::nullopt;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.read(kMostBytesRead);
    };
#ifdef Q_OS_UNIX
    system.ownPid = ::getpid();
    system.uid = ::geteuid();
    if (const passwd *user = ::getpwuid(system.uid))
        system.userName = QString::fromLocal8Bit(user->pw_name);
    system.processGroups << ::getegid();
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<size_t>(count));
        const int got = ::getgroups(count, groups.data());
        for (int i = 0; i < got; ++i)
            system.processGroups << groups[size_t(i)];
    }
    system.device = [](const QString &path) -> std::optional<Device> {
        struct stat status
        {
        };
        if (::stat(QFile::encodeName(path).constData(), &status) != 0)
            return std::nullopt;
        return Device { status.st_uid, status.st_gid, unsigned(status.st_mode & 07777) };
    };
    system.databaseGroups = [](const QString &name) {
        QList<unsigned> result;
        const QByteArray user = name.toLocal8Bit();
        const passwd *entry = ::getpwnam(user.constData());
        if (!entry)
            return result;
        int count = 64;
        std::vector<gid_t> groups(static_cast<size_t>(count));
        if (::getgrouplist(user.constData(), entry->pw_gid, groups.data(), &count) < 0) {
            groups.resize(size_t(count));
            if (::getgrouplist(user.constData(), entry->pw_gid, groups.data(), &count) < 0)
                return result;
        }
        for (int i = 0; i < count; ++i)
            result << groups[size_t(i)];
        return result;
    };
    system.groupName = [](unsigned gid) {
        const group *entry = ::getgrgid(gid_t(gid));
        return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
    };
    system.userNameOf = [](unsigned uid) {
        const passwd *entry = ::getpwuid(uid_t(uid));
        return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
    };
    system.processes = [] {
        QList<qint64> pids;
        const QStringList entries
            = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            if (const std::optional<qint64> pid = pidOf(entry); pid && QString::number(*pid) == entry)
                pids << *pid;
        }
        return pids;
    };
    system.openFiles = [](qint64 pid) {
        QStringList files;
        const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
        const QStringList fds
            = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : fds) {
            const QString target = QFile::symLinkTarget(folder + u'/' + fd);
            if (!target.isEmpty())
                files << target;
        }
        return files;
    };
    system.processName = [](qint64 pid) {
        QFile file(QStringLiteral("/proc/%1/comm").arg(pid));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed() : QString();
    };
    system.ptyMasters = [](qint64 pid) {
        QList<int> masters;
        const QString folder = QStringLiteral("/proc/%1/fd").arg(pid);
        const QStringList fds
            = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : fds) {
            const QString target = QFile::symLinkTarget(folder + u'/' + fd);
            if (target != QLatin1String("/dev/ptmx") && target != QLatin1String("/dev/pts/ptmx"))
                continue;
            QFile info(QStringLiteral("/proc/%1/fdinfo/%2").arg(pid).arg(fd));
            if (!info.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : info.readAll().split('\n')) {
                if (line.startsWith("tty-index:"))
                    masters << line.mid(10).trimmed().toInt();
            }
        }
        return masters;
    };
#else
    system.ptyMasters = [](qint64) { return QList<int>(); };
    system.device = [](const QString &) { return std::optional<Device>(); };
    system.databaseGroups = [](const QString &) { return QList<unsigned>(); };
    system.groupName = [](unsigned gid) { return QString::number(gid); };
    system.userNameOf = [](unsigned uid) { return QString::number(uid); };
    system.processes = [] { return QList<qint64>(); };
    system.openFiles = [](qint64) { return QStringList(); };
    system.processName = [](qint64) { return QString(); };
#endif
    return system;
}

namespace PortDiagnosis {

QStringList lockFolders()
{
    // Where the serial port layer and the classic terminal programs put their locks.
    return { QStringLiteral("/var/lock"), QStringLiteral("/etc/locks"), QStringLiteral("/var/spool/locks"),
        QStringLiteral("/var/spool/uucp"), QStringLiteral("/tmp"), QStringLiteral("/var/tmp"),
        QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) };
}

QString lockFileName(const QString &portPath)
{
    QString name = portPath;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

QList<Holder> holders(const QString &portPath, const PortSystem &system)
{
    QList<Holder> found;
    const auto add = [&](qint64 pid) {
        if (pid == system.ownPid
            || std::any_of(found.cbegin(), found.cend(), [pid](const Holder &h) { return h.pid == pid; }))
            return;
        found << Holder { pid, system.processName(pid) };
    };
    const QString device = system.canonicalPath(portPath);
    if (device.isEmpty())
        return found;

    // The master side of a pseudo-terminal is the far end of the line.
    std::optional<int> ptyNumber;
    if (device.startsWith(QLatin1String("/dev/pts/"))) {
        bool ok = false;
        const int number = device.mid(9).toInt(&ok);
        if (ok)
            ptyNumber = number;
    }
    const QList<qint64> running = system.processes();
    for (const qint64 pid : running) {
        if (pid == system.ownPid || !system.openFiles(pid).contains(device))
            continue;
        if (ptyNumber && system.ptyMasters(pid).contains(*ptyNumber))
            continue;
        add(pid);
    }

    // A lock names its process on its first line; a lock whose process has gone is stale and means nothing.
    QStringList names { lockFileName(portPath), lockFileName(device) };
    names.removeDuplicates();
    QStringList folders = lockFolders();
    folders.removeDuplicates();
    for (const QString &folder : std::as_const(folders)) {
        for (const QString &name : std::as_const(names)) {
            const std::optional<QByteArray> bytes = system.fileBytes(folder + u'/' + name);
            if (!bytes)
                continue;
            const std::optional<qint64> pid = pidOf(QString::fromLatin1(bytes->split('\n').value(0)));
            if (pid && running.contains(*pid))
                add(*pid);
        }
    }
    return found;
}

std::optional<Permission> permission(const QString &portPath, const PortSystem &system)
{
    const std::optional<PortSystem::Device> device = system.device(portPath);
    if (!device || system.uid == 0)
        return std::nullopt;
    const bool owner = device->uid == system.uid;
    const bool inGroup = system.processGroups.contains(device->gid);
    const unsigned needed = owner ? 0600 : inGroup ? 0060 : 0006;
    if ((device->mode & needed) == needed)
        return std::nullopt;

    Permission result;
    result.owner = system.userNameOf(device->uid);
    result.group = system.groupName(device->gid);
    result.mode = device->mode;
    result.user = system.userName;
    if (owner || inGroup || (device->mode & 0060) != 0060)
        result.membership = Permission::Membership::Closed;
    else if (system.databaseGroups(system.userName).contains(device->gid))
        result.membership = Permission::Membership::NotLoggedInAgain;
    else
        result.membership = Permission::Membership::NotMember;
    return result;
}

bool isRunning(const QString &processName, const PortSystem &system)
{
    const QList<qint64> running = system.processes();
    return std::any_of(
        running.cbegin(), running.cend(), [&](qint64 pid) { return system.processName(pid) == processName; });
}

QStringList udevRuleFolders()
{
    return { QStringLiteral("/usr/lib/udev/rules.d"), QStringLiteral("/lib/udev/rules.d"),
        QStringLiteral("/etc/udev/rules.d") };
}

bool brlttyClaims(const QString &vendorId, const QString &productId, const PortSystem &system)
{
    if (vendorId.isEmpty() || productId.isEmpty())
        return false;
    const QString vendor = vendorId.toLower().rightJustified(4, u'0');
    const QString product = productId.toLower().rightJustified(4, u'0');
    // The rules name an adapter either by the kernel's PRODUCT ("403/6001/…", hex without leading
    // zeros) or by its idVendor and idProduct attributes.
    const QString byProduct
        = QStringLiteral("\"%1/%2/").arg(withoutLeadingZeros(vendor), withoutLeadingZeros(product));
    const QString byVendor = QStringLiteral("{idvendor}==\"%1\"").arg(vendor);
    const QString byProductId = QStringLiteral("{idproduct}==\"%1\"").arg(product);
    for (const QString &folder : udevRuleFolders()) {
        for (const QString &name : system.folderEntries(folder)) {
            if (!name.contains(QLatin1String("brltty"), Qt::CaseInsensitive))
                continue;
            const std::optional<QByteArray> bytes = system.fileBytes(folder + u'/' + name);
            if (!bytes)
                continue;
            for (const QByteArray &raw : bytes->split('\n')) {
                const QString line = QString::fromLatin1(raw).trimmed().toLower().remove(u' ');
                if (line.startsWith(u'#'))
                    continue;
                if (line.contains(byProduct) || (line.contains(byVendor) && line.contains(byProductId)))
                    return true;
            }
        }
    }
    return false;
}

QList<ClaimedAdapter> adaptersClaimedByBrltty(const PortSystem &system)
{
    QList<ClaimedAdapter> claimed;
    const QString root = QString::fromLatin1(kUsbDevicesFolder);
    const auto attribute = [&](const QString &device, const char *name) {
        const std::optional<QByteArray> bytes = system.fileBytes(device + u'/' + QLatin1String(name));
        return bytes ? QString::fromLatin1(*bytes).trimmed().toLower() : QString();
    };
    for (const QString &name : system.folderEntries(root)) {
        // Devices only ("1-2", "1-1.4"), not their interfaces ("1-2:1.0") nor the root hubs ("usb1").
        if (name.contains(u':') || name.startsWith(QLatin1String("usb")))
            continue;
        const QString device = root + u'/' + name;
        const QString vendor = attribute(device, "idVendor");
        const QString product = attribute(device, "idProduct");
        if (vendor.isEmpty() || product.isEmpty() || !brlttyClaims(vendor, product, system))
            continue;
        bool hasPort = false;
        for (const QString &interface : system.folderEntries(device)) {
            if (!interface.startsWith(name + u':'))
                continue;
            const QStringList inside = system.folderEntries(device + u'/' + interface);
            hasPort = hasPort || std::any_of(inside.cbegin(), inside.cend(), [](const QString &entry) {
                return entry.startsWith(QLatin1String("tty"));
            });
        }
        if (!hasPort)
            claimed << ClaimedAdapter { name, vendor, product };
    }
    return claimed;
}

} // namespace PortDiagnosis
