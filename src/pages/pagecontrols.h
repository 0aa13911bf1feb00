#pragma once

#include "core/fieldrule.h"
#include "core/keyfilters.h"

#include <QFrame>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <functional>

class NotifySet;
class PageWindow;
class QCheckBox;
class QFont;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// A rectangle given in twips, in device-independent pixels.
QRect twipsRect(const QRect &twipsGeometry);

// The one way the pages build their controls: each builder creates a control at a place given in twips on
// `parent` and registers it with the page under its name and index (-1 for a single control), so the
// settings file and the caption table find it. The settings file keeps the controls in the order they are
// built.
namespace pagecontrols {

inline constexpr QRgb kCommandText = qRgb(255, 0, 0);
inline constexpr qreal kPagePointSize = 9.75;
inline constexpr int kLabelHeight = 300;
inline constexpr int kFieldHeight = 345;

QFont pageFont(qreal pointSize = kPagePointSize, bool bold = false);

QLabel *addLabel(PageWindow *page, QWidget *parent, const QString &name, int index, const QString &caption,
    const QRect &twips, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// A label that shows an SMS command the module understands: red, bold, like the text to be sent.
QLabel *addCommandLabel(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips);

QCheckBox *addCheckBox(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips);

QRadioButton *addOption(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips);

// A container; `shape` NoFrame for the borderless frames that only group what is shown or hidden together.
QFrame *addFrame(PageWindow *page, QWidget *parent, const QString &name, int index, const QRect &twips,
    QFrame::Shape shape = QFrame::NoFrame);

// A text field in the look of every field of the pages: bold Arial, centred. It takes any text; the
// builders below put it under its rules.
QLineEdit *addField(PageWindow *page, QWidget *parent, const QString &name, int index, const QString &text,
    const QRect &twips, qreal pointSize = kPagePointSize);

// Puts a field under its rule: its maximum length and key filter, and the page keeps the rule for the
// values a file brings.
void putUnderRule(PageWindow *page, QLineEdit *field, const FieldRule &rule);

// A typed field: at most `maxLength` characters, each typed one through `filter` (None: any character),
// and the whole text selected whenever the field is entered.
QLineEdit *addTextField(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &text, const QRect &twips, int maxLength, KeyFilter filter,
    qreal pointSize = kPagePointSize);

// A "Belegt" (in use) box. `rule` runs whenever the box changes, also when the settings file restores it,
// as a click would. A greyed box (only an edited settings file holds one) is not in use, as the parameter
// record reads it: it is shown unticked at once, which runs the rule, and from then on it only ticks and
// unticks. The state is watched rather than the tick, as only the state sees a ticked box turn greyed.
QCheckBox *addInUseBox(PageWindow *page, QWidget *parent, const QString &name, int index,
    const QString &caption, const QRect &twips, std::function<void()> rule);

// Members 1..12 of a sender set in three columns of four (1-4, 5-8, 9-12), from the top left member.
void placeInColumnsOfFour(NotifySet *set, const QPoint &firstTwips, int columnStep, int rowStep);

// The e-mail set of a page that never shows it: its label and boxes sit in a container that stays hidden, yet
// they are stored and follow the targets like any visible set.
NotifySet *addHiddenMailSet(
    PageWindow *page, QWidget *parent, const QString &labelName, int labelIndex, const QPoint &atTwips);

} // namespace pagecontrols
