#pragma once

#include "window/settingsfile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class FrmStart;
class QMenu;
class QShortcut;

// Configurations as files, on the start window: "Open configuration…" (Ctrl+O), "Save configuration as…"
// (Ctrl+Shift+S), "Speichern" by Ctrl+S, a context menu with both and the last five files, and a settings
// file dropped on the window. The window's title names the configuration last opened or saved as, marked
// while what a save would write differs from that file.
//
// "Speichern" keeps writing the working settings file; a configuration file is only written by "Save as".
class ConfigurationFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRecentCount = 5;
    // The mark follows edits after this pause, so a burst of changes costs one comparison.
    static constexpr std::chrono::milliseconds kMarkDelay { 200 };

    explicit ConfigurationFiles(FrmStart *start);

    // After start-up: watch the pages for changes and report a working settings file that was not loaded.
    void startUpFinished(SettingsFileProblem problem);

    // Open and save as without a dialog; false when nothing was opened or written (the reason is shown).
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

    // Where a message goes; tests replace it so nothing waits for a click.
    using MessageHook = std::function<void(const QString &text)>;
    static void setMessageHook(MessageHook hook);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool busy() const;
    void showMessage(const QString &text);
    void setCurrentFile(const QString &path);
    void rememberRecent(const QString &path);
    void watchPages();
    void scheduleMarkUpdate();
    static QString droppedFile(const QEvent *event);

    FrmStart *m_start;
    QString m_currentFile;
    QTimer m_markTimer;
    bool m_watching = false;
    bool m_inDialog = false;
};
