#include "pages/pagerules.h"

#include "pages/pagewindow.h"
#include "window/pagehost.h"
#include "window/twostatebutton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

template<class Field> class SelectAllOnEntry : public QObject
{
public:
    explicit SelectAllOnEntry(Field *field)
        : QObject(field)
        , m_field(field)
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::FocusIn)
            return false;
        SelectAllText(m_field);
        // A click that gave the focus goes on to place the cursor: select again once it has been handled.
        if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason) {
            QTimer::singleShot(0, m_field, [field = m_field] {
                if (field->hasFocus())
                    SelectAllText(field);
            });
        }
        return false;
    }

private:
    Field *m_field;
};

} // namespace

void SelectAllText(QLineEdit *field)
{
    field->setSelection(0, int(field->text().size()));
}

void SelectAllText(QPlainTextEdit *field)
{
    field->selectAll();
}

void selectAllOnEntry(QLineEdit *field)
{
    new SelectAllOnEntry<QLineEdit>(field);
}

void selectAllOnEntry(QPlainTextEdit *field)
{
    new SelectAllOnEntry<QPlainTextEdit>(field);
}

void ShowPageMessage(const QString &text)
{
    if (PageHost *host = pageHost())
        host->showPageMessage(text);
}

void ShowMessageOverlay(FormWindow *page, bool show)
{
    if (PageHost *host = pageHost()) {
        host->showPageOverlay(page, show);
    } else if (page) {
        page->setVisible(!show);
    }
}

void FailFieldCheck(FormWindow *page, QLineEdit *field, const QString &defaultText)
{
    field->setText(defaultText);
    field->setFocus();
    ShowPageMessage(field->toolTip());
    ShowMessageOverlay(page, true);
}

void returnFromMessageOverlay(FormWindow *page)
{
    ShowMessageOverlay(page, false);
    page->raise();
    page->activateWindow();
}

void SelectTab(int tab, int count, FormWindow *page)
{
    auto *selected = page->controlAs<QAbstractButton>(QStringLiteral("opt"), tab);
    // No tab stays drawn pressed: the colours alone mark the active one.
    if (selected && selected->isChecked())
        selected->setChecked(false);
    for (int k = 1; k <= count; ++k) {
        if (auto *button = page->controlAs<TwoStateButton>(QStringLiteral("opt"), k))
            button->setColors(PageColors::TabInactiveBackground, PageColors::TabInactiveText);
        if (QWidget *picture = page->control(QStringLiteral("Pic"), k))
            picture->hide();
    }
    if (QWidget *picture = page->control(QStringLiteral("Pic"), tab))
        picture->show();
    if (auto *button = page->controlAs<TwoStateButton>(QStringLiteral("opt"), tab))
        button->setColors(PageColors::TabActiveBackground, PageColors::TabActiveText);
}
