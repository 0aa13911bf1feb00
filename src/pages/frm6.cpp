#include "pages/frm6.h"

#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>

using namespace pagecontrols;

namespace {

const QString kLabel1 = QStringLiteral("Label1");
const QString kPwmRangeTip = QStringLiteral(" PWM- Wert zwischen 0 und 255 ");

} // namespace

Frm6::Frm6(QWidget *parent)
    : PageWindow(QStringLiteral("frm6"), 6, parent)
{
    QFrame *picture = setUpPage({ QStringLiteral("PWM Ausgang") }).front();

    addInUseBox(this, picture, QStringLiteral("chk6"), -1, QStringLiteral("Belegt"),
        QRect(240, 150, 2400, kLabelHeight), [this] { applyInUse(); });

    QFrame *fra6 = addFrame(this, picture, QStringLiteral("fra6"), -1, QRect(120, 600, 5520, 4920));
    fra6->hide();
    addLabel(
        this, fra6, kLabel1, 3, QStringLiteral("Meldetext muss lauten: "), QRect(120, 0, 5280, kLabelHeight));
    addCommandLabel(this, fra6, kLabel1, 2, QStringLiteral("PWM=0"), QRect(600, 360, 1080, kLabelHeight))
        ->setToolTip(kPwmRangeTip);
    addLabel(this, fra6, kLabel1, 4, QStringLiteral("bis zu"), QRect(1680, 360, 1080, kLabelHeight),
        Qt::AlignCenter);
    addCommandLabel(this, fra6, kLabel1, 1, QStringLiteral("PWM=255"), QRect(2880, 360, 1200, kLabelHeight))
        ->setToolTip(kPwmRangeTip);

    // Set by the page alone, from chk6; the user never sees it.
    addCheckBox(
        this, fra6, QStringLiteral("chkCLI"), -1, QStringLiteral("CLI"), QRect(4320, 360, 960, kLabelHeight))
        ->hide();

    addLabel(this, fra6, kLabel1, 0, QStringLiteral("Gesendet"), QRect(120, 960, 1920, kLabelHeight));
    addLabel(this, fra6, kLabel1, 13, QStringLiteral("SMS"), QRect(2040, 960, 1455, kLabelHeight),
        Qt::AlignCenter);
    QFrame *senders
        = addFrame(this, fra6, QStringLiteral("fraSenden"), -1, QRect(120, 1320, 5280, 1860), QFrame::Box);
    NotifySet *sms = addNotifySet(NotifyKind::Sms, senders);
    sms->allBox()->setText(QStringLiteral(" von allen "));
    sms->allBox()->setGeometry(twipsRect(120, 120, 2760, kLabelHeight));
    addLabel(this, senders, kLabel1, 5, QStringLiteral(" oder von"), QRect(120, 540, 1800, kLabelHeight));
    placeInColumnsOfFour(sms, QPoint(1920, 562), 600, 300);

    // Never shown on this page, kept in the settings file all the same.
    addHiddenMailSet(this, fra6, kLabel1, 14, QPoint(3600, 3300));

    addCheckBox(this, fra6, QStringLiteral("chkPsw6"), -1, QStringLiteral("bei Passwort immer schalten"),
        QRect(120, 3420, 5280, kLabelHeight));
}

void Frm6::applyInUse()
{
    const QCheckBox *chk6 = controlAs<QCheckBox>(QStringLiteral("chk6"));
    control(QStringLiteral("fra6"))->setVisible(chk6->isChecked());
    // The same state, so the two can never be stored differently.
    controlAs<QCheckBox>(QStringLiteral("chkCLI"))->setCheckState(chk6->checkState());
}

void Frm6::pageLoaded()
{
    // The stored chkCLI may have been restored after chk6 with another value.
    applyInUse();
}
