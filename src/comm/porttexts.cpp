#include "comm/porttexts.h"

#include "comm/frm8texts.h"
#include "l10n/runtimelanguage.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString noteHeader()
{
    return textForLanguage(
               { QStringLiteral("Hinweis:"), QStringLiteral("Note:"), QStringLiteral("Remarque:") })
        + kCrLf;
}

QString holderName(const PortDiagnosis::Holder &holder)
{
    const QString process = textForLanguage(
        { QStringLiteral("Prozess %1"), QStringLiteral("process %1"), QStringLiteral("processus %1") })
                                .arg(holder.pid);
    return holder.name.isEmpty() ? process : QStringLiteral("%1 (%2)").arg(holder.name, process);
}

QString noPermissionLine(const QString &port)
{
    return textForLanguage({ QStringLiteral("Keine Berechtigung für den Port %1 !"),
                               QStringLiteral("No permission to open port %1 !"),
                               QStringLiteral("Pas d'autorisation pour le port %1 !") })
               .arg(port)
        + kCrLf + kCrLf;
}

} // namespace

namespace PortText {

QString heldBy(const QString &port, const QList<PortDiagnosis::Holder> &holders)
{
    QStringList names;
    for (const PortDiagnosis::Holder &holder : holders)
        names << holderName(holder);
    return Frm8Text::errorHeader()
        + textForLanguage(
            { QStringLiteral("Der Port %1 wird von einem anderen Programm benutzt: %2 !\r\n\r\n"
                             "Zwei Programme an einer Leitung verfälschen sich gegenseitig die "
                             "Daten. Es wurde nichts gesendet. Beenden Sie das andere Programm "
                             "und versuchen Sie es erneut."),
                QStringLiteral("Port %1 is in use by another program: %2 !\r\n\r\n"
                               "Two programs on one line corrupt each other's data. Nothing was sent. "
                               "Close the other program and try again."),
                QStringLiteral("Le port %1 est utilisé par un autre programme : %2 !\r\n\r\n"
                               "Deux programmes sur une même ligne faussent mutuellement leurs données. "
                               "Rien n'a été envoyé. Fermez l'autre programme et réessayez.") })
              .arg(port, names.join(QStringLiteral(", ")))
        + kCrLf;
}

QString heldLabel(const QString &port)
{
    return textForLanguage(
        { QStringLiteral("%1 (belegt)"), QStringLiteral("%1 (in use)"), QStringLiteral("%1 (occupé)") })
        .arg(port);
}

QString permissionDenied(const QString &port, const PortDiagnosis::Permission &why)
{
    using M = PortDiagnosis::Permission::Membership;
    const QString mode = QStringLiteral("%1").arg(why.mode, 4, 8, QLatin1Char('0'));
    QString reason;
    switch (why.membership) {
    case M::NotMember:
        reason = textForLanguage(
            { QStringLiteral(
                  "Das Gerät gehört der Gruppe \"%1\"; der Benutzer %2 ist nicht in dieser Gruppe.\r\n"
                  "Abhilfe: sudo adduser %2 %1, dann ab- und wieder anmelden."),
                QStringLiteral("The device belongs to the group \"%1\"; the user %2 is not in it.\r\n"
                               "Remedy: sudo adduser %2 %1, then log out and in again."),
                QStringLiteral(
                    "Le périphérique appartient au groupe \"%1\" ; l'utilisateur %2 n'en fait pas "
                    "partie.\r\nRemède : sudo adduser %2 %1, puis se déconnecter et se reconnecter.") });
        break;
    case M::NotLoggedInAgain:
        reason = textForLanguage(
            { QStringLiteral("Das Gerät gehört der Gruppe \"%1\". Der Benutzer %2 wurde in die Gruppe "
                             "aufgenommen, hat sich seitdem aber nicht neu angemeldet.\r\n"
                             "Abhilfe: ab- und wieder anmelden."),
                QStringLiteral("The device belongs to the group \"%1\". The user %2 was added to it, but has "
                               "not logged in again since.\r\nRemedy: log out and in again."),
                QStringLiteral(
                    "Le périphérique appartient au groupe \"%1\". L'utilisateur %2 y a été ajouté, "
                    "mais ne s'est pas reconnecté depuis.\r\n"
                    "Remède : se déconnecter et se reconnecter.") });
        break;
    case M::Closed:
        reason = textForLanguage(
            { QStringLiteral("Das Gerät (Besitzer %3, Gruppe \"%1\", Rechte %4) lässt den Benutzer %2 "
                             "weder lesen noch schreiben."),
                QStringLiteral("The device (owner %3, group \"%1\", mode %4) lets the user %2 neither read "
                               "nor write."),
                QStringLiteral("Le périphérique (propriétaire %3, groupe \"%1\", droits %4) ne permet à "
                               "l'utilisateur %2 ni de lire ni d'écrire.") });
        reason = reason.arg(why.group, why.user, why.owner, mode);
        return Frm8Text::errorHeader() + noPermissionLine(port) + reason + kCrLf;
    }
    return Frm8Text::errorHeader() + noPermissionLine(port) + reason.arg(why.group, why.user) + kCrLf;
}

QString claimedByBrltty(const QString &port, const QString &vendorId, const QString &productId)
{
    return noteHeader()
        + textForLanguage(
            { QStringLiteral(
                  "Der Port %1 ist gleich nach dem Einstecken wieder verschwunden. brltty ist "
                  "installiert und hat eine Regel für diesen Adapter (%2:%3): es übernimmt ihn als "
                  "Braillezeile.\r\nOhne Braillezeile: sudo apt remove brltty, dann den Adapter neu "
                  "einstecken."),
                QStringLiteral("Port %1 vanished right after it appeared. brltty is installed and has a rule "
                               "for this adapter (%2:%3): it takes the adapter for a braille display.\r\n"
                               "Without a braille display: sudo apt remove brltty, then plug the adapter in "
                               "again."),
                QStringLiteral(
                    "Le port %1 a disparu juste après son apparition. brltty est installé et a une "
                    "règle pour cet adaptateur (%2:%3) : il le prend pour un afficheur braille.\r\n"
                    "Sans afficheur braille : sudo apt remove brltty, puis rebrancher l'adaptateur.") })
              .arg(port, vendorId, productId)
        + kCrLf;
}

QString adapterClaimedByBrltty(const QString &location, const QString &vendorId, const QString &productId)
{
    return noteHeader()
        + textForLanguage(
            { QStringLiteral(
                  "Der USB-Adapter %2:%3 (USB %1) ist eingesteckt, hat aber keinen seriellen Port. "
                  "brltty ist installiert und hat eine Regel für diesen Adapter: es übernimmt ihn als "
                  "Braillezeile.\r\nOhne Braillezeile: sudo apt remove brltty, dann den Adapter neu "
                  "einstecken."),
                QStringLiteral(
                    "The USB adapter %2:%3 (USB %1) is plugged in but has no serial port. brltty is "
                    "installed and has a rule for this adapter: it takes the adapter for a braille "
                    "display.\r\nWithout a braille display: sudo apt remove brltty, then plug the "
                    "adapter in again."),
                QStringLiteral(
                    "L'adaptateur USB %2:%3 (USB %1) est branché mais n'a pas de port série. brltty est "
                    "installé et a une règle pour cet adaptateur : il le prend pour un afficheur "
                    "braille.\r\nSans afficheur braille : sudo apt remove brltty, puis rebrancher "
                    "l'adaptateur.") })
              .arg(location, vendorId, productId)
        + kCrLf;
}

QString modemManagerProbes(const QString &port, const QString &vendorId, const QString &productId)
{
    const QString rule = vendorId.isEmpty() || productId.isEmpty()
        ? QStringLiteral("ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
        : QStringLiteral("ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
              .arg(vendorId, productId);
    return noteHeader()
        + textForLanguage(
            { QStringLiteral(
                  "ModemManager läuft und prüft neue Ports einige Sekunden lang; so lange kann der "
                  "Port %1 belegt sein. Dauerhaft fernhalten mit einer udev-Regel in "
                  "/etc/udev/rules.d:\r\n%2"),
                QStringLiteral(
                    "ModemManager is running and probes new ports for several seconds; port %1 may "
                    "be busy meanwhile. To keep it away for good, a udev rule in "
                    "/etc/udev/rules.d:\r\n%2"),
                QStringLiteral(
                    "ModemManager est actif et sonde les nouveaux ports pendant quelques secondes ; "
                    "le port %1 peut être occupé pendant ce temps. Pour l'écarter durablement, une "
                    "règle udev dans /etc/udev/rules.d :\r\n%2") })
              .arg(port, rule)
        + kCrLf;
}

QString problem(
    const QString &label, const QString &portName, PortCatalog::Access access, const PortSystem &system)
{
    if (portName.isEmpty())
        return Frm8Text::portUnavailable(label);
    const QList<PortDiagnosis::Holder> holders = PortDiagnosis::holders(portName, system);
    if (!holders.isEmpty())
        return heldBy(label, holders);
    if (const std::optional<PortDiagnosis::Permission> why = PortDiagnosis::permission(portName, system))
        return permissionDenied(label, *why);
    if (access == PortCatalog::Access::PermissionDenied)
        return Frm8Text::portPermissionDenied(label);
    return Frm8Text::portUnavailable(label);
}

} // namespace PortText
