#include "shell/settingstexts.h"

#include "core/filekind.h"
#include "l10n/runtimelanguage.h"

#include <QDir>

namespace {

QString problemReason(SettingsFileProblem problem)
{
    switch (problem) {
    case SettingsFileProblem::Missing:
        return textForLanguage({ QStringLiteral("Die Datei wurde nicht gefunden."),
            QStringLiteral("The file was not found."), QStringLiteral("Le fichier est introuvable.") });
    case SettingsFileProblem::Unreadable:
        return textForLanguage({ QStringLiteral("Die Datei kann nicht gelesen werden."),
            QStringLiteral("The file cannot be read."), QStringLiteral("Le fichier ne peut pas être lu.") });
    case SettingsFileProblem::TooLarge:
        return textForLanguage(
            { QStringLiteral("Die Datei ist größer als 1 MB; so groß ist keine Einstellungsdatei."),
                QStringLiteral("The file is larger than 1 MB; no settings file is that large."),
                QStringLiteral("Le fichier dépasse 1 Mo ; aucun fichier de réglages n'est aussi grand.") });
    case SettingsFileProblem::NotText:
        return textForLanguage(
            { QStringLiteral("Die Datei enthält Binärdaten; sie ist keine Einstellungsdatei."),
                QStringLiteral("The file holds binary data; it is not a settings file."),
                QStringLiteral(
                    "Le fichier contient des données binaires ; ce n'est pas un fichier de réglages.") });
    case SettingsFileProblem::NoKnownSection:
        return textForLanguage(
            { QStringLiteral(
                  "Die Datei enthält keinen Abschnitt einer Seite ([frm1] … [frm9]); sie ist keine "
                  "Einstellungsdatei."),
                QStringLiteral(
                    "The file has no section of any page ([frm1] … [frm9]); it is not a settings file."),
                QStringLiteral(
                    "Le fichier ne contient aucune section de page ([frm1] … [frm9]) ; ce n'est pas "
                    "un fichier de réglages.") });
    case SettingsFileProblem::NotAFile:
        return textForLanguage(
            { QStringLiteral(
                  "Das ist keine gewöhnliche Datei (ein Gerät, eine Schnittstelle, eine FIFO oder ein "
                  "Ordner); sie wird weder gelesen noch beschrieben."),
                QStringLiteral(
                    "This is not a regular file (a device, a port, a FIFO or a folder); it is neither read "
                    "nor written."),
                QStringLiteral(
                    "Ce n'est pas un fichier ordinaire (un périphérique, un port, une FIFO ou un dossier) ; "
                    "il n'est ni lu ni écrit.") });
    case SettingsFileProblem::None:
        break;
    }
    return {};
}

} // namespace

QString settingsProblemText(SettingsFileProblem problem)
{
    return problemReason(problem);
}

SettingsFileRead readConfigurationFile(const QString &path)
{
    return readSettingsFile(path, SettingsFileUse::Chosen);
}




QString configurationRefusedText(SettingsFileProblem problem, const QString &path)
{
    return textForLanguage(
        { QStringLiteral("„%1“ wurde nicht geöffnet.\n\n%2\n\nDie Seiten sind unverändert."),
            QStringLiteral("\"%1\" was not opened.\n\n%2\n\nThe pages are unchanged."),
            QStringLiteral("« %1 » n'a pas été ouvert.\n\n%2\n\nLes pages restent inchangées.") })
        .arg(QDir::toNativeSeparators(path), problemReason(problem));
}

QString settingsFileNotLoadedText(SettingsFileProblem problem, const QString &path)
{
    // What stands there is never written either: a save only succeeds once it is a file again, or gone.
    const QString until = problem == SettingsFileProblem::NotAFile
        ? textForLanguage(
            { QStringLiteral(
                  "Gespeichert werden kann erst, wenn dort eine gewöhnliche Datei oder nichts steht."),
                QStringLiteral("Saving works once a regular file or nothing stands there."),
                QStringLiteral(
                    "L'enregistrement n'est possible que lorsqu'il s'y trouve un fichier ordinaire ou "
                    "plus rien.") })
        : textForLanguage({ QStringLiteral("Die Datei bleibt unverändert, bis Sie speichern."),
            QStringLiteral("The file stays as it is until you save."),
            QStringLiteral("Le fichier reste inchangé jusqu'à ce que vous enregistriez.") });
    return textForLanguage(
        { QStringLiteral(
              "Die Einstellungsdatei „%1“ wurde nicht geladen.\n\n%2\n\nDas Programm beginnt mit den "
              "Grundeinstellungen. %3"),
            QStringLiteral(
                "The settings file \"%1\" was not loaded.\n\n%2\n\nThe program starts with the default "
                "values. %3"),
            QStringLiteral(
                "Le fichier de réglages « %1 » n'a pas été chargé.\n\n%2\n\nLe programme démarre avec "
                "les valeurs par défaut. %3") })
        .arg(QDir::toNativeSeparators(path), problemReason(problem), until);
}

QString refusedTargetReason(const QString &path)
{
    if (isFileOrMissing(path))
        return {};
    return QStringLiteral("%1: %2").arg(
        QDir::toNativeSeparators(path), problemReason(SettingsFileProblem::NotAFile));
}

QString saveFailedText(const QString &reason)
{
    return textForLanguage({ QStringLiteral("Die Konfiguration konnte nicht gespeichert werden !\n\n%1"),
                               QStringLiteral("The configuration could not be saved !\n\n%1"),
                               QStringLiteral("La configuration n'a pas pu être enregistrée !\n\n%1") })
        .arg(reason);
}
