#include "core/configurationmodel.h"

ConfigurationModel &ConfigurationModel::program()
{
    static ConfigurationModel model;
    return model;
}

void ConfigurationModel::replace(const Configuration &configuration)
{
    m_configuration = configuration;
    emit replaced();
}

void ConfigurationModel::setStoredValue(int field, const QString &value)
{
    if (field < 0 || m_configuration.value(field) == value)
        return;
    m_configuration.setStoredValue(field, value);
    emit valueChanged(field);
}

void ConfigurationModel::setEnabled(int field, bool enabled)
{
    if (field >= 0)
        m_configuration.setEnabled(field, enabled);
}

void ConfigurationModel::edit(const std::function<void(ConfigurationEditor &)> &change)
{
    const Configuration before = m_configuration;
    ConfigurationEditor editor(m_configuration);
    change(editor);
    for (int field = 0; field < int(configurationFields().size()); ++field) {
        if (m_configuration.value(field) != before.value(field))
            emit valueChanged(field);
    }
}
