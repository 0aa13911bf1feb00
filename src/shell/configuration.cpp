#include "shell/configuration.h"

#include "core/configurationmodel.h"
#include "l10n/applylanguage.h"
#include "pages/pagewindow.h"
#include "window/windowregistry.h"

void loadConfigurationIntoPages(const IniDocument &document)
{
    // The configuration takes the document by the pages' rules; a page that is built takes it through its
    // controls, which keep the configuration equal to what they show. The general settings page goes first:
    // the others read its targets.
    const Configuration configuration = Configuration::fromDocument(document);
    ConfigurationModel::program().replace(configuration);
    WindowRegistry &registry = WindowRegistry::instance();
    QList<FormWindow *> built;
    for (const QString &name : configurationPageNames()) {
        if (auto *page = qobject_cast<PageWindow *>(registry.existing(name))) {
            page->loadConfiguration(document);
            built.append(page);
        }
    }
    // A page that was already built ends as one built now would: with what a start with this file gives,
    // even where its handlers, run over the values it held, would keep something else.
    ConfigurationModel::program().replace(configuration);
    for (FormWindow *page : built)
        showConfigurationExactly(page);
}

void applyConfiguration(const IniDocument &document)
{
    loadConfigurationIntoPages(document);
    ApplyLanguage();
}

IniDocument documentOfPages()
{
    return ConfigurationModel::program().configuration().toDocument();
}
