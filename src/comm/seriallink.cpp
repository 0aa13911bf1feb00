#include "seriallink.h"

#include "portdiagnosis.h"

namespace {

// Two programs on one line garble each other's bytes: a port another program holds is left to it.
QString heldText(const QList<PortDiagnosis::Holder> &holders)
{
    QStringList names;
    for (const PortDiagnosis::Holder &holder : holders)
        names << QStringLiteral("%1 (%2)")
                     .arg(holder.name.isEmpty() ? QStringLiteral("?") : holder.name)
                     .arg(holder.pid);
    return QStringLiteral("The port is held by %1").arg(names.join(QStringLiteral(", ")));
}

} // namespace

QtSerialLink::QtSerialLink(QObject *parent)
    : SerialLink(parent)
    , m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &SerialLink::readyRead);
    // Queued: the port reports errors from inside its own read handling, which is no place to close it.
    connect(m_port, &QSerialPort::errorOccurred, this, &QtSerialLink::handleError, Qt::QueuedConnection);
}

QtSerialLink::~QtSerialLink()
{
    // Quietly: nobody should hear about a close that only happens because the link goes away.
    blockSignals(true);
    close();
}

bool QtSerialLink::openWithLinkSettings(QSerialPort &port, const QString &portName)
{
    port.setPortName(portName);
    port.setBaudRate(QSerialPort::Baud9600);
    port.setParity(QSerialPort::NoParity);
    port.setDataBits(QSerialPort::Data8);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return port.open(QIODevice::ReadWrite);
}

bool QtSerialLink::open(const QString &portName, QString *errorText)
{
    if (m_port->isOpen()) {
        if (errorText)
            *errorText = QStringLiteral("Port %1 is already open").arg(m_portName);
        return false;
    }
    // Kept as given: QSerialPort shortens a device path ("/dev/pts/3" becomes "pts/3").
    m_portName = portName;
    const PortSystem system = PortSystem::live();
    QList<PortDiagnosis::Holder> holders = PortDiagnosis::holders(portName, system);
    if (holders.isEmpty()) {
        if (!openWithLinkSettings(*m_port, portName)) {
            if (errorText)
                *errorText = m_port->errorString();
            return false;
        }
        // Another program may have opened it in the meantime; nothing has been written yet.
        holders = PortDiagnosis::holders(portName, system);
        if (holders.isEmpty())
            return true;
        m_port->close();
    }
    if (errorText)
        *errorText = heldText(holders);
    return false;
}

void QtSerialLink::close()
{
    if (!m_port->isOpen())
        return;
    m_port->close();
    emit closed();
}

bool QtSerialLink::isOpen() const
{
    return m_port->isOpen();
}

QString QtSerialLink::portName() const
{
    return m_portName;
}

qint64 QtSerialLink::bytesAvailable() const
{
    return m_port->isOpen() ? m_port->bytesAvailable() : 0;
}

QByteArray QtSerialLink::readOne()
{
    return m_port->isOpen() ? m_port->read(1) : QByteArray();
}

QByteArray QtSerialLink::readAll()
{
    return m_port->isOpen() ? m_port->readAll() : QByteArray();
}

void QtSerialLink::clearInput()
{
    // clear() drops both what the driver holds and what has already been buffered here.
    if (m_port->isOpen())
        m_port->clear(QSerialPort::Input);
}

bool QtSerialLink::write(const QByteArray &bytes)
{
    if (!m_port->isOpen())
        return false;
    return m_port->write(bytes) == bytes.size();
}

void QtSerialLink::handleError(QSerialPort::SerialPortError error)
{
    // A vanished device is reported as a resource error; a line whose other end hung up (a pseudo-terminal
    // whose master closed) as a read error that repeats for as long as the port stays open. Both leave
    // nothing to talk to. Other errors (a failed write, say) leave the port open, and the waits run into
    // their limits as with a silent module.
    const bool gone = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    if (!gone || !m_port->isOpen())
        return;
    m_port->close();
    emit lost();
    emit closed();
}
