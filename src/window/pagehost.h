#pragma once

#include <QString>

class FormWindow;
class QAbstractButton;

// What the pages and the communication page ask of the start window. The start window lies above them (it
// opens them from its menu), so they reach it through this interface of the window base and never include it.
class PageHost
{
public:
    virtual ~PageHost() = default;

    // Puts a page check's message into the message area.
    virtual void showPageMessage(const QString &text) = 0;
    // Shows the message area over the page (which steps aside until OK) or ends it; while shown, the start
    // window is the active one, so its OK button has the focus.
    virtual void showPageOverlay(FormWindow *page, bool show) = 0;
    // The mouse went on to a page: the menu's hover marks go.
    virtual void clearMenuHighlight() = 0;
};

// The start window, or nullptr while there is none (tests of single pages).
PageHost *pageHost();

// Hover marks of a page's tab strip; any tab number above count clears them.
void HighlightTab(int tab, int count, FormWindow *page);
void ClearTabHighlight(int count, FormWindow *page);
// A tab's weight, whether it is a TwoStateButton (which keeps it in its style sheet) or not.
void setTabBold(QAbstractButton *tab, bool bold);

// Moves a page (or the communication page, or the about box) to the start window's left + 4597 and
// top + 1800 twips, without changing its size.
void PlacePage(FormWindow *page);
