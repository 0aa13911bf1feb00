#include "pages/pagewindow.h"

#include "shell/frmstart.h"
#include "shell/windowregistry.h"

PageWindow::PageWindow(const QString &formName, int pageNumber, QWidget *parent)
    : FormWindow(formName, parent)
    , m_pageNumber(pageNumber)
{
    setWindowTitle(QStringLiteral("GSM"));
    applyPagePalette(this);
}

void PageWindow::formActivate()
{
    PlacePage(this);
    WindowRegistry::instance().setCurrentPage(m_pageNumber);
    pageActivated();
}

void PlacePage(FormWindow *page)
{
    page->placeRelativeToStart(4597, 1800);
}

void applyPagePalette(QWidget *window)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(PageColors::Background));
    pal.setColor(QPalette::WindowText, QColor(PageColors::Text));
    pal.setColor(QPalette::ButtonText, QColor(PageColors::Text));
    pal.setColor(QPalette::Base, QColor(PageColors::EditBackground));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}
