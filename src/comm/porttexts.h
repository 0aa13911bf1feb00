#pragma once

#include "comm/portcatalog.h"
#include "comm/portdiagnosis.h"

#include <QList>
#include <QString>

// What the communication page and the commands say about a port that cannot be used, in the language in
// force, from what the system shows (PortDiagnosis). Error texts start with the line "FEHLER:" / "ERROR:" /
// "ERREUR:", notes with "Hinweis:" / "Note:" / "Remarque:".
namespace PortText {

// Other programs have the port open: named with their process ids; nothing is sent.
QString heldBy(const QString &port, const QList<PortDiagnosis::Holder> &holders);
// How the port list shows a port another program holds.
QString heldLabel(const QString &port);

// The user may not open the port, and why, as measured.
QString permissionDenied(const QString &port, const PortDiagnosis::Permission &why);

// The port vanished right after it appeared, and brltty has a rule for the adapter.
QString claimedByBrltty(const QString &port, const QString &vendorId, const QString &productId);
// A USB adapter without a serial port at location, and brltty has a rule for it.
QString adapterClaimedByBrltty(const QString &location, const QString &vendorId, const QString &productId);
// ModemManager runs while a new port appeared; vendor and product (when known) go into the udev rule.
QString modemManagerProbes(const QString &port, const QString &vendorId, const QString &productId);

// Why the port (as labelled) cannot be used, as this system shows it now: another program holds it, or
// the user may not open it (with the reason where it can be measured, else as access says); else that it
// is not available.
QString problem(const QString &label, const QString &portName, PortCatalog::Access access,
    const PortSystem &system = PortSystem::live());

} // namespace PortText
