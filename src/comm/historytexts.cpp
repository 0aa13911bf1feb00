#include "comm/historytexts.h"

#include "comm/historymodel.h"
#include "l10n/runtimelanguage.h"


namespace {

// A text in every language, in the order of the language list.
template <typename... Texts>
QString inLanguage(const Texts &...texts)
{
    return textForLanguage({ texts... });
}

QString decimal(double value)
{
    // In the separator of the language the texts around it speak.
    QString text = QString::number(value, 'f', 1);
    text.replace(QLatin1Char('.'), runtimeLanguageInForce().decimalSeparator);
    return text;
}

} // namespace

namespace HistoryText {

QString windowTitle()
{
    return QStringLiteral("GSM - ") + inLanguage("Verlauf", "History", "Historique");
}

QString menuEntry()
{
    return inLanguage("Verlauf…", "History…", "Historique…");
}

QStringList headers()
{
    return { inLanguage("Zeit", "Time", "Heure"), inLanguage("Art", "Kind", "Type"), inLanguage("Text", "Text", "Texte"),
        inLanguage("Pegel", "Level", "Niveau"), QStringLiteral("dBm") };
}

QStringList kindNames()
{
    return { inLanguage("Status", "Status", "État"), inLanguage("Pegel", "Level", "Niveau"), inLanguage("Senden", "Upload", "Envoi"),
        QStringLiteral("SMS"), QStringLiteral("Port") };
}

QString filterPlaceholder()
{
    return inLanguage("Filter: nur Zeilen mit diesem Text", "Filter: only lines with this text",
        "Filtre : seulement les lignes avec ce texte");
}

QString copy()
{
    return inLanguage("Kopieren", "Copy", "Copier");
}

QString selectAll()
{
    return inLanguage("Alles markieren", "Select all", "Tout sélectionner");
}

QString saveAs()
{
    return inLanguage("Speichern unter…", "Save as…", "Enregistrer sous…");
}

QString csvFileFilter()
{
    return inLanguage("CSV-Dateien (*.csv);;Alle Dateien (*)", "CSV files (*.csv);;All files (*)",
        "Fichiers CSV (*.csv);;Tous les fichiers (*)");
}

QString saveFailed(const QString &path, const QString &reason)
{
    return inLanguage("Der Verlauf konnte nicht gespeichert werden !\n\n%1\n%2",
        "The history could not be saved !\n\n%1\n%2", "L'historique n'a pas pu être enregistré !\n\n%1\n%2")
        .arg(path, reason);
}

QString notAFile()
{
    return inLanguage("Das ist keine Datei.", "That is not a file.", "Ce n'est pas un fichier.");
}

QString lineCount(int shown, int total)
{
    if (shown == total)
        return inLanguage("%1 Zeilen", "%1 lines", "%1 lignes").arg(total);
    return inLanguage("%1 von %2 Zeilen", "%1 of %2 lines", "%1 lignes sur %2").arg(shown).arg(total);
}

QString dropped(qint64 count, int bound)
{
    return inLanguage("Die ältesten %1 Zeilen sind entfallen, die letzten %2 bleiben.",
        "The oldest %1 lines were dropped, the last %2 are kept.",
        "Les %1 lignes les plus anciennes ont été supprimées, les %2 dernières sont gardées.")
        .arg(count)
        .arg(bound);
}

QString progressSearching()
{
    return inLanguage("Modul wird gesucht…", "Looking for module…", "Recherche du module…");
}

QString progressBlock()
{
    return inLanguage("Block %v von %m", "block %v of %m", "bloc %v sur %m");
}

QString curveTimeAxis()
{
    return inLanguage("Zeit", "Time", "Heure");
}

QString curveLevelAxis()
{
    return inLanguage("Signal (dBm)", "Signal (dBm)", "Signal (dBm)");
}

QString lastMinute()
{
    return inLanguage("Letzte Minute:", "Last minute:", "Dernière minute :");
}

QString wholeRun()
{
    return inLanguage("Ganzer Lauf:", "Whole run:", "Toute la session :");
}

QString levelSummary(int min, double average, int max, int count)
{
    return inLanguage("min %1  Ø %2  max %3 dBm  (%4 Werte)", "min %1  avg %2  max %3 dBm  (%4 values)",
        "min %1  moy %2  max %3 dBm  (%4 valeurs)")
        .arg(min)
        .arg(decimal(average))
        .arg(max)
        .arg(count);
}

QString noLevels()
{
    return inLanguage("keine Werte", "no values", "aucune valeur");
}

QString searching(const QString &port)
{
    if (port.isEmpty())
        return inLanguage("Modul wird gesucht: kein COM- Port verfügbar", "Looking for module: no COM- Port available",
            "Recherche du module : pas de port COM disponible");
    return inLanguage("Modul wird gesucht an %1", "Looking for module on %1", "Recherche du module sur %1").arg(port);
}

QString moduleFound(const QString &command)
{
    return inLanguage("Modul gefunden (\"*\"), \"%1\" gesendet", "Module found (\"*\"), \"%1\" sent",
        "Module trouvé (\"*\"), \"%1\" envoyé")
        .arg(command);
}

QString versionAccepted(const QString &reply)
{
    return inLanguage("Antwort \"%1\": Version richtig", "Answer \"%1\": version accepted",
        "Réponse \"%1\" : version correcte")
        .arg(reply);
}

QString versionWrong(const QString &reply)
{
    return inLanguage("Antwort \"%1\" statt \"VP\": falsche Version", "Answer \"%1\" instead of \"VP\": wrong version",
        "Réponse \"%1\" au lieu de \"VP\" : mauvaise version")
        .arg(reply);
}

QString blockAcknowledged(int block, int blocks, const QString &reply)
{
    return inLanguage("Block %1 von %2 quittiert (\"%3\")", "Block %1 of %2 acknowledged (\"%3\")",
        "Bloc %1 sur %2 acquitté (\"%3\")")
        .arg(block)
        .arg(blocks)
        .arg(reply);
}

QString blockWrong(int block, int blocks, const QString &reply, const QString &expected)
{
    return inLanguage("Block %1 von %2: Antwort \"%3\" statt \"%4\"", "Block %1 of %2: answer \"%3\" instead of \"%4\"",
        "Bloc %1 sur %2 : réponse \"%3\" au lieu de \"%4\"")
        .arg(block)
        .arg(blocks)
        .arg(reply, expected);
}

QString uploadDone()
{
    return inLanguage("Alle Daten übertragen, das Modul startet neu", "All data transferred, the module restarts",
        "Toutes les données transmises, le module redémarre");
}

QString noAnnouncement()
{
    return inLanguage("Keine Antwort vom Modul: kein \"*\"", "No response from module: no \"*\"",
        "Pas de réponse du module : pas de \"*\"");
}

QString noReplyTo(const QString &command, int length)
{
    return inLanguage("Keine Antwort aus genau %2 Zeichen auf \"%1\"", "No answer of exactly %2 characters to \"%1\"",
        "Pas de réponse d'exactement %2 caractères à \"%1\"")
        .arg(command)
        .arg(length);
}

QString blockNotAcknowledged(int block)
{
    return inLanguage("Übertragung unvollständig: Block %1 nicht quittiert",
        "Transfer incomplete: block %1 not acknowledged", "Transfert incomplet : bloc %1 non acquitté")
        .arg(block);
}

QString portOpenFailed(const QString &port, const QString &error)
{
    QString text = inLanguage("Port %1 lässt sich nicht öffnen", "Port %1 cannot be opened",
        "Impossible d'ouvrir le port %1")
                       .arg(port);
    return error.isEmpty() ? text : text + QStringLiteral(": ") + error;
}

QString portLost(const QString &port)
{
    return inLanguage("Port %1 verloren", "Port %1 lost", "Port %1 perdu").arg(port);
}

QString portBack(const QString &port)
{
    return inLanguage("Port %1 wieder da, die Überwachung geht weiter", "Port %1 back, monitoring goes on",
        "Port %1 de retour, la surveillance continue").arg(port);
}

QString stoppedByLeaving()
{
    return inLanguage("Abgebrochen: die Seite wurde verlassen", "Stopped: the page was left",
        "Interrompu : la page a été quittée");
}

QString stoppedByPortChange()
{
    return inLanguage("Abgebrochen: ein anderer Port wurde gewählt", "Stopped: another port was chosen",
        "Interrompu : un autre port a été choisi");
}

QString smsAccepted(const QString &reply)
{
    return inLanguage("Antwort \"%1\": das Modul nimmt die SMS an", "Answer \"%1\": the module takes the SMS",
        "Réponse \"%1\" : le module accepte le SMS")
        .arg(reply);
}

QString smsAnnounceWrong(const QString &reply)
{
    return inLanguage("Antwort \"%1\" statt \"SMS\"", "Answer \"%1\" instead of \"SMS\"", "Réponse \"%1\" au lieu de \"SMS\"")
        .arg(reply);
}

QString smsHandedOver(const QString &number, const QString &text)
{
    return inLanguage("Nummer \"%1\" und Text \"%2\" übergeben", "Number \"%1\" and text \"%2\" handed over",
        "Numéro \"%1\" et texte \"%2\" transmis")
        .arg(number, text);
}

QString smsSent(const QString &reply)
{
    return inLanguage("Antwort \"%1\": SMS gesendet", "Answer \"%1\": SMS sent", "Réponse \"%1\" : SMS envoyé").arg(reply);
}

QString smsNotSent(const QString &reply)
{
    return inLanguage("Antwort \"%1\" statt \"SEND\": SMS nicht gesendet", "Answer \"%1\" instead of \"SEND\": SMS not sent",
        "Réponse \"%1\" au lieu de \"SEND\" : SMS non envoyé")
        .arg(reply);
}

QString level(int level)
{
    const QString dbm = HistoryModel::dbmText(level);
    if (!dbm.isEmpty())
        return inLanguage("Signal %1 dBm", "Signal %1 dBm", "Signal %1 dBm").arg(dbm);
    if (level == 99)
        return inLanguage("Signal unbekannt", "Signal unknown", "Signal inconnu");
    return inLanguage("Pegel %1 außerhalb der Skala", "Level %1 off the scale", "Niveau %1 hors échelle").arg(level);
}

} // namespace HistoryText
