#pragma once

#include "core/configuration.h"

#include <QObject>

#include <functional>

// The configuration this run works on, which the pages show and edit, a save writes, the record is built
// from and the commands use. A page that exists keeps it up to date with every change of its controls; a
// page built later takes its values from here.
class ConfigurationModel : public QObject
{
    Q_OBJECT

public:
    // The program's one configuration.
    static ConfigurationModel &program();

    const Configuration &configuration() const { return m_configuration; }

    // A whole new configuration: the settings file at start-up, an opened configuration, a restored copy.
    void replace(const Configuration &configuration);

    // A page's control changed: its value as the control holds it now, after the page's own rules ran.
    void setStoredValue(int field, const QString &value);
    void setEnabled(int field, bool enabled);

    // Changes values by the rules of the pages, for pages that are not built (a target carried to them).
    void edit(const std::function<void(ConfigurationEditor &)> &change);

    // Tests: back to the design values, as a new run starts.
    void reset() { replace(Configuration()); }

signals:
    void replaced();
    void valueChanged(int field);

private:
    Configuration m_configuration;
};
