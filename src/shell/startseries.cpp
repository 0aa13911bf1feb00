// The start window's entries for programming a series of modules and for comparing the pages with a file.
#include "shell/comparewindow.h"
#include "shell/configfiles.h"
#include "shell/frmstart.h"
#include "shell/serieswindow.h"
#include "shell/seriestexts.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>

QKeySequence FrmStart::seriesShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E);
}

QKeySequence FrmStart::compareShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D);
}

void FrmStart::offerSeriesAndComparison()
{
    // Like the keys of the configuration files, these work wherever the program has the focus.
    const auto shortcut = [this](const QKeySequence &keys, void (FrmStart::*action)()) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::ApplicationShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(seriesShortcut(), &FrmStart::showSeries);
    shortcut(compareShortcut(), &FrmStart::chooseComparison);
    m_configurationFiles->setMoreMenuEntries([this](QMenu *menu, bool enabled) {
        QAction *series = menu->addAction(SeriesText::menuEntry(), this, &FrmStart::showSeries);
        series->setObjectName(QStringLiteral("series"));
        series->setShortcut(seriesShortcut());
        series->setEnabled(enabled);
        QAction *compare = menu->addAction(CompareText::menuEntry(), this, &FrmStart::chooseComparison);
        compare->setObjectName(QStringLiteral("compare"));
        compare->setShortcut(compareShortcut());
        compare->setEnabled(enabled);
    });
}

SeriesWindow *FrmStart::seriesWindow() const
{
    return m_series;
}

CompareWindow *FrmStart::compareWindow() const
{
    return m_compare;
}

void FrmStart::showSeries()
{
    if (!m_series)
        m_series = new SeriesWindow(this, m_dialogs);
    m_series->show();
    m_series->raise();
    m_series->activateWindow();
}

void FrmStart::chooseComparison()
{
    if (!m_compare)
        m_compare = new CompareWindow(this, m_dialogs);
    m_compare->chooseAndCompare();
}
