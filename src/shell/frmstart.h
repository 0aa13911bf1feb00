#pragma once

#include "window/dialogoptions.h"
#include "window/formwindow.h"
#include "window/pagehost.h"

#include <QKeySequence>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <functional>

class CompareWindow;
class ConfigurationFiles;
class QFrame;
class SeriesWindow;
class QLabel;
class TwoStateButton;

// The start window: the menu of page buttons, saving and quitting, help, the about box, the language
// button, the logo button, the module photo and the message area used by the save and the page checks.
class FrmStart : public FormWindow, public PageHost
{
    Q_OBJECT

public:
    static constexpr int kButtonCount = 17;
    static constexpr int kNoButton = 17; // HighlightMenuButton: only clears the marks
    // The save bar under the button row: it grows by one step per page saved.
    static constexpr int kSaveBarLeft = 500;
    static constexpr int kSaveBarWidth = 3500;
    static constexpr int kSaveBarStep = 500;

    // dialogs: what opening and saving configurations ask and say (ConfigurationFiles).
    explicit FrmStart(QWidget *parent = nullptr, DialogOptions dialogs = {});

    void formLoad() override;
    int helpTopic() const override { return 555; }

    TwoStateButton *check(int index) const { return m_check.at(index); }
    QLabel *lblMeld() const { return m_lblMeld; }
    QLabel *lblSp() const { return m_lblSp; }
    QLabel *picMod() const { return m_picMod; }
    QLabel *picSkin() const { return m_picSkin; }
    QLabel *nPaneltit() const { return m_nPaneltit; }
    QFrame *bar() const { return m_bar; }
    // Open / save as / recent files / drop, and the configuration named in the title.
    ConfigurationFiles *configurationFiles() const { return m_configurationFiles; }

    // The click action of a menu button, as a user's click or a call by code.
    void Check_Click(int index);
    void ShowPage(int index, FormWindow *window);
    void ResetMenuButtons();
    void HighlightMenuButton(int index);
    void option_n();
    // Saves all pages; false when the settings file could not be written (the message is then shown).
    bool SaveAllPages();
    void QuitProgram();
    void backgroundClick();
    void barClick();
    void titleClick();

    // The message area of the page checks.
    void showPageMessage(const QString &text) override;
    void showMessageOverlay(FormWindow *page, bool show);
    void showPageOverlay(FormWindow *page, bool show) override;
    void clearMenuHighlight() override;

    // "Series…" and "Compare with configuration…": entries of the context menu with their keys, each opening a
    // window owned by this one (created on first use).
    static QKeySequence seriesShortcut();
    static QKeySequence compareShortcut();
    void showSeries();
    void chooseComparison();
    SeriesWindow *seriesWindow() const;
    CompareWindow *compareWindow() const;

    // How the program ends; tests replace it.
    void setQuitHandler(std::function<void()> handler) { m_quit = std::move(handler); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void createMenu();
    void onCheckToggled(int index);
    void showSaveMessage(const QString &text);
    void advanceSaveBar();
    void showSaveFailure(const QString &reason);
    void acknowledgeOverlay();
    void dismissSaveFailure();
    void setMenuEnabled(bool enabled);
    // What OK under the message area answers; the one place that changes it.
    enum class OkAnswers { PageMessage, SaveFailure };
    void setOkAnswers(OkAnswers answers);
    void openMakerWebPage();
    void applySkin();
    void setHandCursor();
    void offerSeriesAndComparison();

    std::array<TwoStateButton *, kButtonCount> m_check {};
    QFrame *m_bar = nullptr;
    QLabel *m_nPaneltit = nullptr;
    QLabel *m_picSkin = nullptr;
    QLabel *m_picMod = nullptr;
    QLabel *m_lblMeld = nullptr;
    QLabel *m_lblSp = nullptr;
    ConfigurationFiles *m_configurationFiles = nullptr;
    OkAnswers m_okAnswers = OkAnswers::PageMessage;
    // The page whose failed check the message overlay shows, and that message.
    QPointer<FormWindow> m_overlayPage;
    QString m_overlayText;
    std::function<void()> m_quit;
    DialogOptions m_dialogs;
    QPointer<SeriesWindow> m_series;
    QPointer<CompareWindow> m_compare;
};

// The window a menu button opens: "frm1" ... "frm9", "frmAbout" for 12; empty for any other button.
QString menuPageName(int index);

// The start window, or nullptr when it does not exist (tests of single pages).
FrmStart *startWindow();

// The maker's web address opened by the logo button.
extern const char *const kMakerWebAddress;
