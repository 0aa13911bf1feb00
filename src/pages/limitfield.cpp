#include "pages/limitfield.h"

#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/formwindow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

class LimitFieldRules : public QObject
{
public:
    LimitFieldRules(QLineEdit *field, LimitLeaving rule)
        : QObject(field)
        , m_field(field)
        , m_rule(rule)
    {
        field->installEventFilter(this);
        FormWindow::whenLeft(field, [this] { fieldLeft(); });
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        setIfChanged(limitAfterEnter(m_field->text()));
        return true;
    }

private:
    void fieldLeft()
    {
        const LimitCorrection correction = limitAfterLeaving(m_field->text(), m_rule);
        setIfChanged(correction.text);
        // The focus may be on its way to another control: it is brought back once it has arrived.
        if (correction.refocus) {
            QTimer::singleShot(0, m_field, [field = QPointer<QLineEdit>(m_field)] {
                if (field && field->isVisible() && field->isEnabled())
                    field->setFocus(Qt::OtherFocusReason);
            });
        }
    }

    void setIfChanged(const QString &text)
    {
        if (text != m_field->text())
            m_field->setText(text);
    }

    QLineEdit *m_field;
    LimitLeaving m_rule;
};

} // namespace

void attachLimitField(PageWindow *page, QLineEdit *field, LimitLeaving rule)
{
    pagecontrols::putUnderRule(page, field, limitFieldRule(rule));
    selectAllOnEntry(field);
    // The checks see Enter before the key filter passes it on: Qt runs the event filter installed last first.
    new LimitFieldRules(field, rule);
}
