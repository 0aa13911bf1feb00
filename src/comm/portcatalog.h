#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// One usable serial port: what the port list shows and what the link opens.
struct PortEntry
{
    QString label; // Windows: the port number ("3"); elsewhere the device path
    QString portName; // what SerialLink::open() takes ("COM3", "/dev/ttyUSB0")
    // The port is there, but the user may not open it: listed, so the page can say what to do about it.
    bool permissionDenied = false;
    // Another program has the port open: listed so the page can say which, and never opened here.
    bool held = false;

    bool operator==(const PortEntry &) const = default;
};

// Finding the serial ports the module can be reached on. A port is usable when it opens with the link
// settings; it is closed again straight away.
namespace PortCatalog {

// Environment variable with further device paths to offer (colon-separated), for ports the system does
// not report by itself, such as pseudo-terminals.
inline constexpr char kExtraPortsVariable[] = "RM425T_EXTRA_PORTS";

// The ports worth trying, in list order. Windows: COM1 … COM15. Elsewhere: the paths of the environment
// variable in their order, then the ports the system reports, each path once.
QStringList candidatePorts();

// Opens and closes portName with the link settings; true when it opened.
bool probe(const QString &portName);

enum class Access { Usable, PermissionDenied, Held, Unusable };

// Like probe(), and says whether a port that did not open was refused for lack of permission. A port that
// another program holds is not opened at all: opening it would set its line under that program.
Access access(const QString &portName);

// The candidates that exist and pass the probe, and those the user may not open, in candidate order.
QList<PortEntry> listedPorts(const std::function<Access(const QString &)> &accessFn = access);

// The candidates that pass the probe, in candidate order.
QList<PortEntry> usablePorts(const std::function<bool(const QString &)> &probeFn = probe);

// The entry shown for a port name.
PortEntry entryFor(const QString &portName);

// How a device is found again after it went (an adapter pulled out and plugged back in): by its path when
// that is back, else as the port that reports the same USB serial number, or sits at the same USB location
// (bus and port chain). Taken while the device is there; the function gives where it is now, or empty.
std::function<QString()> follow(const QString &portName);

} // namespace PortCatalog
