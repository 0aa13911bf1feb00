#include "pages/frm7.h"

#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

using namespace pagecontrols;

namespace {

// optZ(1..12), in three columns of four; the same in every language.
constexpr const char *kDurations[Frm7::kDurationCount] = {
    "0,3 sec",
    "2,5 sec",
    "10 sec",
    "30 sec",
    "1 min",
    "5 min",
    "10 min",
    "30 min",
    "1 h",
    "5 h",
    "12 h",
    "24 h",
};

const QString kLabel1 = QStringLiteral("Label1");

} // namespace

Frm7::Frm7(QWidget *parent)
    : PageWindow(QStringLiteral("frm7"), 7, parent)
{
    QFrame *picture = setUpPage({ QStringLiteral("Zeitschaltung bei Anruf") }).front();

    addInUseBox(this, picture, QStringLiteral("chk7"), -1, QStringLiteral("Belegt"),
        QRect(240, 150, 2400, kLabelHeight), [this] { applyInUse(); });

    QFrame *fra7 = addFrame(this, picture, QStringLiteral("fra7"), -1, QRect(120, 600, 5520, 4920));
    fra7->hide();

    // The durations are the only option buttons in their frame, so exactly one of them is always selected.
    auto *onTime
        = add(new QGroupBox(QStringLiteral(" Ausgang einschalten für "), fra7), QStringLiteral("Frame1"), 0);
    onTime->setGeometry(twipsRect(120, 0, 5280, 1860));
    for (int k = 1; k <= kDurationCount; ++k) {
        addOption(this, onTime, QStringLiteral("optZ"), k, QString::fromLatin1(kDurations[k - 1]),
            QRect(360 + (k - 1) / 4 * 1680, 360 + (k - 1) % 4 * 360, 1560, kLabelHeight))
            ->setChecked(k == 1);
    }

    QCheckBox *anyCaller = addCheckBox(this, fra7, QStringLiteral("chkPsw7"), -1,
        QStringLiteral("Jeder darf anrufen"), QRect(120, 2040, 5280, kLabelHeight));

    QFrame *fraWer7 = addFrame(this, fra7, QStringLiteral("fraWer7"), -1, QRect(0, 2460, 5520, 2400));
    addLabel(this, fraWer7, kLabel1, 0, QStringLiteral(" oder angerufen"), QRect(120, 0, 5280, kLabelHeight));
    addLabel(this, fraWer7, kLabel1, 1, QStringLiteral(" von allen"), QRect(120, 360, 1800, kLabelHeight));
    NotifySet *sms = addNotifySet(NotifyKind::Sms, fraWer7);
    sms->allBox()->setGeometry(twipsRect(1920, 382, 255, 255));
    addLabel(this, fraWer7, kLabel1, 5, QStringLiteral(" oder von"), QRect(120, 1020, 1800, kLabelHeight));
    placeInColumnsOfFour(sms, QPoint(1920, 1042), 600, 300);
    // The column heading stands beside the caller selection, over its columns, and stays when the
    // selection hides.
    addLabel(this, fra7, QStringLiteral("Label2"), 14, QStringLiteral("TEL"),
        QRect(1920, 2460 + 720, 1455, kLabelHeight), Qt::AlignCenter);

    // toggled also runs for the value restored from the settings file, as a click would.
    connect(anyCaller, &QCheckBox::toggled, this, &Frm7::applyCallerRule);
}

void Frm7::pageLoaded()
{
    applyCallerRule();
    applyInUse();
}

void Frm7::applyCallerRule()
{
    control(QStringLiteral("fraWer7"))
        ->setHidden(controlAs<QCheckBox>(QStringLiteral("chkPsw7"))->isChecked());
}

void Frm7::applyInUse()
{
    control(QStringLiteral("fra7"))->setVisible(controlAs<QCheckBox>(QStringLiteral("chk7"))->isChecked());
}
