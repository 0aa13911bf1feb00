#include "pages/frm2.h"

#include "pages/inputpageparts.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>

using namespace pagecontrols;

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
        // The tab strip's own handling shows the tab's picture first: slots run in the order they were
        // connected.
        connect(tab(k), &QAbstractButton::toggled, this, [this, k](bool selected) {
            if (selected)
                applyVisibilityRule(k);
        });
    }

    // One set of recipients for both inputs, outside the tabs.
    QFrame *fraWer = addReportRecipients(this, this, { QStringLiteral("fraWer") }, kRecipients,
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
    addInUseBox(this, picture, QStringLiteral("chk2"), input,
        input == 1 ? QStringLiteral("Belegt") : QStringLiteral(" Belegt"), kBelegt,
        [this, input] { applyVisibilityRule(input); });

    QFrame *frame = addFrame(this, picture, QStringLiteral("fra2"), input, kLimitFrame);
    const int labelIndex = (input - 1) * 2;
    addLabel(this, frame, QStringLiteral("Label3"), labelIndex, QStringLiteral("Meldung wenn der Eingang"),
        QRect(0, 0, 5280, 300));
    addOption(this, frame, QStringLiteral("OptO"), input, QStringLiteral(" überschreitet"),
        QRect(360, 360, 3600, 300))
        ->setChecked(true);
    addOption(this, frame, QStringLiteral("OptU"), input, QStringLiteral(" unterschreitet"),
        QRect(360, 720, 3600, 300));
    addLimit(this, frame, { QStringLiteral("Label3"), labelIndex + 1 }, input, 1170,
        QStringLiteral("Wert zwischen 0 und 100 eingeben"), LimitLeaving::Clamp);

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
    applyVisibilityRule(1);
    chk2(2)->setEnabled(true);
}
