#pragma once

#include "shell/recentstore.h"
#include "window/dialogoptions.h"
#include "window/settingsfile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class FrmStart;
class QMenu;
class QShortcut;
class RecoveryCopy;

// Configurations as files, on the start window: "Open configuration…" (Ctrl+O), "Save configuration as…"
// (Ctrl+Shift+S), "Speichern" by Ctrl+S, a context menu with both and the last five files, and a settings
// file dropped on the window. The window's title names the configuration last opened or saved as, marked
// while what a save would write differs from that file.
//
// "Speichern" writes the working settings file and, while the title names one, that configuration as well.
// Every edit is kept in a recovery copy shortly after it is made, offered at the next start when the
// program ended without saving (recoverycopy.h).
class ConfigurationFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRecentCount = RecentStore::kCount;
    // The mark follows edits after this pause, so a burst of changes costs one comparison.
    static constexpr std::chrono::milliseconds kMarkDelay { 200 };

    // Messages, questions and the file dialogs go through dialogs (empty functions: the real boxes and
    // dialogs, on the start window).
    explicit ConfigurationFiles(FrmStart *start, DialogOptions dialogs = {});

    // After start-up: watch the pages for changes; once the window is up, report a working settings file
    // that was not loaded and offer what an interrupted save or an unsaved session left behind.
    void startUpFinished(SettingsFileProblem problem);

    // A save of the pages wrote the working file: the configuration named in the title takes the same
    // document. False when it could not (errorText says why); true when no configuration is open.
    bool saveIntoCurrentFile(const IniDocument &document, QString *errorText);
    // After a save of the pages, or when the user threw the edits away: the recovery copy goes.
    void discardRecoveryCopy();
    // The program ends without saving: an edit whose copy is still waiting is written now.
    void keepRecoveryCopy();

    // Open and save as without a dialog; false when nothing was opened or written (the reason is shown).
    // Opening the configuration the title names while the pages differ from it asks first.
    bool openConfiguration(const QString &path);
    bool saveConfigurationAs(const QString &path);
    // With the file dialog.
    void chooseAndOpen();
    void chooseAndSaveAs();

    // The configuration named in the title (empty before one was opened or saved as).
    QString currentFile() const { return m_currentFile; }
    // Compares the pages with the current file now and sets the mark.
    void updateModifiedMark();
    QStringList recentFiles() const;

    // The menu of the start window, built for the language in force (the caller owns it).
    QMenu *createContextMenu(QWidget *parent);
    // Entries the start window adds to that menu below "Save configuration as…"; enabled as those are.
    void setMoreMenuEntries(std::function<void(QMenu *menu, bool enabled)> add) { m_moreEntries = std::move(add); }

    // Asks in a window-modal box with the two answers and hands the answer on once it is given.
    void ask(const QString &text, const QString &yes, const QString &no, std::function<void(bool)> answer);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool busy() const;
    void showMessage(const QString &text);
    void offerAtStart(SettingsFileProblem problem);
    void offerInterruptedSave(const InterruptedSave &save);
    void offerRecoveryCopy();
    void openNow(const QString &path, const IniDocument &document);
    void pagesEdited();
    void setCurrentFile(const QString &path);
    void rememberRecent(const QString &path);
    void watchPages();
    void scheduleMarkUpdate();
    static QString droppedFile(const QEvent *event);

    FrmStart *m_start;
    DialogOptions m_dialogs;
    QString m_currentFile;
    QTimer m_markTimer;
    bool m_watching = false;
    bool m_inDialog = false;
    bool m_recentProblemSaid = false;
    RecoveryCopy *m_recovery = nullptr;
    std::function<void(QMenu *, bool)> m_moreEntries;
};
