#include "portcatalog.h"

#include "portdiagnosis.h"
#include "seriallink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unistd.h>
#endif

namespace PortCatalog {

#ifdef Q_OS_WIN
namespace {
constexpr int kHighestComPort = 15;
const QString kComPrefix = QStringLiteral("COM");
} // namespace

QStringList candidatePorts()
{
    QStringList names;
    for (int n = 1; n <= kHighestComPort; ++n)
        names << kComPrefix + QString::number(n);
    return names;
}

PortEntry entryFor(const QString &portName)
{
    QString label = portName;
    if (portName.startsWith(kComPrefix, Qt::CaseInsensitive))
        label = portName.mid(kComPrefix.size());
    return { label, portName };
}
#else
QStringList candidatePorts()
{
    // The ports named by the user come first, so the first of them is the one selected.
    QStringList names;
    const QString extra = qEnvironmentVariable(kExtraPortsVariable);
    const QStringList extraPaths = extra.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &path : extraPaths) {
        if (!names.contains(path))
            names << path;
    }
    const auto reported = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : reported) {
        const QString path = info.systemLocation();
        if (!names.contains(path))
            names << path;
    }
    return names;
}

PortEntry entryFor(const QString &portName)
{
    return { portName, portName };
}
#endif

bool probe(const QString &portName)
{
    return access(portName) == Access::Usable;
}

Access access(const QString &portName)
{
    if (!PortDiagnosis::holders(portName, PortSystem::live()).isEmpty())
        return Access::Held;
#ifndef Q_OS_WIN
    // Asked of the system rather than read from a failed open: the port reports a device locked by another
    // program as a permission error too, and that is no matter of group membership.
    if (::access(QFile::encodeName(portName).constData(), R_OK | W_OK) != 0 && errno == EACCES)
        return Access::PermissionDenied;
#endif
    QSerialPort port;
    if (!QtSerialLink::openWithLinkSettings(port, portName))
        return Access::Unusable;
    port.close();
    return Access::Usable;
}

QList<PortEntry> listedPorts(const std::function<Access(const QString &)> &accessFn)
{
    QList<PortEntry> ports;
    const QStringList candidates = candidatePorts();
    for (const QString &name : candidates) {
#ifndef Q_OS_WIN
        // A device path named in the environment may come and go (a simulator's link, an adapter).
        if (!QFileInfo::exists(name))
            continue;
#endif
        const Access result = accessFn(name);
        if (result == Access::Unusable)
            continue;
        PortEntry entry = entryFor(name);
        entry.permissionDenied = result == Access::PermissionDenied;
        entry.held = result == Access::Held;
        ports << entry;
    }
    return ports;
}

namespace {

// Where the adapter of a tty device is plugged in: the last USB port chain ("1-1.2") on its way in sysfs.
QString usbLocation(const QString &portName)
{
#ifdef Q_OS_LINUX
    const QString device = QFileInfo(QFileInfo(portName).canonicalFilePath()).fileName();
    if (device.isEmpty())
        return QString();
    const QString path
        = QFileInfo(QStringLiteral("/sys/class/tty/%1/device").arg(device)).canonicalFilePath();
    static const QRegularExpression chain(QStringLiteral("^\\d+-\\d+(\\.\\d+)*$"));
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (auto part = parts.crbegin(); part != parts.crend(); ++part) {
        if (chain.match(*part).hasMatch())
            return *part;
    }
#else
    Q_UNUSED(portName);
#endif
    return QString();
}

} // namespace

std::function<QString()> follow(const QString &portName)
{
    const QSerialPortInfo info(portName);
    const QString serial = info.serialNumber();
    const QString location = usbLocation(portName);
    return [portName, serial, location]() -> QString {
        if (QFileInfo::exists(portName))
            return portName;
        if (serial.isEmpty() && location.isEmpty())
            return QString();
        const auto reported = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo &port : reported) {
            if ((!serial.isEmpty() && port.serialNumber() == serial)
                || (!location.isEmpty() && usbLocation(port.systemLocation()) == location))
                return port.systemLocation();
        }
        return QString();
    };
}

QList<PortEntry> usablePorts(const std::function<bool(const QString &)> &probeFn)
{
    QList<PortEntry> ports;
    const QStringList candidates = candidatePorts();
    for (const QString &name : candidates) {
        if (probeFn(name))
            ports << entryFor(name);
    }
    return ports;
}

} // namespace PortCatalog
