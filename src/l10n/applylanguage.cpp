#include "l10n/applylanguage.h"

#include "l10n/captiontable.h"
#include "l10n/language.h"
#include "l10n/languagecode.h"
#include "l10n/qttranslations.h"
#include "window/formwindow.h"
#include "window/help.h"
#include "window/windowregistry.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

bool setCaption(QWidget *widget, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        frame->setTitle(text);
    else
        return false;
    return true;
}

// One entry into its window; a window that is not built gets its captions when it is.
void applyEntry(const CaptionEntry &entry, const Language &language, FormWindow *onlyWindow = nullptr)
{
    const QString text = entry.text(language.code);
    if (entry.isHelpFile()) {
        if (!onlyWindow)
            setHelpFile(text, language.helpSet.toString());
        return;
    }
    if (onlyWindow && entry.window != onlyWindow->formName())
        return;
    FormWindow *window = onlyWindow ? onlyWindow : WindowRegistry::instance().existing(entry.window.toString());
    if (!window)
        return;
    const ControlRef *ref = window->findRef(entry.control.toString(), entry.index);
    if (!ref || !ref->widget) {
        qWarning("Caption table: %s has no control %s", qUtf8Printable(entry.window.toString()),
            qUtf8Printable(entry.controlKey()));
        return;
    }
    bool applied = true;
    switch (entry.property) {
    case CaptionProperty::Caption:
        applied = setCaption(ref->widget, text);
        break;
    case CaptionProperty::ToolTipText:
        ref->widget->setToolTip(text);
        break;
    case CaptionProperty::Text:
        applied = ref->kind == ControlKind::TextBox;
        setControlText(*ref, text);
        break;
    case CaptionProperty::HelpFile:
        break;
    }
    if (!applied) {
        qWarning("Caption table: %s %s cannot take a %s", qUtf8Printable(entry.window.toString()),
            qUtf8Printable(entry.controlKey()), ref->widget->metaObject()->className());
    }
}

// The start window's menu button that opens each window.
int menuIndexOf(const QString &formName)
{
    if (formName == QLatin1String("frmAbout"))
        return 12;
    if (formName.size() == 4 && formName.startsWith(QLatin1String("frm")) && formName.back().isDigit())
        return formName.back().digitValue();
    return 0;
}

QString windowTitleFor(const QString &formName, const Language &language)
{
    const QString program = QStringLiteral("GSM");
    const int menuIndex = menuIndexOf(formName);
    if (menuIndex == 0)
        return program;
    for (const CaptionEntry &entry : captionTable()) {
        if (entry.window == u"frmStart" && entry.control == u"Check" && entry.index == menuIndex
            && entry.property == CaptionProperty::Caption) {
            QString page = entry.text(language.code);
            if (!page.isEmpty())
                page[0] = page[0].toUpper();
            return program + QStringLiteral(" - ") + page;
        }
    }
    return program;
}

const Language &titleLanguage()
{
    // A title is a run-time text: a code outside the list gives it in German, as the captions it repeats
    // then keep their German design texts.
    return runtimeLanguage(pagesLanguageCode());
}

} // namespace

void applyWindowTitle(FormWindow *window)
{
    if (window && menuIndexOf(window->formName()) != 0)
        window->setWindowTitle(windowTitleFor(window->formName(), titleLanguage()));
}

void ApplyLanguage()
{
    // The pages' language, not a run-time override: the captions belong to the pages.
    const Language *language = findLanguage(pagesLanguageCode());
    if (!language)
        return;
    for (const CaptionEntry &entry : captionTable())
        applyEntry(entry, *language);
    applyQtTranslations(language->code);
    for (const char *name :
        { "frm1", "frm2", "frm3", "frm4", "frm5", "frm6", "frm7", "frm8", "frm9", "frmAbout" })
        applyWindowTitle(WindowRegistry::instance().existing(QString::fromLatin1(name)));
}

void applyLanguageTo(FormWindow *window)
{
    const Language *language = findLanguage(pagesLanguageCode());
    if (!window || !language)
        return;
    for (const CaptionEntry &entry : captionTable())
        applyEntry(entry, *language, window);
    applyWindowTitle(window);
}

void NextLanguage()
{
    setPagesLanguageText(nextLanguageText(pagesLanguageText()));
    ApplyLanguage();
}
