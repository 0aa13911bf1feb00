#include "l10n/languagecode.h"

#include "core/configurationmodel.h"
#include "window/formwindow.h"
#include "window/windowregistry.h"

#include <QLineEdit>

QLineEdit *languageBox()
{
    FormWindow *frm1 = WindowRegistry::instance().existing(QStringLiteral("frm1"));
    return frm1 ? frm1->controlAs<QLineEdit>(QStringLiteral("language")) : nullptr;
}

void setPagesLanguageText(const QString &text)
{
    if (QLineEdit *box = languageBox())
        box->setText(text);
    else
        ConfigurationModel::program().setStoredValue(configurationFieldIndex(u"frm1", u"language"), text);
}
