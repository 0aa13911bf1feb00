#include "l10n/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
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

bool applyQtTranslations(int code)
{
    QLocale::Language language = QLocale::AnyLanguage;
    switch (code) {
    case 0:
        language = QLocale::German;
        break;
    case 1:
        language = QLocale::English;
        break;
    case 2:
        language = QLocale::French;
        break;
    default:
        return false;
    }
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    if (language == QLocale::English)
        return true;
    // "qt_de" pulls in qtbase_de and the other modules' files Debian installs beside it.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(language), QStringLiteral("qt"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    return true;
}
