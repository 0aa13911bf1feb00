#include "window/pagehost.h"

#include "window/formwindow.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QAbstractButton>

// A page tab drawn by TwoStateButton keeps its weight itself.
void setTabBold(QAbstractButton *tab, bool bold)
{
    if (auto *button = qobject_cast<TwoStateButton *>(tab)) {
        button->setBold(bold);
        return;
    }
    QFont f = tab->font();
    f.setBold(bold);
    tab->setFont(f);
}

PageHost *pageHost()
{
    return dynamic_cast<PageHost *>(WindowRegistry::instance().existing(QStringLiteral("frmStart")));
}

void HighlightTab(int tab, int count, FormWindow *page)
{
    if (PageHost *host = pageHost())
        host->clearMenuHighlight();
    if (!page || tab > count)
        return;
    if (auto *button = page->controlAs<QAbstractButton>(QStringLiteral("opt"), tab))
        setTabBold(button, true);
}

void ClearTabHighlight(int count, FormWindow *page)
{
    HighlightTab(5, count, page);
}

void PlacePage(FormWindow *page)
{
    page->placeRelativeToStart(4597, 1800);
}
