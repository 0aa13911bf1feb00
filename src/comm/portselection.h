#pragma once

#include "comm/portcatalog.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

class QComboBox;
class SerialLink;

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
    // The selected port is listed as one the user may not open.
    bool selectedPortRefused() const;
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

signals:
    // The entries changed: the window may have to make room for them.
    void listRebuilt();

private:
    PortCatalog::Access askPort(const QString &portName);
    void showPorts(const QList<PortEntry> &ports);

    QComboBox *m_list = nullptr;
    SerialLink *m_link = nullptr;
    Discover m_discover;
    AccessCheck m_accessCheck;
    QTimer m_refresh;
    // What the ports listed last answered, so a refresh opens only ports it has not seen before.
    QHash<QString, PortCatalog::Access> m_portAccess;
    QHash<QString, PortCatalog::Access> m_portsAsked;
    QString m_portInUse;
};
