#include "shell/seriestexts.h"

#include "l10n/captiontable.h"
#include "l10n/runtimelanguage.h"

#include <QDir>

namespace {

template<typename... Texts> QString inLanguage(const Texts &...texts)
{
    return textForLanguage({ texts... });
}

} // namespace

namespace SeriesText {

QString caption(const QString &window, const QString &control, int index)
{
    const int code = runtimeLanguageInForce().code;
    for (const CaptionEntry &entry : captionTable()) {
        if (entry.property == CaptionProperty::Caption && entry.index == index && entry.window == window
            && entry.control == control)
            return entry.text(code).trimmed();
    }
    return {};
}

QString pageName(const QString &section)
{
    // The pages are named as the start window's menu names them: "frmN" is button N.
    if (section.startsWith(QLatin1String("frm"))) {
        bool number = false;
        const int page = section.mid(3).toInt(&number);
        if (number) {
            const QString name = caption(QStringLiteral("frmStart"), QStringLiteral("Check"), page);
            if (!name.isEmpty())
                return name;
        }
    }
    if (section == QLatin1String("-"))
        return inLanguage("(Füllzeichen)", "(filler)", "(remplissage)");
    return section;
}

QString menuEntry()
{
    return inLanguage("Serie…", "Series…", "Série…");
}

QString windowTitle()
{
    return QStringLiteral("GSM - ") + inLanguage("Serie", "Series", "Série");
}

QString openUnitsFile()
{
    return inLanguage("Einheitendatei öffnen…", "Open units file…", "Ouvrir un fichier d'unités…");
}

QString unitsFileFilter()
{
    return inLanguage("CSV-Dateien (*.csv);;Alle Dateien (*)", "CSV files (*.csv);;All files (*)",
        "Fichiers CSV (*.csv);;Tous les fichiers (*)");
}

QString noFileOpen()
{
    return inLanguage("Keine Einheitendatei geöffnet. Jede Zeile der Datei ist ein Modul mit seinen eigenen Werten.",
        "No units file open. Each row of the file is one module with its own values.",
        "Aucun fichier d'unités ouvert. Chaque ligne du fichier est un module avec ses propres valeurs.");
}

QString fileLine(const QString &path, int units)
{
    return inLanguage("%1: %2 Einheiten", "%1: %2 units", "%1 : %2 unités")
        .arg(QDir::toNativeSeparators(path))
        .arg(units);
}

QString portLine(const QString &port)
{
    return inLanguage("Port (Seite Kommunikation): %1", "Port (Communication page): %1",
        "Port (page communication) : %1")
        .arg(port.isEmpty() ? inLanguage("keiner", "none", "aucun") : port);
}

QStringList unitHeaders()
{
    return { inLanguage("Einheit", "Unit", "Unité"), QStringLiteral("Port"), inLanguage("Zustand", "State", "État"),
        inLanguage("Zeit / Grund", "Time / reason", "Heure / raison") };
}

QString problemHeader()
{
    return inLanguage("Warum die Datei nicht verwendet wird", "Why the file is refused",
        "Pourquoi le fichier est refusé");
}

QString refused(int problems)
{
    return inLanguage("Nichts wird gesendet, bis die Datei berichtigt ist. Gefundene Probleme: %1",
        "Nothing is sent until the file is corrected. Problems found: %1",
        "Rien n'est envoyé tant que le fichier n'est pas corrigé. Problèmes trouvés : %1")
        .arg(problems);
}

QString send()
{
    const QString text = caption(QStringLiteral("frm8"), QStringLiteral("cmd"));
    return text.isEmpty() ? QStringLiteral("Senden") : text;
}

QString ready()
{
    return inLanguage("Modul anschließen, Einheit wählen, Senden drücken.",
        "Plug in the module, select its unit, press Send.",
        "Branchez le module, choisissez son unité, appuyez sur émettre.");
}

QString waiting()
{
    return inLanguage("wartet", "waiting", "en attente");
}

QString sending()
{
    return inLanguage("wird gesendet", "sending", "envoi en cours");
}

QString programmed()
{
    return inLanguage("programmiert", "programmed", "programmé");
}

QString failed()
{
    return inLanguage("fehlgeschlagen", "failed", "échec");
}

QString cancelled()
{
    return inLanguage("abgebrochen", "cancelled", "interrompu");
}

QString recordRefused()
{
    return inLanguage("Datensatz nicht gesendet", "record not sent", "enregistrement non envoyé");
}

QString busy()
{
    return inLanguage("Die Seite Kommunikation sendet gerade; bitte warten, bis sie fertig ist.",
        "The Communication page is sending; please wait until it has finished.",
        "La page communication est en train d'envoyer ; veuillez attendre qu'elle ait terminé.");
}

QString sendingUnit(const QString &unit, const QString &port)
{
    return inLanguage("„%1“ wird über %2 gesendet…", "Sending \"%1\" through %2…", "Envoi de « %1 » par %2…")
        .arg(unit, port);
}

QString unitProgrammed(const QString &unit)
{
    return inLanguage("„%1“ ist programmiert. Nächstes Modul anschließen und Senden drücken.",
        "\"%1\" is programmed. Plug in the next module and press Send.",
        "« %1 » est programmé. Branchez le module suivant et appuyez sur émettre.")
        .arg(unit);
}

QString allProgrammed()
{
    return inLanguage("Alle Einheiten sind programmiert.", "All units are programmed.",
        "Toutes les unités sont programmées.");
}

QString unitFailed(const QString &unit, const QString &reason)
{
    return inLanguage("„%1“ nicht programmiert: %2", "\"%1\" not programmed: %2", "« %1 » non programmé : %2")
        .arg(unit, reason);
}

} // namespace SeriesText

namespace CompareText {

QString menuEntry()
{
    return inLanguage("Mit Konfiguration vergleichen…", "Compare with configuration…",
        "Comparer avec une configuration…");
}

QString settingsFileFilter()
{
    return inLanguage("Einstellungsdateien (*.ini);;Alle Dateien (*)", "Settings files (*.ini);;All files (*)",
        "Fichiers de réglages (*.ini);;Tous les fichiers (*)");
}

QString chooseFile()
{
    return inLanguage("Konfiguration zum Vergleichen", "Configuration to compare with",
        "Configuration à comparer");
}

QString windowTitle(const QString &fileName)
{
    return QStringLiteral("GSM - ")
        + inLanguage("Vergleich mit %1", "Comparison with %1", "Comparaison avec %1").arg(fileName);
}

QString fileLine(const QString &path)
{
    return inLanguage("Die Seiten verglichen mit %1", "The pages compared with %1", "Les pages comparées à %1")
        .arg(QDir::toNativeSeparators(path));
}

QStringList recordHeaders()
{
    return { inLanguage("Seite", "Page", "Page"), inLanguage("Feld", "Field", "Champ"),
        inLanguage("Position", "Offset", "Position"), inLanguage("Breite", "Width", "Largeur"),
        inLanguage("Auf den Seiten", "On the pages", "Sur les pages"),
        inLanguage("In der Datei", "In the file", "Dans le fichier") };
}

QStringList storedHeaders()
{
    return { inLanguage("Seite", "Page", "Page"), inLanguage("Schlüssel", "Key", "Clé"),
        inLanguage("Auf den Seiten", "On the pages", "Sur les pages"),
        inLanguage("In der Datei", "In the file", "Dans le fichier") };
}

QString recordCaption()
{
    return inLanguage("Felder des Datensatzes, die sich unterscheiden:", "Record fields that differ:",
        "Champs de l'enregistrement qui diffèrent :");
}

QString storedCaption()
{
    return inLanguage("Gespeicherte Werte, die sich unterscheiden, ohne den Datensatz zu ändern:",
        "Stored values that differ without reaching the record:",
        "Valeurs enregistrées qui diffèrent sans changer l'enregistrement :");
}

QString noDifferences()
{
    return inLanguage("Keine Unterschiede.", "No differences.", "Aucune différence.");
}

QString summary(int recordFields, int storedValues)
{
    if (recordFields == 0 && storedValues == 0)
        return noDifferences();
    if (recordFields == 0)
        return inLanguage("Der Datensatz ist gleich; %1 gespeicherte Werte unterscheiden sich.",
            "The records are equal; %1 stored values differ.",
            "Les enregistrements sont identiques ; %1 valeurs enregistrées diffèrent.")
            .arg(storedValues);
    if (storedValues == 0)
        return inLanguage("%1 Felder des Datensatzes unterscheiden sich.", "%1 record fields differ.",
            "%1 champs de l'enregistrement diffèrent.")
            .arg(recordFields);
    return inLanguage("%1 Felder des Datensatzes und %2 weitere gespeicherte Werte unterscheiden sich.",
        "%1 record fields and %2 further stored values differ.",
        "%1 champs de l'enregistrement et %2 autres valeurs enregistrées diffèrent.")
        .arg(recordFields)
        .arg(storedValues);
}

QString compareAgain()
{
    return inLanguage("Erneut vergleichen", "Compare again", "Comparer à nouveau");
}

QString close()
{
    return inLanguage("Schließen", "Close", "Fermer");
}

} // namespace CompareText
