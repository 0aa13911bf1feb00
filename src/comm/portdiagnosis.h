#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Why a serial port cannot be used, as the system shows it: who owns the device and whether this user
// belongs to its group, which other programs hold it open, and which services get in the way of USB serial
// adapters. Everything is read through PortSystem, so the rules can be tried on made-up systems; what
// cannot be read (another user's processes, say) is left out, never guessed.
struct PortSystem
{
    struct Device
    {
        unsigned uid = 0;
        unsigned gid = 0;
        unsigned mode = 0; // the permission bits, e.g. 0660
    };

    // The device a path names (links followed); nullopt when there is none.
    std::function<std::optional<Device>(const QString &path)> device;
    // The path with every link resolved; empty when it does not exist.
    std::function<QString(const QString &path)> canonicalPath;

    // This process: its id, user, user name and the groups it runs with.
    qint64 ownPid = 0;
    unsigned uid = 0;
    QString userName;
    QList<unsigned> processGroups;
    // The groups the group database gives the user now (what a new login would have).
    std::function<QList<unsigned>(const QString &user)> databaseGroups;
    std::function<QString(unsigned gid)> groupName;
    std::function<QString(unsigned uid)> userNameOf;

    // The running processes; the files a process has open (link targets), empty when they may not be read;
    // its name (empty when unknown).
    std::function<QList<qint64>()> processes;
    std::function<QStringList(qint64 pid)> openFiles;
    std::function<QString(qint64 pid)> processName;
    // The numbers of the pseudo-terminals whose master side the process holds: it is the far end of that
    // line (a terminal, a simulated module), not a second program on it.
    std::function<QList<int>(qint64 pid)> ptyMasters;

    // Files and folders: names in a folder, a file's bytes (nullopt when it cannot be read).
    std::function<QStringList(const QString &folder)> folderEntries;
    std::function<std::optional<QByteArray>(const QString &path)> fileBytes;

    // The system this program runs on.
    static PortSystem live();
};

namespace PortDiagnosis {

// Another program that has the port open.
struct Holder
{
    qint64 pid = 0;
    QString name; // empty when it cannot be read

    bool operator==(const Holder &) const = default;
};

// Why this user may not open a device.
struct Permission
{
    enum class Membership {
        NotMember, // the group may use the device; the user is not in it, nor listed in the group database
        NotLoggedInAgain, // the group may use the device; the user is listed, but this login predates it
        Closed, // no group membership would help: the device's mode keeps the user out
    };

    QString owner;
    QString group; // the name, or the number when it has none
    unsigned mode = 0;
    Membership membership = Membership::NotMember;
    QString user;

    bool operator==(const Permission &) const = default;
};

// Folders where serial-port lock files ("LCK..ttyUSB0") lie.
QStringList lockFolders();
// The name of the lock file of a port ("/dev/ttyUSB0" gives "LCK..ttyUSB0", "/dev/pts/3" "LCK..pts_3").
QString lockFileName(const QString &portPath);

// The programs other than this one that hold portPath open: those whose open files include the device (for
// a pseudo-terminal, other than the one at its master side), and those named in a lock file of the port
// whose process still runs. Each once, by process id.
QList<Holder> holders(const QString &portPath, const PortSystem &system);

// Why the device at portPath does not open for this user; nullopt when nothing about its owner, group or
// mode keeps the user out (or there is no device).
std::optional<Permission> permission(const QString &portPath, const PortSystem &system);

// Whether a process of that name runs ("ModemManager").
bool isRunning(const QString &processName, const PortSystem &system);

// Folders of udev rules, the system's and the administrator's.
QStringList udevRuleFolders();
// Whether a brltty rule in these folders claims the USB adapter vendor:product (4 hex digits each).
bool brlttyClaims(const QString &vendorId, const QString &productId, const PortSystem &system);

// A USB device plugged in that has no serial port although brltty has a rule for it: brltty took it.
struct ClaimedAdapter
{
    QString location; // "1-2", as the kernel names the USB port chain
    QString vendorId;
    QString productId;

    bool operator==(const ClaimedAdapter &) const = default;
};
// The folder of the USB devices the kernel knows.
inline constexpr char kUsbDevicesFolder[] = "/sys/bus/usb/devices";
QList<ClaimedAdapter> adaptersClaimedByBrltty(const PortSystem &system);

} // namespace PortDiagnosis
