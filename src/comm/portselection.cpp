#include "comm/portselection.h"

#include "comm/frm8texts.h"
#include "comm/seriallink.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>
#include <utility>

namespace {

constexpr int kPortLabelRole = Qt::UserRole + 1;
constexpr int kPermissionDeniedRole = Qt::UserRole + 2;

} // namespace

PortSelection::PortSelection(QComboBox *list, SerialLink *link, Discover discover, AccessCheck accessCheck,
    std::chrono::milliseconds refreshInterval, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_link(link)
    , m_discover(std::move(discover))
    , m_accessCheck(std::move(accessCheck))
{
    if (!m_accessCheck)
        m_accessCheck = PortCatalog::access;
    if (!m_discover) {
        m_discover = [this] {
            return PortCatalog::listedPorts([this](const QString &name) { return askPort(name); });
        };
    }
    m_refresh.setInterval(refreshInterval);
    connect(&m_refresh, &QTimer::timeout, this, [this] { refresh(false); });
}

QString PortSelection::selectedPortName() const
{
    return m_list->count() > 0 ? m_list->currentData().toString() : QString();
}

QString PortSelection::selectedPortLabel() const
{
    return m_list->count() > 0 ? m_list->currentData(kPortLabelRole).toString() : QString();
}

bool PortSelection::selectedPortRefused() const
{
    return m_list->currentData(kPermissionDeniedRole).toBool();
}

bool PortSelection::isEmpty() const
{
    return m_list->count() == 0;
}

QString PortSelection::portLabel(const QString &portName) const
{
    const int index = m_list->findData(portName);
    return index >= 0 ? m_list->itemData(index, kPortLabelRole).toString() : portName;
}

QString PortSelection::portProblemText(const QString &label) const
{
    const int index = m_list->findData(label, kPortLabelRole);
    const QString portName = index >= 0 ? m_list->itemData(index).toString() : label;
    if (!portName.isEmpty() && m_accessCheck(portName) == PortCatalog::Access::PermissionDenied)
        return Frm8Text::portPermissionDenied(label);
    return Frm8Text::portUnavailable(label);
}

PortCatalog::Access PortSelection::askPort(const QString &portName)
{
    // The port a function talks through is never opened a second time.
    if (m_link->isOpen() && portName == m_portInUse)
        return PortCatalog::Access::Usable;
    const auto known = m_portAccess.constFind(portName);
    const PortCatalog::Access access = known != m_portAccess.cend() ? *known : m_accessCheck(portName);
    m_portsAsked.insert(portName, access);
    return access;
}

void PortSelection::refresh(bool askAll)
{
    // Not under the user's hands: an open list would jump.
    if (m_list->view()->isVisible())
        return;
    if (askAll)
        m_portAccess.clear();
    m_portsAsked.clear();
    QList<PortEntry> ports = m_discover();
    // Ports that went away are asked again when they come back.
    m_portAccess = std::exchange(m_portsAsked, {});
    // The port a function is using stays listed until the function lets go of it.
    if (m_link->isOpen() && !m_portInUse.isEmpty()
        && std::none_of(
            ports.cbegin(), ports.cend(), [this](const PortEntry &p) { return p.portName == m_portInUse; }))
        ports.prepend(PortCatalog::entryFor(m_portInUse));
    showPorts(ports);
}

void PortSelection::watch(bool on)
{
    if (on)
        m_refresh.start();
    else
        m_refresh.stop();
}

void PortSelection::showPorts(const QList<PortEntry> &ports)
{
    const auto shownText = [](const PortEntry &port) {
        return port.permissionDenied ? Frm8Text::noPermissionLabel(port.label) : port.label;
    };
    bool same = m_list->count() == ports.size();
    for (int i = 0; same && i < ports.size(); ++i) {
        same = m_list->itemData(i).toString() == ports[i].portName
            && m_list->itemText(i) == shownText(ports[i]);
    }
    if (same)
        return;

    // Rebuilt quietly: a port list brought up to date is no choice of the user's, and a running function
    // must not hear of it. A selection still listed stays.
    const QString selected = selectedPortName();
    QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const PortEntry &port : ports) {
        m_list->addItem(shownText(port), port.portName);
        const int index = m_list->count() - 1;
        m_list->setItemData(index, port.label, kPortLabelRole);
        m_list->setItemData(index, port.permissionDenied, kPermissionDeniedRole);
    }
    const int index = m_list->findData(selected);
    m_list->setCurrentIndex(index >= 0 ? index : (m_list->count() > 0 ? 0 : -1));
    m_list->setToolTip(selectedPortLabel());
    emit listRebuilt();
}
