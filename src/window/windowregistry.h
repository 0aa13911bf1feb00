#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class FormWindow;

// Every window of the program by name: frmStart, frm1 ... frm9, frmAbout. A window is created on first use,
// which runs its formLoad once; it is then only hidden and shown, never destroyed while the program runs.
class WindowRegistry
{
public:
    using Factory = std::function<FormWindow *()>;

    static WindowRegistry &instance();

    void registerFactory(const QString &name, Factory factory);
    // Runs for every window right after its load step, before anyone else sees it (the top of the program
    // gives it the captions of the language in force).
    void setCreationHook(std::function<void(FormWindow *)> hook) { m_creationHook = std::move(hook); }
    // The window of that name, created (hidden, with its load step) when it does not exist yet.
    FormWindow *window(const QString &name);
    template<class T>
    T *get(const QString &name)
    {
        return static_cast<T *>(window(name));
    }
    FormWindow *existing(const QString &name) const;
    bool exists(const QString &name) const { return existing(name) != nullptr; }

    // Number of the window last activated: 0 none, 1..9 frm1..frm9, 12 the about box.
    int currentPage() const { return m_currentPage; }
    void setCurrentPage(int page) { m_currentPage = page; }

    // Tests only: destroys every window, forgets the current page and puts the program's configuration back
    // to its design values, so each test starts afresh.
    void reset();

private:
    QHash<QString, Factory> m_factories;
    QHash<QString, QPointer<FormWindow>> m_windows;
    std::function<void(FormWindow *)> m_creationHook;
    int m_currentPage = 0;
};
