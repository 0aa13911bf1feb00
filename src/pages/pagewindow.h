#pragma once

#include "shell/formwindow.h"

// Base of the configuration pages frm1 ... frm7 and frm9: the page palette, the placement beside the start
// window and the current-page number on activation, F1 with the page's topic.
class PageWindow : public FormWindow
{
    Q_OBJECT

public:
    PageWindow(const QString &formName, int pageNumber, QWidget *parent = nullptr);

    int pageNumber() const { return m_pageNumber; }

    // PlacePage, currentPage = the page's number, then pageActivated() (the all-box updates of the page).
    void formActivate() override;
    int helpTopic() const override { return m_pageNumber == 1 ? 1010 : 1030; }

protected:
    virtual void pageActivated() { }

private:
    int m_pageNumber;
};

// Moves a page (or the communication page, or the about box) to the start window's left + 4597 and
// top + 1800 twips, without changing its size.
void PlacePage(FormWindow *page);

// The page palette (red, green, blue).
namespace PageColors {
inline constexpr QRgb Background = qRgb(192, 192, 255);
inline constexpr QRgb Text = qRgb(0, 0, 128);
inline constexpr QRgb EditBackground = qRgb(255, 255, 128);
inline constexpr QRgb TabInactiveBackground = qRgb(128, 128, 255);
inline constexpr QRgb TabInactiveText = qRgb(255, 255, 192);
inline constexpr QRgb TabActiveBackground = qRgb(255, 255, 192);
inline constexpr QRgb TabActiveText = qRgb(0, 0, 128);
} // namespace PageColors

// Gives a window the page palette: background, text of labels/frames/check boxes/option buttons, and the
// background of editable text boxes.
void applyPagePalette(QWidget *window);
