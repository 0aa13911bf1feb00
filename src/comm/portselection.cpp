#include "comm/portselection.h"

#include "comm/frm8texts.h"
#include "comm/porttexts.h"
#include "comm/seriallink.h"

#include <QAbstractItemView>
#include <QSerialPortInfo>
#include <QStyle>
#include <QStylePainter>

#include <algorithm>
#include <utility>

namespace {

constexpr int kPortLabelRole = Qt::UserRole + 1;
constexpr int kPermissionDeniedRole = Qt::UserRole + 2;
constexpr int kHeldRole = Qt::UserRole + 3;
// A port gone this soon after it appeared was taken away from us, not pulled out by the user.
constexpr qint64 kVanishedRightAfterMs = 10000;

std::pair<QString, QString> systemUsbIds(const QString &portName)
{
    const QSerialPortInfo info(portName);
    if (!info.hasVendorIdentifier() || !info.hasProductIdentifier())
        return {};
    const auto hex = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
    return { hex(info.vendorIdentifier()), hex(info.productIdentifier()) };
}

} // namespace

void PortComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect text
        = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The mark after the path ("(no permission)", "(in use)") is what the user must read: the path gives
    // way first.
    const QString label = currentData(kPortLabelRole).toString();
    const QString mark = !label.isEmpty() && option.currentText.startsWith(label)
        ? option.currentText.mid(label.size())
        : QString();
    const int roomForPath = text.width() - fontMetrics().horizontalAdvance(mark);
    if (!mark.isEmpty() && roomForPath >= fontMetrics().horizontalAdvance(QStringLiteral("…"))) {
        const QString path = fontMetrics().elidedText(label, Qt::ElideMiddle, roomForPath);
        option.currentText = (path.isEmpty() ? QStringLiteral("…") : path) + mark;
    } else
        option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, text.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void PortComboBox::showPopup()
{
    // The open list is as wide as its longest entry needs, however narrow the box.
    view()->setTextElideMode(Qt::ElideNone);
    const int widest = view()->sizeHintForColumn(0) + 2 * view()->frameWidth()
        + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    view()->setMinimumWidth(qMax(width(), widest));
    QComboBox::showPopup();
}

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
    m_system = PortSystem::live();
    m_usbIds = systemUsbIds;
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
    return m_list->currentData(kPermissionDeniedRole).toBool() || m_list->currentData(kHeldRole).toBool();
}

QString PortSelection::selectedPortNote() const
{
    return selectedPortRefused() ? portProblemText(selectedPortLabel()) : QString();
}

void PortSelection::setSystem(PortSystem system, UsbIds usbIds)
{
    m_system = std::move(system);
    m_usbIds = std::move(usbIds);
}

void PortSelection::moveTo(const QString &portName)
{
    m_portInUse = portName;
    refresh(false);
    const int index = m_list->findData(portName);
    if (index >= 0 && index != m_list->currentIndex()) {
        QSignalBlocker quiet(m_list);
        m_list->setCurrentIndex(index);
        m_list->setToolTip(m_list->itemText(index));
    }
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
    if (portName.isEmpty())
        return Frm8Text::portUnavailable(label);
    return PortText::problem(label, portName, m_accessCheck(portName), m_system);
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
    noteArrivals(ports);
    // The port a function is using stays listed until the function lets go of it.
    if ((m_link->isOpen() || m_portAwaited) && !m_portInUse.isEmpty()
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

void PortSelection::noteArrivals(const QList<PortEntry> &ports)
{
    QHash<QString, Seen> seen;
    QStringList arrived;
    for (const PortEntry &port : ports) {
        if (const auto known = m_seen.constFind(port.portName); known != m_seen.cend()) {
            seen.insert(port.portName, *known);
            continue;
        }
        Seen entry;
        entry.appeared.start();
        std::tie(entry.vendorId, entry.productId) = m_usbIds(port.portName);
        seen.insert(port.portName, entry);
        arrived << port.portName;
    }
    for (auto gone = m_seen.cbegin(); gone != m_seen.cend(); ++gone) {
        if (!seen.contains(gone.key()) && gone->appeared.elapsed() < kVanishedRightAfterMs
            && PortDiagnosis::brlttyClaims(gone->vendorId, gone->productId, m_system))
            emit notice(PortText::claimedByBrltty(gone.key(), gone->vendorId, gone->productId));
    }
    // The ports there when the list is first built did not just appear.
    const bool firstLook = !std::exchange(m_seenOnce, true);
    m_seen = seen;
    if (firstLook)
        return;
    for (const QString &name : std::as_const(arrived)) {
        const Seen &entry = m_seen[name];
        if (!entry.vendorId.isEmpty() && PortDiagnosis::isRunning(QStringLiteral("ModemManager"), m_system)) {
            emit notice(PortText::modemManagerProbes(name, entry.vendorId, entry.productId));
            break;
        }
    }
}

void PortSelection::showPorts(const QList<PortEntry> &ports)
{
    const auto shownText = [](const PortEntry &port) {
        if (port.held)
            return PortText::heldLabel(port.label);
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
        m_list->setItemData(index, port.held, kHeldRole);
        m_list->setItemData(index, shownText(port), Qt::ToolTipRole);
    }
    const int index = m_list->findData(selected);
    m_list->setCurrentIndex(index >= 0 ? index : (m_list->count() > 0 ? 0 : -1));
    m_list->setToolTip(m_list->currentText());
    emit listRebuilt();
}
