#include "l10n/languagecode.h"

#include "core/configurationmodel.h"
#include "window/formwindow.h"
#include "window/windowregistry.h"

#include <QLineEdit>

namespace {
std::optional<int> &languageOverride()
{
    static std::optional<int> code;
    return code;
}
} // namespace

void setRuntimeLanguageOverride(std::optional<int> code)
{
    languageOverride() = code;
}

QLineEdit *languageBox()
{
    FormWindow *frm1 = WindowRegistry::instance().existing(QStringLiteral("frm1"));
    return frm1 ? frm1->controlAs<QLineEdit>(QStringLiteral("language")) : nullptr;
}

QString pagesLanguageText()
{
    return ConfigurationModel::program().configuration().value(u"frm1", u"language");
}

void setPagesLanguageText(const QString &text)
{
    // Through the box when the page is built, so the page sees its own control change.
    if (QLineEdit *box = languageBox())
        box->setText(text);
    else
        ConfigurationModel::program().setStoredValue(configurationFieldIndex(u"frm1", u"language"), text);
}

std::optional<int> pagesLanguageCode()
{
    return languageCodeFromText(pagesLanguageText());
}

std::optional<int> currentLanguageCode()
{
    if (languageOverride())
        return languageOverride();
    return pagesLanguageCode();
}

const Language &runtimeLanguageInForce()
{
    return runtimeLanguage(currentLanguageCode());
}

QString textForLanguage(const LanguageTexts &texts)
{
    return texts.in(runtimeLanguageInForce());
}
