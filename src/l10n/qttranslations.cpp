#include "l10n/qttranslations.h"

#include "l10n/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// Installed once and kept while the program runs; swapped when the language changes.
std::unique_ptr<QTranslator> &installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

QString qtTranslationsPath()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool applyQtTranslations(int code)
{
    const Language *language = findLanguage(code);
    if (!language)
        return false;
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    if (language->qtCatalogue.isEmpty())
        return true;
    // "qt_de" pulls in qtbase_de and the other modules' files Debian installs beside it.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(language->qtCatalogue.toString(), qtTranslationsPath()))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    return true;
}
