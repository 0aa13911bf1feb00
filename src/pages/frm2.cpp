#include "pages/frm2.h"

#include "pages/inputpageparts.h"
#include "pages/limitfield.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Geometry of the controls in twips.
constexpr QRect kBelegt(240, 180, 2400, 300);
constexpr QRect kLimitFrame(240, 660, 5280, 1560);
constexpr QPoint kRecipients(360, 3060); // in the page, over the lower part of the pictures

} // namespace

Frm2::Frm2(QWidget *parent)
    : PageWindow(QStringLiteral("frm2"), 2, parent)
{
    const QList<QFrame *> pictures = setUpPage({ QStringLiteral("T1"), QStringLiteral("T2") });
    for (int k = 1; k <= kInputCount; ++k) {
        buildInput(pictures.at(k - 1), k);
        // After the tab strip's own handling, which shows the tab's picture.
        connect(tab(k), &QAbstractButton::toggled, this, [this, k](bool selected) {
            if (selected)
                applyVisibilityRule(k);
        });
    }

    // One set of recipients for both inputs, outside the tabs.
    auto *fraWer = add(new QFrame(this), QStringLiteral("fraWer"));
    fraWer->setGeometry(
        twipsRect(kRecipients.x(), kRecipients.y(), kReportRecipientsWidth, kReportRecipientsHeight));
    fraWer->setFrameShape(QFrame::NoFrame);
    addReportRecipients(this, fraWer,
        { .heading = { QStringLiteral("Label2"), 19 },
            .toAll = { QStringLiteral("Label2"), 18 },
            .orTo = { QStringLiteral("Label2"), 14 },
            .sms = { QStringLiteral("Label2"), 15 },
            .mail = { QStringLiteral("Label2"), 16 },
            .fax = { QStringLiteral("Label2"), 17 } });
    fraWer->hide();

    // Input 2 can be put in use only once the page has loaded.
    chk2(2)->setEnabled(false);
}

void Frm2::buildInput(QWidget *picture, int input)
{
    auto *belegt = new QCheckBox(input == 1 ? QStringLiteral("Belegt") : QStringLiteral(" Belegt"), picture);
    belegt->setGeometry(twipsRect(kBelegt.x(), kBelegt.y(), kBelegt.width(), kBelegt.height()));
    add(belegt, QStringLiteral("chk2"), input);
    // stateChanged also runs for a value restored from the settings file, as a click would.
    connect(belegt, &QCheckBox::stateChanged, this, [this, input] { applyVisibilityRule(input); });

    auto *frame = add(new QFrame(picture), QStringLiteral("fra2"), input);
    frame->setGeometry(
        twipsRect(kLimitFrame.x(), kLimitFrame.y(), kLimitFrame.width(), kLimitFrame.height()));
    frame->setFrameShape(QFrame::NoFrame);

    const int labelIndex = (input - 1) * 2;
    auto *when = add(
        new QLabel(QStringLiteral("Meldung wenn der Eingang"), frame), QStringLiteral("Label3"), labelIndex);
    when->setGeometry(twipsRect(0, 0, 5280, 300));
    auto *over
        = add(new QRadioButton(QStringLiteral(" überschreitet"), frame), QStringLiteral("OptO"), input);
    over->setGeometry(twipsRect(360, 360, 3600, 300));
    over->setChecked(true);
    auto *under
        = add(new QRadioButton(QStringLiteral(" unterschreitet"), frame), QStringLiteral("OptU"), input);
    under->setGeometry(twipsRect(360, 720, 3600, 300));

    auto *limitLabel = add(
        new QLabel(QStringLiteral(" den Grenzwert (%) :"), frame), QStringLiteral("Label3"), labelIndex + 1);
    limitLabel->setGeometry(twipsRect(0, 1170, 2640, 345));
    auto *limit = new QLineEdit(QStringLiteral("50"), frame);
    limit->setGeometry(twipsRect(2760, 1170, 720, 345));
    limit->setAlignment(Qt::AlignCenter);
    QFont bold = limit->font();
    bold.setBold(true);
    limit->setFont(bold);
    limit->setToolTip(QStringLiteral("Wert zwischen 0 und 100 eingeben"));
    attachLimitField(limit, LimitLeaving::Clamp);
    add(limit, QStringLiteral("txtwert"), input);

    frame->hide();
}

QCheckBox *Frm2::chk2(int input) const
{
    return controlAs<QCheckBox>(QStringLiteral("chk2"), input);
}

QFrame *Frm2::fra2(int input) const
{
    return controlAs<QFrame>(QStringLiteral("fra2"), input);
}

QLineEdit *Frm2::txtwert(int input) const
{
    return controlAs<QLineEdit>(QStringLiteral("txtwert"), input);
}

QFrame *Frm2::fraWer() const
{
    return controlAs<QFrame>(QStringLiteral("fraWer"));
}

void Frm2::applyVisibilityRule(int input)
{
    const bool inUse = chk2(input)->isChecked();
    fra2(input)->setVisible(inUse);
    fraWer()->setVisible(inUse);
}

void Frm2::acknowledgeMessage()
{
    // This page has no check of its own, but the overlay of the general page may still be up when the user
    // has opened this page meanwhile: OK ends the overlay here too.
    returnFromMessageOverlay(this);
    QCheckBox *inUse = chk2(1);
    if (inUse->isVisibleTo(this) && inUse->isEnabled())
        inUse->setFocus(Qt::OtherFocusReason);
}

void Frm2::pageLoaded()
{
    for (int k = 1; k <= kInputCount; ++k)
        settleInUseBox(chk2(k));
    applyVisibilityRule(1);
    chk2(2)->setEnabled(true);
}
