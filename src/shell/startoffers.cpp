// What the start offers once the window is up: a save of the settings file that was cut off while it
// rewrote the file in place, and the recovery copy of edits an earlier run did not save. Both are asked
// through ConfigurationFiles::ask, in the language the pages hold.
#include "shell/configfiles.h"

#include "l10n/runtimelanguage.h"
#include "shell/configuration.h"
#include "shell/recoverycopy.h"
#include "window/settingsfile.h"

#include <QDir>
#include <QFile>

namespace {

QString restoreText()
{
    return textForLanguage(
        { QStringLiteral("Wiederherstellen"), QStringLiteral("Restore"), QStringLiteral("Restaurer") });
}

} // namespace

void ConfigurationFiles::offerAtStart(SettingsFileProblem problem)
{
    if (const std::optional<InterruptedSave> save = interruptedSave()) {
        // The file is damaged by that save; the question says more than a note on the damage would.
        offerInterruptedSave(*save);
        return;
    }
    if (problem != SettingsFileProblem::None)
        showMessage(settingsFileNotLoadedText(problem, IniFileReadPath()));
    offerRecoveryCopy();
}

void ConfigurationFiles::offerInterruptedSave(const InterruptedSave &save)
{
    const QString file = QDir::toNativeSeparators(IniFilePath());
    const QString text = textForLanguage(
        { QStringLiteral(
              "Das letzte Speichern in „%1“ wurde nicht beendet (das Programm endete, während es die "
              "Datei schrieb); die Datei ist unvollständig. Eine vollständige Kopie dessen, was "
              "gespeichert wurde, liegt in „%2“.\n\nDie Einstellungsdatei aus dieser Kopie "
              "wiederherstellen?"),
            QStringLiteral(
                "The last save into \"%1\" did not end (the program ended while it wrote the file); the "
                "file is incomplete. A complete copy of what was being saved is in \"%2\".\n\nRestore "
                "the settings file from that copy?"),
            QStringLiteral(
                "Le dernier enregistrement dans « %1 » ne s'est pas terminé (le programme s'est arrêté "
                "pendant l'écriture) ; le fichier est incomplet. Une copie complète de ce qui était "
                "enregistré se trouve dans « %2 ».\n\nRestaurer le fichier de réglages à partir de "
                "cette copie ?") })
                             .arg(file, QDir::toNativeSeparators(save.copyPath));
    ask(text, restoreText(),
        textForLanguage({ QStringLiteral("Datei so lassen"), QStringLiteral("Keep the file as it is"),
            QStringLiteral("Laisser le fichier tel quel") }),
        [this, save](bool restore) {
            if (restore) {
                QString error;
                if (!writeSettingsFile(save.document, &error)) {
                    // The copy stays for another try.
                    showMessage(saveFailedText(error));
                    return;
                }
                applyConfiguration(save.document);
            }
            QFile::remove(save.copyPath);
            offerRecoveryCopy();
        });
}

void ConfigurationFiles::offerRecoveryCopy()
{
    const std::optional<IniDocument> copy = m_recovery->leftOver([this] { return documentOfPages(); });
    if (!copy)
        return;
    const QString text = textForLanguage(
        { QStringLiteral(
              "Das Programm wurde zuletzt beendet, ohne die Änderungen an den Seiten zu speichern. "
              "Sie sind erhalten geblieben.\n\nDie ungespeicherten Änderungen wiederherstellen? Sie "
              "werden erst gespeichert, wenn Sie speichern."),
            QStringLiteral(
                "The program last ended without saving the changes made on the pages. They were kept."
                "\n\nRestore the unsaved changes? They are not saved until you save."),
            QStringLiteral(
                "Le programme s'est arrêté la dernière fois sans enregistrer les modifications des "
                "pages. Elles ont été conservées.\n\nRestaurer les modifications non enregistrées ? "
                "Elles ne seront enregistrées que lorsque vous enregistrerez.") });
    ask(text, restoreText(),
        textForLanguage(
            { QStringLiteral("Verwerfen"), QStringLiteral("Discard"), QStringLiteral("Abandonner") }),
        [this, document = *copy](bool restore) {
            if (!restore) {
                m_recovery->discard();
                return;
            }
            applyConfiguration(document);
            updateModifiedMark();
        });
}
