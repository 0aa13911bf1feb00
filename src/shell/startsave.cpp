// The start window's save and the message area it shares with the pages' checks: one label and one OK
// button serve a page's failed check and a failed save, and m_okAnswers says which of them OK answers.
#include "shell/frmstart.h"

#include "core/inifile.h"
#include "l10n/runtimelanguage.h"
#include "shell/configfiles.h"
#include "shell/configuration.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>

void FrmStart::showPageMessage(const QString &text)
{
    // The page's message takes the place of a save failure shown before: OK now answers the page.
    setOkAnswers(OkAnswers::PageMessage);
    m_lblMeld->setText(
        QStringLiteral("\r\n  ! ! ! ! !   \r\n\r\n  ") + text + QStringLiteral("\r\n\r\n  ! ! ! ! !  "));
    show();
}

void FrmStart::showMessageOverlay(FormWindow *page, bool show)
{
    m_overlayPage = show ? page : nullptr;
    m_overlayText = show ? m_lblMeld->text() : QString();
    if (page)
        page->setVisible(!show);
    m_check[15]->setVisible(show);
    m_lblMeld->setVisible(show);
    if (show) {
        m_lblMeld->raise();
        m_check[15]->raise();
        m_check[15]->setFocus();
    }
}

void FrmStart::clearMenuHighlight()
{
    HighlightMenuButton(kNoButton);
}

void FrmStart::showPageOverlay(FormWindow *page, bool show)
{
    showMessageOverlay(page, show);
    // The OK button has the focus only once its window is the active one.
    if (show)
        activateWindow();
}

void FrmStart::acknowledgeOverlay()
{
    // OK answers the page that raised the message, whichever page was opened meanwhile.
    WindowRegistry &registry = WindowRegistry::instance();
    FormWindow *page
        = m_overlayPage ? m_overlayPage.data() : registry.existing(menuPageName(registry.currentPage()));
    if (!page) {
        showMessageOverlay(nullptr, false);
        return;
    }
    for (int index = 1; index <= 9; ++index) {
        if (page->formName() == menuPageName(index) && index != registry.currentPage()) {
            ShowPage(index, nullptr); // its menu button is marked as the open page's
            registry.setCurrentPage(index);
        }
    }
    page->acknowledgeMessage();
    // A page without message rules of its own still ends the overlay.
    if (m_lblMeld->isVisible() && m_okAnswers == OkAnswers::PageMessage) {
        showMessageOverlay(page, false);
        page->raise();
        page->activateWindow();
    }
}

void FrmStart::showSaveMessage(const QString &text)
{
    m_lblSp->show();
    m_lblMeld->setText(text);
    m_lblMeld->show();
}

void FrmStart::advanceSaveBar()
{
    QRect g = m_lblSp->geometry();
    g.setLeft(g.left() + twips(kSaveBarStep));
    m_lblSp->setGeometry(g);
}

bool FrmStart::SaveAllPages()
{
    // A field left for another program is checked now, before its value is read.
    runPendingLeaves();
    // What an earlier attempt reported goes; this one reports for itself.
    if (m_okAnswers == OkAnswers::SaveFailure)
        dismissSaveFailure();
    // Disabling the menu would hand the focus on to the next button; it comes back after the save.
    const QPointer<QWidget> focusBefore = focusWidget();
    setMenuEnabled(false);
    static const LanguageTexts kSaving { QStringLiteral("\r\n   Bitte warten... \r\n\r\nDaten werden gespeichert !"),
        QStringLiteral("\r\n   Please wait... \r\n\r\nData will be saved !"),
        QStringLiteral("\r\n   Patientez... \r\n\r\ndonnées en cours de sauvegarde !") };
    // Only a language of the list has a progress text; with another code the save shows none.
    if (const Language *language = findLanguage(currentLanguageCode()))
        showSaveMessage(kSaving.in(*language));
    // Only repaints run between the steps: user input waits until the save is complete.
    const auto drawProgress = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    drawProgress();

    // The new file is built completely and then replaces the old one in one step, so a failure part-way
    // never loses the settings that were saved before.
    // The configuration holds what every page shows, built or not.
    const IniDocument document = documentOfPages();
    for (int page = 1; page <= 7; ++page) {
        drawProgress();
        advanceSaveBar();
    }
    drawProgress();
    // Both files by the same safe write: the working file, and the configuration the title names, so that
    // the title's mark means what it says.
    QString error = refusedTargetReason(IniFilePath());
    const bool saved = error.isEmpty() && writeSettingsFile(document, &error)
        && m_configurationFiles->saveIntoCurrentFile(document, &error);
    if (saved)
        m_configurationFiles->discardRecoveryCopy();

    m_lblSp->hide();
    m_lblSp->setGeometry(twipsRect(kSaveBarLeft, 1710, kSaveBarWidth, 135));
    if (m_overlayPage) {
        // A page's message still waits for its OK: it comes back in place of the save text.
        m_lblMeld->setText(m_overlayText);
    } else {
        m_lblMeld->hide();
        backgroundClick();
    }
    setMenuEnabled(true);
    if (focusBefore && focusBefore->isEnabled() && focusBefore->isVisible())
        focusBefore->setFocus(Qt::OtherFocusReason);
    if (!saved)
        showSaveFailure(error);
    return saved;
}

void FrmStart::showSaveFailure(const QString &reason)
{
    // The reason begins with the path of the file.
    const QString text
        = textForLanguage({ QStringLiteral("FEHLER:\r\nDie Einstellungen konnten nicht gespeichert werden !"
                                           "\r\n\r\n%1"),
                              QStringLiteral("ERROR:\r\nThe settings could not be saved !\r\n\r\n%1"),
                              QStringLiteral("ERREUR:\r\nLes réglages n'ont pas pu être mémorisés !"
                                             "\r\n\r\n%1") })
              .arg(reason);
    // The message lies where the current window stands: that window steps aside until OK, as a page does
    // for its own message.
    const WindowRegistry &registry = WindowRegistry::instance();
    if (FormWindow *current = registry.existing(menuPageName(registry.currentPage())))
        current->hide();
    setOkAnswers(OkAnswers::SaveFailure);
    // The message needs a clean background, not the module photo around it.
    m_picMod->hide();
    m_lblMeld->setText(text);
    m_lblMeld->show();
    m_lblMeld->raise();
    m_check[15]->show();
    m_check[15]->raise();
}

void FrmStart::dismissSaveFailure()
{
    setOkAnswers(OkAnswers::PageMessage);
    m_lblMeld->hide();
    m_check[15]->hide();
}

void FrmStart::setOkAnswers(OkAnswers answers)
{
    m_okAnswers = answers;
    // The failure takes the place of a page's message, as a page's message takes the place of a failure.
    if (answers == OkAnswers::SaveFailure)
        m_overlayPage = nullptr;
}
