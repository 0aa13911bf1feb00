#include "pages/frm5.h"

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
constexpr QRect kFrame(240, 660, 5400, 4800);

} // namespace

Frm5::Frm5(QWidget *parent)
    : PageWindow(QStringLiteral("frm5"), 5, parent)
{
    QFrame *picture = setUpPage({ QStringLiteral("ADC Eingang") }).front();

    addInUseBox(this, picture, QStringLiteral("chk5"), -1, QStringLiteral("Belegt"), kBelegt,
        [this] { chk5_Click(); });

    QFrame *frame = addFrame(this, picture, QStringLiteral("fra5"), -1, kFrame);
    addMessageText(
        this, frame, { QStringLiteral("Label2"), 1 }, { QStringLiteral("txt5") }, QStringLiteral("ADC IN"));

    addLabel(this, frame, QStringLiteral("Label3"), 0, QStringLiteral("Meldung wenn der Eingang "),
        QRect(0, 570, 5160, 300));
    // The two directions in a container of their own.
    QFrame *directions = addFrame(this, frame, QStringLiteral("Frame1"), -1, QRect(360, 900, 4440, 660));
    addOption(this, directions, QStringLiteral("OptO"), -1, QStringLiteral(" überschreitet"),
        QRect(0, 0, 4440, 300))
        ->setChecked(true);
    addOption(this, directions, QStringLiteral("OptU"), -1, QStringLiteral(" unterschreitet"),
        QRect(0, 360, 4440, 300));

    addLimit(this, frame, { QStringLiteral("Label3"), 1 }, -1, 1650,
        QStringLiteral(" Wert zwischen 0 und 100 % eingeben "), LimitLeaving::Reset);

    addReportRecipients(this, frame, { QStringLiteral("frame5") }, QPoint(0, 2400),
        { .heading = { QStringLiteral("Label2"), 0 },
            .toAll = { QStringLiteral("Label2"), 2 },
            .orTo = { QStringLiteral("Label2"), 8 },
            .sms = { QStringLiteral("Label2"), 7 },
            .mail = { QStringLiteral("Label2"), 5 },
            .fax = { QStringLiteral("Label2"), 4 } });

    frame->hide();
}

QCheckBox *Frm5::chk5() const
{
    return controlAs<QCheckBox>(QStringLiteral("chk5"));
}

QFrame *Frm5::fra5() const
{
    return controlAs<QFrame>(QStringLiteral("fra5"));
}

QLineEdit *Frm5::txt5() const
{
    return controlAs<QLineEdit>(QStringLiteral("txt5"));
}

QLineEdit *Frm5::txtwert() const
{
    return controlAs<QLineEdit>(QStringLiteral("txtwert"));
}

void Frm5::chk5_Click()
{
    fra5()->setVisible(chk5()->isChecked());
}

void Frm5::pageLoaded()
{
    chk5_Click();
}
