#include "pages/frm3.h"

#include "pages/inputpageparts.h"
#include "pages/keyfilteradapter.h"
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
constexpr QRect kInputFrame(240, 660, 5280, 1770);
constexpr QRect kSeparator(360, 3090, 5160, 30); // in the page
constexpr QPoint kRecipients(360, 3240); // in the page, over the lower part of the pictures

} // namespace

Frm3::Frm3(QWidget *parent)
    : PageWindow(QStringLiteral("frm3"), 3, parent)
{
    const QList<QFrame *> pictures = setUpPage({ QStringLiteral("Eingang  1"), QStringLiteral("Eingang  2") });
    for (int k = 1; k <= kInputCount; ++k) {
        buildInput(pictures.at(k - 1), k);
        // After the tab strip's own handling, which shows the tab's picture.
        connect(tab(k), &QAbstractButton::toggled, this, [this, k](bool selected) {
            if (selected)
                showRecipientsFor(k);
        });
    }

    // One set of recipients for both inputs, outside the tabs, under a separator line.
    auto *line = add(new QFrame(this), QStringLiteral("Line1"), 4);
    line->setGeometry(twipsRect(kSeparator.x(), kSeparator.y(), kSeparator.width(), kSeparator.height()));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->hide();

    auto *frawer = add(new QFrame(this), QStringLiteral("frawer"));
    frawer->setGeometry(
        twipsRect(kRecipients.x(), kRecipients.y(), kReportRecipientsWidth, kReportRecipientsHeight));
    frawer->setFrameShape(QFrame::NoFrame);
    addReportRecipients(this, frawer,
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
    auto *belegt = new QCheckBox(QStringLiteral("Belegt"), picture);
    belegt->setGeometry(twipsRect(kBelegt.x(), kBelegt.y(), kBelegt.width(), kBelegt.height()));
    add(belegt, QStringLiteral("chk3"), input);
    // stateChanged also runs for a value restored from the settings file, as a click would.
    connect(belegt, &QCheckBox::stateChanged, this, [this, input] { chk3_Click(input); });

    auto *frame = add(new QFrame(picture), QStringLiteral("fra3"), input);
    frame->setGeometry(
        twipsRect(kInputFrame.x(), kInputFrame.y(), kInputFrame.width(), kInputFrame.height()));
    frame->setFrameShape(QFrame::NoFrame);

    // The labels of the two inputs are Label2(1) and Label2(3).
    auto *textLabel
        = add(new QLabel(QStringLiteral("Meldetext :"), frame), QStringLiteral("Label2"), input == 1 ? 1 : 3);
    textLabel->setGeometry(twipsRect(0, 0, 1920, 345));
    auto *text = new QLineEdit(QStringLiteral("DIGITAL%1").arg(input), frame);
    text->setGeometry(twipsRect(2040, 0, 3120, 345));
    text->setMaxLength(16);
    text->setAlignment(Qt::AlignCenter);
    QFont bold = text->font();
    bold.setBold(true);
    text->setFont(bold);
    attachKeyFilter(text, KeyFilter::PlainText);
    selectAllOnEntry(text);
    add(text, QStringLiteral("txt3"), input);

    auto *level = add(new QFrame(frame), QStringLiteral("Frame1"), input);
    level->setGeometry(twipsRect(0, 600, 5160, 1080));
    level->setFrameShape(QFrame::StyledPanel);
    level->setFrameShadow(QFrame::Sunken);
    auto *when
        = add(new QLabel(QStringLiteral("Meldung wenn Eingang"), level), QStringLiteral("Label3"), input);
    when->setGeometry(twipsRect(120, 90, 4920, 300));
    auto *low = add(new QRadioButton(QStringLiteral("Low"), level), QStringLiteral("OptL"), input);
    low->setGeometry(twipsRect(360, 570, 1800, 300));
    low->setChecked(true);
    auto *high = add(new QRadioButton(QStringLiteral("High"), level), QStringLiteral("OptH"), input);
    high->setGeometry(twipsRect(2400, 570, 1800, 300));

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
    for (int k = 1; k <= kInputCount; ++k)
        settleInUseBox(chk3(k));
    showRecipientsFor(1);
}
