#include "core/appsetup.h"

#include <QCoreApplication>

namespace AppSetup {

QString versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(RM425T_VERSION_MAJOR)
        .arg(RM425T_VERSION_MINOR)
        .arg(RM425T_VERSION_PATCH);
}

void setUpApplication()
{
    // No organisation: the folders are named after the program alone, as they always were for the window.
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(kApplicationName);
    QCoreApplication::setApplicationVersion(versionText());
}

} // namespace AppSetup
