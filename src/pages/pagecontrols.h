#pragma once

#include "pages/notifysets.h"
#include "pages/pagewindow.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>

// Small builders for the controls of the event pages: each creates a control at a place given in twips and
// registers it with the page under its name and index, so the settings file and the caption table find it.
namespace pagecontrols {

inline constexpr QRgb kCommandText = qRgb(255, 0, 0);
inline constexpr int kLabelHeight = 300;
inline constexpr int kFieldHeight = 345;

inline QFont pageFont(qreal pointSize = 9.75, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

inline QLabel *addLabel(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    label->setAlignment(alignment);
    return page->add(label, name, index);
}

// A label that shows an SMS command the module understands: red, bold, like the text to be sent.
inline QLabel *addCommandLabel(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips)
{
    QLabel *label = addLabel(page, parent, name, index, caption, twips);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(kCommandText));
    label->setPalette(pal);
    label->setFont(pageFont(9.75, true));
    return label;
}

inline QCheckBox *addCheckBox(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips)
{
    auto *box = new QCheckBox(caption, parent);
    box->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return page->add(box, name, index);
}

// A container; `shape` NoFrame for the borderless frames that only group what is shown or hidden together.
inline QFrame *addFrame(PageWindow *page, QWidget *parent, const QString &name, int index, const QRect &twips,
    QFrame::Shape shape = QFrame::NoFrame)
{
    auto *frame = new QFrame(parent);
    frame->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    frame->setFrameShape(shape);
    if (shape != QFrame::NoFrame)
        frame->setFrameShadow(QFrame::Sunken);
    return page->add(frame, name, index);
}

// An 8-character text field in the look of the page's other fields: bold, centred.
inline QLineEdit *addTextField(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &text, const QRect &twips)
{
    auto *field = new QLineEdit(text, parent);
    field->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    field->setAlignment(Qt::AlignCenter);
    field->setFont(pageFont(9.75, true));
    return page->add(field, name, index);
}

// Members 1..12 of a sender set in three columns of four (1-4, 5-8, 9-12), from the top left member.
inline void placeInColumnsOfFour(NotifySet *set, const QPoint &firstTwips, int columnStep, int rowStep)
{
    for (int i = 1; i <= set->memberCount(); ++i) {
        const QPoint at = firstTwips + QPoint((i - 1) / 4 * columnStep, (i - 1) % 4 * rowStep);
        set->box(i)->move(twips(at.x()), twips(at.y()));
    }
}

// The e-mail set of a page that never shows it: its label and boxes sit in a container that stays hidden, yet
// they are stored and follow the targets like any visible set.
inline NotifySet *addHiddenMailSet(
    PageWindow *page, QWidget *parent, const QString &labelName, int labelIndex, const QPoint &atTwips)
{
    auto *hidden = new QWidget(parent);
    hidden->setGeometry(twipsRect(atTwips.x(), atTwips.y(), 1800, 900));
    hidden->hide();
    addLabel(page, hidden, labelName, labelIndex, QStringLiteral("Mail"), QRect(0, 0, 600, kLabelHeight));
    NotifySet *mail = page->addNotifySet(NotifyKind::Mail, hidden);
    mail->allBox()->setGeometry(twipsRect(600, 0, 255, 255));
    mail->placeMembers(QPoint(0, 450), 300);
    return mail;
}

} // namespace pagecontrols
