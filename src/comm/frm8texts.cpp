#include "comm/frm8texts.h"

#include "core/parameterrecord.h"
#include "l10n/runtimelanguage.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString errorHeader()
{
    return textForLanguage({ QStringLiteral("FEHLER:"), QStringLiteral("ERROR:"), QStringLiteral("ERREUR:") })
        + kCrLf;
}

QString incompleteAdvice()
{
    return textForLanguage({ QStringLiteral("Die Daten wurden nicht vollständig übertragen !\r\n\r\n"
                                            "GSM- Modul ausschalten und Daten neu senden !\r\n"),
        QStringLiteral("Data not sent complete !\r\n\r\n"
                       "Switch module off and send data again !\r\n"),
        QStringLiteral("Toutes les données n’ont pas été transmises !\r\n\r\n"
                       "éteindre le module GSM et envoyer à nouveau !\r\n") });
}

QString portLine(const QString &port)
{
    return textForLanguage({ QStringLiteral("COM- Port %1 nicht verfügbar !"),
                               QStringLiteral("COM- Port %1 not available !"),
                               QStringLiteral("Port COM %1 non disponible !") })
               .arg(port)
        + kCrLf;
}

} // namespace

namespace Frm8Text {

QString errorHeader()
{
    return ::errorHeader();
}

QString searching(Function function)
{
    QString title;
    switch (function) {
    case Function::Upload:
        title = textForLanguage(
            { QStringLiteral("SENDEN"), QStringLiteral("SEND"), QStringLiteral("ENVOYER") });
        break;
    case Function::Status:
        title
            = textForLanguage({ QStringLiteral("STATUS"), QStringLiteral("STATUS"), QStringLiteral("éTAT") });
        break;
    case Function::Sms:
        title = textForLanguage(
            { QStringLiteral("SMS-Dienst"), QStringLiteral("SMS-Service"), QStringLiteral("SERVICE SMS") });
        break;
    }
    return title + kCrLf
        + textForLanguage({ QStringLiteral("Modul wird gesucht..."), QStringLiteral("Looking for module..."),
            QStringLiteral("Recherche du module...") })
        + QLatin1Char('-');
}

QString noPort()
{
    return errorHeader()
        + textForLanguage({ QStringLiteral("Kein COM- Port verfügbar !"),
            QStringLiteral("No COM- Port available !"), QStringLiteral("Pas de port COM disponible !") })
        + kCrLf;
}

QString noAnswer()
{
    return errorHeader()
        + textForLanguage({ QStringLiteral("Keine Antwort vom Modul erhalten !"),
            QStringLiteral("No response from module !"), QStringLiteral("Pas de réponse du module !") })
        + kCrLf;
}

QString portUnavailable(const QString &port)
{
    return errorHeader() + portLine(port);
}

QString portLostDuringTransfer(const QString &port)
{
    return errorHeader() + portLine(port) + incompleteAdvice();
}

QString wrongVersion()
{
    return errorHeader()
        + textForLanguage({ QStringLiteral("Falsche Version !"), QStringLiteral("Wrong version !"),
            QStringLiteral("Mauvaise version !") })
        + kCrLf;
}

QString transferring()
{
    return textForLanguage({ QStringLiteral("Die Daten werden zum Modul übertragen."),
               QStringLiteral("Sending data to module."), QStringLiteral("Données transmises au module.") })
        + kCrLf + kCrLf;
}

QString uploadDone()
{
    return textForLanguage(
        { QStringLiteral("Alle Daten wurden übermittelt ! Das Modul macht jetzt einen Neustart.\r\n"
                         "\r\nUnter STATUS können Sie die Meldungen überwachen."),
            QStringLiteral("All data transferred ! Module restarts now.\r\n"
                           "\r\nAt STATUS you can see all messages."),
            QStringLiteral("Toutes les données ont été transmises ! Le module va redémarrer.\r\n"
                           "\r\nVous pouvez vérifier les messages sous ETAT.") });
}

QString incompleteTransfer()
{
    return errorHeader() + incompleteAdvice();
}

QString wrongRecordLength(int length)
{
    return errorHeader()
        + textForLanguage({ QStringLiteral("Der Parametersatz hat %1 statt %2 Zeichen !\r\n"
                                           "Es wurden keine Daten gesendet.\r\n"),
                              QStringLiteral("Parameter record has %1 instead of %2 characters !\r\n"
                                             "No data sent.\r\n"),
                              QStringLiteral("Le jeu de paramètres a %1 caractères au lieu de %2 !\r\n"
                                             "Aucune donnée transmise.\r\n") })
              .arg(length)
              .arg(kParameterRecordLength);
}

QString interruptedUploadTitle()
{
    return textForLanguage({ QStringLiteral("Kommunikation"), QStringLiteral("Communication"),
        QStringLiteral("Kommunikation") });
}

QString interruptedUploadText()
{
    return textForLanguage({ QStringLiteral("FEHLER:\r\nDaten wurden nicht vollständig übertragen !\r\n"
                                            "GSM- Modul ausschalten und Daten neu senden !"),
        QStringLiteral("ERROR: \r\nData not sent complete !\r\n"
                       "Switch module off and send data again !"),
        QStringLiteral("ERREUR:\r\nToutes les données n’ont pas été transmises !\r\n"
                       "éteindre le module GSM et envoyer à nouveau !") });
}

QString smsMissing()
{
    return errorHeader()
        + textForLanguage({ QStringLiteral("Keine Nachricht oder keine Telefonnummer gefunden !"),
            QStringLiteral("No message or no telephone number found !"),
            QStringLiteral("Information ou n° de téléphone manquant !") });
}

QString smsHandingOver()
{
    return textForLanguage({ QStringLiteral("Die SMS wird an das Modul gesendet."),
               QStringLiteral("SMS will be sent to the module."),
               QStringLiteral("SMS envoyé vers le module.") })
        + kCrLf + kCrLf;
}

QString smsSent()
{
    return textForLanguage({ QStringLiteral("Die SMS wurde gesendet !"),
               QStringLiteral("SMS has been sent !"), QStringLiteral("SMS transmis !") })
        + kCrLf + kCrLf;
}

QString smsNotSent()
{
    return errorHeader()
        + textForLanguage(
            { QStringLiteral("Die SMS konnte nicht gesendet werden !\r\n\r\nSenden Sie die SMS nochmal !"),
                QStringLiteral("Could not send SMS !\r\n\r\nSend SMS once more !"),
                QStringLiteral("SMS n’a pu être transmis !\r\n\r\nVeuillez renvoyer le SMS !") })
        + kCrLf;
}

QString smsSendCaption(int charactersLeft)
{
    const QString n = QString::number(charactersLeft);
    return textForLanguage({ QStringLiteral("SMS senden (") + n + QLatin1Char(')'),
        QStringLiteral("send SMS(") + n + QLatin1Char(')'),
        QStringLiteral("Envoyer SMS (") + n + QLatin1Char(')') });
}

} // namespace Frm8Text

namespace Frm8Text {

QString portPermissionDenied(const QString &port)
{
    return errorHeader()
        + textForLanguage(
            { QStringLiteral("Keine Berechtigung für den Port %1 !\r\n\r\n"
                             "Unter Debian: Benutzer in die Gruppe \"dialout\" aufnehmen "
                             "(sudo adduser $USER dialout), dann ab- und wieder anmelden."),
                QStringLiteral("No permission to open port %1 !\r\n\r\n"
                               "On Debian: add the user to the group \"dialout\" "
                               "(sudo adduser $USER dialout), then log out and in again."),
                QStringLiteral("Pas d'autorisation pour le port %1 !\r\n\r\n"
                               "Sous Debian : ajouter l'utilisateur au groupe \"dialout\" "
                               "(sudo adduser $USER dialout), puis se déconnecter et se reconnecter.") })
              .arg(port)
        + kCrLf;
}

QString noPermissionLabel(const QString &port)
{
    return textForLanguage({ QStringLiteral("%1 (keine Berechtigung)"), QStringLiteral("%1 (no permission)"),
                               QStringLiteral("%1 (pas d'autorisation)") })
        .arg(port);
}

} // namespace Frm8Text
