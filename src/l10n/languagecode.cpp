#include "l10n/languagecode.h"

#include "l10n/language.h"
#include "shell/formwindow.h"
#include "shell/windowregistry.h"

#include <QLineEdit>

std::optional<int> currentLanguageCode()
{
    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    auto *box = frm1 ? frm1->controlAs<QLineEdit>(QStringLiteral("language")) : nullptr;
    return box ? languageCodeFromText(box->text()) : std::nullopt;
}

QString textForLanguage(const QString &de, const QString &en, const QString &fr)
{
    return runtimeText(currentLanguageCode(), de, en, fr);
}
