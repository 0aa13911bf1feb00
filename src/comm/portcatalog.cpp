#include "portcatalog.h"

#include "seriallink.h"

#include <QSerialPort>
#include <QSerialPortInfo>

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
    QSerialPort port;
    const bool opened = QtSerialLink::openWithLinkSettings(port, portName);
    if (port.isOpen())
        port.close();
    return opened;
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
