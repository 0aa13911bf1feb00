#include "l10n/languagecode.h"

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
    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    return frm1 ? frm1->controlAs<QLineEdit>(QStringLiteral("language")) : nullptr;
}

std::optional<int> pagesLanguageCode()
{
    const QLineEdit *box = languageBox();
    return box ? languageCodeFromText(box->text()) : std::nullopt;
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
