#include "cli/clitexts.h"

#include "comm/signallevel.h"
#include "l10n/runtimelanguage.h"

namespace CliText {

QString signalLevel(int level)
{
    const QString text
        = textForLanguage({ QStringLiteral("Signalpegel: %1"), QStringLiteral("Signal level: %1"),
                              QStringLiteral("Niveau du signal : %1") })
              .arg(level);
    const std::optional<int> dbm = signalLevelDbm(level);
    return dbm ? text + QStringLiteral(" (%1 dBm)").arg(*dbm) : text;
}

QString waitingForPort(const QString &port)
{
    return textForLanguage({ QStringLiteral("Warte auf den Port %1 … (Strg+C beendet)"),
                               QStringLiteral("Waiting for port %1 … (Ctrl+C ends)"),
                               QStringLiteral("Attente du port %1 … (Ctrl+C termine)") })
        .arg(port);
}

QString portBack(const QString &port)
{
    return textForLanguage({ QStringLiteral("Der Port %1 ist wieder da; die Überwachung geht weiter."),
                               QStringLiteral("Port %1 is back; monitoring goes on."),
                               QStringLiteral("Le port %1 est de retour ; la surveillance continue.") })
        .arg(port);
}

QString cannotBeOpened(const QString &reason)
{
    return textForLanguage(
        { QStringLiteral("kann nicht geöffnet werden: %1"), QStringLiteral("cannot be opened: %1"),
            QStringLiteral("ne peut pas être ouvert : %1") })
        .arg(reason);
}

QString noUsablePort()
{
    return textForLanguage({ QStringLiteral("Kein COM- Port verfügbar !"),
        QStringLiteral("No COM- Port available !"), QStringLiteral("Pas de port COM disponible !") });
}

QString badCharacter(const QString &what, const QString &character)
{
    return textForLanguage({ QStringLiteral("%1: das Zeichen „%2“ kann nicht gesendet werden"),
                               QStringLiteral("%1: the character \"%2\" cannot be sent"),
                               QStringLiteral("%1 : le caractère « %2 » ne peut pas être envoyé") })
        .arg(what, character);
}

QString smsTooLong(int length, int limit)
{
    return textForLanguage({ QStringLiteral("--text: %1 Zeichen, höchstens %2 sind möglich"),
                               QStringLiteral("--text: %1 characters, at most %2 can be sent"),
                               QStringLiteral("--text : %1 caractères, %2 au plus peuvent être envoyés") })
        .arg(length)
        .arg(limit);
}

QString stopped()
{
    return textForLanguage({ QStringLiteral("Überwachung beendet."), QStringLiteral("Monitoring ended."),
        QStringLiteral("Surveillance terminée.") });
}

QString interrupted()
{
    return textForLanguage({ QStringLiteral("Abgebrochen, bevor das Modul antwortete."),
        QStringLiteral("Interrupted before the module answered."),
        QStringLiteral("Interrompu avant que le module ne réponde.") });
}

QString statusLogFile(const QString &path)
{
    return textForLanguage(
        { QStringLiteral("Meldungen werden an %1 angehängt."), QStringLiteral("Messages are appended to %1."),
            QStringLiteral("Les messages sont ajoutés à %1.") })
        .arg(path);
}

QString fileExists(const QString &path)
{
    return textForLanguage(
        { QStringLiteral("%1: die Datei gibt es schon; sie bleibt unverändert (--force ersetzt sie)."),
            QStringLiteral("%1: the file exists already and is left as it is (--force replaces it)."),
            QStringLiteral("%1 : le fichier existe déjà et reste inchangé (--force le remplace).") })
        .arg(path);
}

QString notAFile(const QString &path)
{
    return textForLanguage(
        { QStringLiteral("%1: das ist keine gewöhnliche Datei; es wird nichts geschrieben."),
            QStringLiteral("%1: this is not a regular file; nothing is written."),
            QStringLiteral("%1 : ce n'est pas un fichier ordinaire ; rien n'est écrit.") })
        .arg(path);
}

QString fileWritten(const QString &path)
{
    return textForLanguage({ QStringLiteral("%1 wurde mit den Grundeinstellungen geschrieben."),
                               QStringLiteral("%1 was written with the default values."),
                               QStringLiteral("%1 a été écrit avec les valeurs par défaut.") })
        .arg(path);
}

QString unknownUnit(const QString &unitsFile, const QString &unit)
{
    return textForLanguage({ QStringLiteral("%1: keine Einheit „%2“"), QStringLiteral("%1: no unit \"%2\""),
                               QStringLiteral("%1 : pas d'unité « %2 »") })
        .arg(unitsFile, unit);
}

QString unitNeedsOnePort(int ports)
{
    return textForLanguage({ QStringLiteral("--unit braucht genau ein --port, nicht %1"),
                               QStringLiteral("--unit takes exactly one --port, not %1"),
                               QStringLiteral("--unit demande exactement un --port, pas %1") })
        .arg(ports);
}

QString unitPortDiffers(int line, const QString &unit, const QString &rowPort, const QString &port)
{
    return textForLanguage({ QStringLiteral("Zeile %1: die Einheit „%2“ gehört an den Port %3, nicht an %4"),
                               QStringLiteral("line %1: unit \"%2\" is for port %3, not %4"),
                               QStringLiteral("ligne %1 : l'unité « %2 » est pour le port %3, pas %4") })
        .arg(line)
        .arg(unit, rowPort, port);
}

QString portNotGiven(int line, const QString &unit, const QString &port)
{
    return textForLanguage(
        { QStringLiteral("Zeile %1: die Einheit „%2“ nennt den Port %3, der unter --port fehlt"),
            QStringLiteral("line %1: unit \"%2\" names port %3, which is not among the --port options"),
            QStringLiteral("ligne %1 : l'unité « %2 » nomme le port %3, absent des options --port") })
        .arg(line)
        .arg(unit, port);
}

QString portNamedTwice(int line, int otherLine, const QString &port)
{
    return textForLanguage({ QStringLiteral("Zeile %1: der Port %3 ist schon in Zeile %2 genannt"),
                               QStringLiteral("line %1: port %3 is named in line %2 already"),
                               QStringLiteral("ligne %1 : le port %3 est déjà nommé à la ligne %2") })
        .arg(line)
        .arg(otherLine)
        .arg(port);
}

QString unitCountMismatch(int units, int ports)
{
    return textForLanguage(
        { QStringLiteral("%1 Einheiten für %2 Ports: je Einheit ein --port (oder --unit NAME für eine)"),
            QStringLiteral("%1 units for %2 ports: one --port per unit (or --unit NAME for one)"),
            QStringLiteral("%1 unités pour %2 ports : un --port par unité (ou --unit NOM pour une seule)") })
        .arg(units)
        .arg(ports);
}

QString unitRecordRefused(const QString &unit)
{
    return textForLanguage(
        { QStringLiteral("Der Datensatz der Einheit „%1“ kann nicht gesendet werden."),
            QStringLiteral("The record of unit \"%1\" cannot be sent."),
            QStringLiteral("L'enregistrement de l'unité « %1 » ne peut pas être envoyé.") })
        .arg(unit);
}

QString nothingSent()
{
    return textForLanguage({ QStringLiteral("Es wurde nichts gesendet."), QStringLiteral("Nothing was sent."),
        QStringLiteral("Rien n'a été envoyé.") });
}

} // namespace CliText
