#pragma once

#include "comm/portcatalog.h"
#include "comm/portdiagnosis.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

class SerialLink;

// The port list's box: a device path too long for the closed box loses its middle, not its end, so the
// mark after it ("(no permission)") stays readable; the open list shows every entry whole.
class PortComboBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The port list of the communication page: which ports it shows, which one is selected, and which one the
// link was last told to open. Ports are asked whether they open when they first appear, on every
// activation of the page, and after a port failed; the list follows adapters plugged in or pulled out
// while it is watched.
class PortSelection : public QObject
{
    Q_OBJECT

public:
    using Discover = std::function<QList<PortEntry>()>;
    using AccessCheck = std::function<PortCatalog::Access(const QString &)>;

    // An empty discover lists the system's ports, asking each one through this selection; an empty
    // accessCheck opens the port to find out.
    PortSelection(QComboBox *list, SerialLink *link, Discover discover, AccessCheck accessCheck,
        std::chrono::milliseconds refreshInterval, QObject *parent = nullptr);

    // The selected port: its name for the link and its label as listed; empty when none is listed.
    QString selectedPortName() const;
    QString selectedPortLabel() const;
    // The selected port is listed as one the user may not open, or one another program holds.
    bool selectedPortRefused() const;
    // The reason the selected port cannot be used, for the message area; empty when it is usable.
    QString selectedPortNote() const;
    bool isEmpty() const;
    // The label the list shows for a port name (the name itself when it is not listed).
    QString portLabel(const QString &portName) const;
    // What a failed open of the listed port (by its label) tells the user: no permission, or not available.
    QString portProblemText(const QString &label) const;

    // The port the link was last told to open, as listed (the link may spell it its own way). Only a run
    // starting and the user's switching to another port change it.
    QString portInUse() const { return m_portInUse; }
    void setPortInUse(const QString &portName) { m_portInUse = portName; }

    // Brings the list up to date; askAll asks again of ports whose answer is known.
    void refresh(bool askAll);
    // While watched, the list is refreshed every refreshInterval.
    void watch(bool on);

    // A run waits for the port in use to come back: it stays listed, and chosen, meanwhile.
    void setPortAwaited(bool awaited) { m_portAwaited = awaited; }
    // The port in use came back under another name (the same adapter on another device path).
    void moveTo(const QString &portName);

    // The system the notes about new and vanished adapters are measured on, and how an adapter's USB
    // vendor and product are found (both replaceable for tests).
    using UsbIds = std::function<std::pair<QString, QString>(const QString &portName)>;
    void setSystem(PortSystem system, UsbIds usbIds);

signals:
    // The entries changed: the window may have to make room for them.
    void listRebuilt();
    // Something the user should know about ports that came or went (a service that grabs adapters).
    void notice(const QString &text);

private:
    PortCatalog::Access askPort(const QString &portName);
    void showPorts(const QList<PortEntry> &ports);
    void noteArrivals(const QList<PortEntry> &ports);

    QComboBox *m_list = nullptr;
    SerialLink *m_link = nullptr;
    Discover m_discover;
    AccessCheck m_accessCheck;
    QTimer m_refresh;
    // What the ports listed last answered, so a refresh opens only ports it has not seen before.
    QHash<QString, PortCatalog::Access> m_portAccess;
    QHash<QString, PortCatalog::Access> m_portsAsked;
    QString m_portInUse;
    bool m_portAwaited = false;

    // Ports seen at the last refresh, with when they appeared and their adapter's vendor and product.
    struct Seen
    {
        QElapsedTimer appeared;
        QString vendorId;
        QString productId;
    };
    QHash<QString, Seen> m_seen;
    bool m_seenOnce = false;
    PortSystem m_system;
    UsbIds m_usbIds;
};
