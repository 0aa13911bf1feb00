#include "l10n/languagecode.h"

#include "l10n/language.h"
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

std::optional<int> currentLanguageCode()
{
    if (languageOverride())
        return languageOverride();
    FormWindow *frm1 = WindowRegistry::instance().window(QStringLiteral("frm1"));
    auto *box = frm1 ? frm1->controlAs<QLineEdit>(QStringLiteral("language")) : nullptr;
    return box ? languageCodeFromText(box->text()) : std::nullopt;
}

QString textForLanguage(const QString &de, const QString &en, const QString &fr)
{
    return runtimeText(currentLanguageCode(), de, en, fr);
}
