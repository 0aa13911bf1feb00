#include "window/windowregistry.h"

#include "core/configurationmodel.h"
#include "window/formwindow.h"

WindowRegistry &WindowRegistry::instance()
{
    static WindowRegistry registry;
    return registry;
}

void WindowRegistry::registerFactory(const QString &name, Factory factory)
{
    m_factories.insert(name, std::move(factory));
}

FormWindow *WindowRegistry::existing(const QString &name) const
{
    return m_windows.value(name);
}

FormWindow *WindowRegistry::window(const QString &name)
{
    if (FormWindow *w = existing(name))
        return w;
    const auto factory = m_factories.constFind(name);
    if (factory == m_factories.cend()) {
        qWarning("No window named %s", qPrintable(name));
        return nullptr;
    }
    FormWindow *w = (*factory)();
    // Known before its load step runs, so that a page reading its own controls during the load finds itself.
    m_windows.insert(name, w);
    w->formLoad();
    if (m_creationHook)
        m_creationHook(w);
    return w;
}

void WindowRegistry::reset()
{
    // The start window owns the pages as their parent; delete children before parents.
    QList<QPointer<FormWindow>> windows = m_windows.values();
    m_windows.clear();
    for (const QPointer<FormWindow> &w : windows) {
        if (w && w->objectName() != QLatin1String("frmStart"))
            delete w.data();
    }
    for (const QPointer<FormWindow> &w : windows)
        delete w.data();
    m_currentPage = 0;
    ConfigurationModel::program().reset();
}
