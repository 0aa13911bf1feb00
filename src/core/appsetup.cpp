#include "core/appsetup.h"

#include <QCoreApplication>

namespace AppSetup {

namespace {

SettingsLocation::Storage &storageOfRun()
{
    static SettingsLocation::Storage storage;
    return storage;
}

} // namespace

QString versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(RM425T_VERSION_MAJOR)
        .arg(RM425T_VERSION_MINOR)
        .arg(RM425T_VERSION_PATCH);
}

void setUpApplication(const SettingsLocation::Storage &storage)
{
    storageOfRun() = storage;
    // No organisation: the folders are named after the program alone, as they always were for the window.
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(kApplicationName);
    QCoreApplication::setApplicationVersion(versionText());
}

const SettingsLocation::Storage &storage()
{
    return storageOfRun();
}

} // namespace AppSetup
