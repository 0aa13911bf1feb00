#include "pages/frm3.h"

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
constexpr QRect kInputFrame(240, 660, 5280, 1770);
constexpr QRect kSeparator(360, 3090, 5160, 30); // in the page
constexpr QPoint kRecipients(360, 3240); // in the page, over the lower part of the pictures

} // namespace

Frm3::Frm3(QWidget *parent)
    : PageWindow(QStringLiteral("frm3"), 3, parent)
{
    const QList<QFrame *> pictures
        = setUpPage({ QStringLiteral("Eingang  1"), QStringLiteral("Eingang  2") });
    for (int k = 1; k <= kInputCount; ++k) {
        buildInput(pictures.at(k - 1), k);
        // The tab strip's own handling shows the tab's picture first: slots run in the order they were
        // connected.
        connect(tab(k), &QAbstractButton::toggled, this, [this, k](bool selected) {
            if (selected)
                showRecipientsFor(k);
        });
    }

    // One set of recipients for both inputs, outside the tabs, under a separator line.
    addFrame(this, this, QStringLiteral("Line1"), 4, kSeparator, QFrame::HLine)->hide();
    QFrame *frawer = addReportRecipients(this, this, { QStringLiteral("frawer") }, kRecipients,
        { .heading = { QStringLiteral("Meldung"), 14 },
            .toAll = { QStringLiteral("Label2"), 15 },
            .orTo = { QStringLiteral("Label2"), 9 },
            .sms = { QStringLiteral("Label2"), 4 },
            .mail = { QStringLiteral("Label2"), 5 },
            .fax = { QStringLiteral("Label2"), 6 } });
    frawer->hide();
}

void Frm3::buildInput(QWidget *picture, int input)
{
    addInUseBox(this, picture, QStringLiteral("chk3"), input, QStringLiteral("Belegt"), kBelegt,
        [this, input] { chk3_Click(input); });

    QFrame *frame = addFrame(this, picture, QStringLiteral("fra3"), input, kInputFrame);
    // The labels of the two inputs are Label2(1) and Label2(3).
    addMessageText(this, frame, { QStringLiteral("Label2"), input == 1 ? 1 : 3 },
        { QStringLiteral("txt3"), input }, QStringLiteral("DIGITAL%1").arg(input));

    QFrame *level = addFrame(
        this, frame, QStringLiteral("Frame1"), input, QRect(0, 600, 5160, 1080), QFrame::StyledPanel);
    addLabel(this, level, QStringLiteral("Label3"), input, QStringLiteral("Meldung wenn Eingang"),
        QRect(120, 90, 4920, 300));
    addOption(this, level, QStringLiteral("OptL"), input, QStringLiteral("Low"), QRect(360, 570, 1800, 300))
        ->setChecked(true);
    addOption(
        this, level, QStringLiteral("OptH"), input, QStringLiteral("High"), QRect(2400, 570, 1800, 300));

    frame->hide();
}

QCheckBox *Frm3::chk3(int input) const
{
    return controlAs<QCheckBox>(QStringLiteral("chk3"), input);
}

QFrame *Frm3::fra3(int input) const
{
    return controlAs<QFrame>(QStringLiteral("fra3"), input);
}

QLineEdit *Frm3::txt3(int input) const
{
    return controlAs<QLineEdit>(QStringLiteral("txt3"), input);
}

QFrame *Frm3::frawer() const
{
    return controlAs<QFrame>(QStringLiteral("frawer"));
}

QFrame *Frm3::line1() const
{
    return controlAs<QFrame>(QStringLiteral("Line1"), 4);
}

void Frm3::chk3_Click(int input)
{
    fra3(input)->setVisible(chk3(input)->isChecked());
    showRecipientsFor(input);
}

void Frm3::showRecipientsFor(int input)
{
    const bool inUse = chk3(input)->isChecked();
    frawer()->setVisible(inUse);
    line1()->setVisible(inUse);
}

void Frm3::pageLoaded()
{
    showRecipientsFor(1);
}
