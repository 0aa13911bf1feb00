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

} // namespace CliText
