#include "l10n/runtimelanguage.h"

#include "core/configurationmodel.h"

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

QString pagesLanguageText()
{
    return ConfigurationModel::program().configuration().value(u"frm1", u"language");
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
