#include "pages/limitfield.h"

#include "pages/keyfilteradapter.h"
#include "pages/pagerules.h"
#include "window/formwindow.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int kLowest = 0;
constexpr int kHighest = 100;
const QString kEnterEmpty = QStringLiteral("0");
const QString kOutOfRange = QStringLiteral("50");
const QString kLeavingEmpty = QStringLiteral("50");

bool inRange(int value)
{
    return value >= kLowest && value <= kHighest;
}

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

std::optional<int> limitValue(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits = digits.mid(1);
    // Three digits is all the field takes; a few more still cannot overflow.
    if (digits.isEmpty() || digits.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

QString limitAfterEnter(const QString &text)
{
    if (text.isEmpty())
        return kEnterEmpty;
    const std::optional<int> value = limitValue(text);
    if (value && !inRange(*value))
        return kOutOfRange;
    return text;
}

LimitCorrection limitAfterLeaving(const QString &text, LimitLeaving rule)
{
    if (text.isEmpty())
        return { kLeavingEmpty };
    const std::optional<int> value = limitValue(text);
    if (!value)
        return { kLeavingEmpty };
    if (inRange(*value))
        return { text };
    if (rule == LimitLeaving::Reset)
        return { kOutOfRange, true };
    return { QString::number(*value < kLowest ? kLowest : kHighest) };
}

void attachLimitField(QLineEdit *field, LimitLeaving rule)
{
    field->setMaxLength(3);
    attachKeyFilter(field, KeyFilter::Digits);
    selectAllOnEntry(field);
    // The checks see Enter before the key filter passes it on: Qt runs the event filter installed last first.
    new LimitFieldRules(field, rule);
}
