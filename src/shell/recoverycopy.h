#pragma once

#include "core/inifile.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

// The pages as they were after the last edit, kept in the user's state folder (never in the settings
// file) so that a crash, a kill, a power cut or the end of the desktop session loses nothing. Written by the
// safe write shortly after each edit; at the next start a copy that differs from the pages as loaded is
// offered once. A save, and "Abbrechen", let it go; closing the start window keeps it.
class RecoveryCopy : public QObject
{
    Q_OBJECT

public:
    // A burst of keystrokes costs one write.
    static constexpr std::chrono::milliseconds kDelay { 500 };

    using PagesDocument = std::function<IniDocument()>;
    RecoveryCopy(PagesDocument pages, QObject *parent);

    // An edit was made: the copy follows after kDelay.
    void schedule();
    // Writes the copy now; false when the state folder does not take it.
    bool writeNow();
    // Writes a copy still waiting for its pause.
    void flush();
    // Removes the copy and drops a write still waiting.
    void discard();

    // At start-up: the copy left by an earlier run when it differs from the pages as they were loaded; a
    // copy that holds nothing new is removed. The pages are asked for only when there is a copy: most starts
    // have none, and they should not pay for writing out every page.
    std::optional<IniDocument> leftOver(const std::function<IniDocument()> &pages);

private:
    PagesDocument m_pages;
    QTimer m_timer;
};
