#include "pages/pagecontrols.h"

#include "pages/keyfilteradapter.h"
#include "pages/notifysets.h"
#include "pages/pagerules.h"
#include "pages/pagewindow.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

QRect twipsRect(const QRect &twipsGeometry)
{
    return twipsRect(twipsGeometry.x(), twipsGeometry.y(), twipsGeometry.width(), twipsGeometry.height());
}

namespace pagecontrols {

QFont pageFont(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QLabel *addLabel(PageWindow *page, QWidget *parent, const QString &name, int index, const QString &caption,
    const QRect &twips, Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(twipsRect(twips));
    label->setAlignment(alignment);
    return page->add(label, name, index);
}

QLabel *addCommandLabel(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips)
{
    QLabel *label = addLabel(page, parent, name, index, caption, twips);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(kCommandText));
    label->setPalette(pal);
    label->setFont(pageFont(kPagePointSize, true));
    return label;
}

QCheckBox *addCheckBox(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips)
{
    auto *box = new QCheckBox(caption, parent);
    box->setGeometry(twipsRect(twips));
    return page->add(box, name, index);
}

QRadioButton *addOption(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips)
{
    auto *option = new QRadioButton(caption, parent);
    option->setGeometry(twipsRect(twips));
    return page->add(option, name, index);
}

QFrame *addFrame(PageWindow *page, QWidget *parent, const QString &name, int index, const QRect &twips,
    QFrame::Shape shape)
{
    auto *frame = new QFrame(parent);
    frame->setGeometry(twipsRect(twips));
    frame->setFrameShape(shape);
    if (shape != QFrame::NoFrame)
        frame->setFrameShadow(QFrame::Sunken);
    return page->add(frame, name, index);
}

QLineEdit *addField(PageWindow *page, QWidget *parent, const QString &name, int index, const QString &text,
    const QRect &twips, qreal pointSize)
{
    auto *field = new QLineEdit(text, parent);
    field->setGeometry(twipsRect(twips));
    field->setAlignment(Qt::AlignCenter);
    field->setFont(pageFont(pointSize, true));
    return page->add(field, name, index);
}

void putUnderRule(PageWindow *page, QLineEdit *field, const FieldRule &rule)
{
    if (rule.maxLength >= 0)
        field->setMaxLength(rule.maxLength);
    if (rule.filter != KeyFilter::None)
        attachKeyFilter(field, rule.filter);
    page->setFieldRule(field, rule);
}

QLineEdit *addTextField(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &text, const QRect &twips, int maxLength, KeyFilter filter, qreal pointSize)
{
    QLineEdit *field = addField(page, parent, name, index, text, twips, pointSize);
    FieldRule rule;
    rule.filter = filter;
    rule.maxLength = maxLength;
    putUnderRule(page, field, rule);
    selectAllOnEntry(field);
    return field;
}

QCheckBox *addInUseBox(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips, std::function<void()> rule)
{
    QCheckBox *box = addCheckBox(page, parent, name, index, caption, twips);
    QObject::connect(box, &QCheckBox::stateChanged, page, [box, rule = std::move(rule)](int state) {
        if (state != Qt::PartiallyChecked) {
            rule();
            return;
        }
        // Unticking runs the rule through this handler again.
        box->setTristate(false);
        box->setCheckState(Qt::Unchecked);
    });
    return box;
}

void placeInColumnsOfFour(NotifySet *set, const QPoint &firstTwips, int columnStep, int rowStep)
{
    for (int i = 1; i <= set->memberCount(); ++i) {
        const QPoint at = firstTwips + QPoint((i - 1) / 4 * columnStep, (i - 1) % 4 * rowStep);
        set->box(i)->move(twips(at.x()), twips(at.y()));
    }
}

NotifySet *addHiddenMailSet(
    PageWindow *page, QWidget *parent, const QString &labelName, int labelIndex, const QPoint &atTwips)
{
    auto *hidden = new QWidget(parent);
    hidden->setGeometry(twipsRect(QRect(atTwips, QSize(1800, 900))));
    hidden->hide();
    addLabel(page, hidden, labelName, labelIndex, QStringLiteral("Mail"), QRect(0, 0, 600, kLabelHeight));
    NotifySet *mail = page->addNotifySet(NotifyKind::Mail, hidden);
    mail->allBox()->setGeometry(twipsRect(600, 0, 255, 255));
    mail->placeMembers(QPoint(0, 450), 300);
    return mail;
}

} // namespace pagecontrols
