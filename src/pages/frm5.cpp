#include "pages/frm5.h"

#include "pages/inputpageparts.h"
#include "pages/keyfilteradapter.h"
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
constexpr QRect kFrame(240, 660, 5400, 4800);

QFont boldFont(const QWidget *widget)
{
    QFont font = widget->font();
    font.setBold(true);
    return font;
}

} // namespace

Frm5::Frm5(QWidget *parent)
    : PageWindow(QStringLiteral("frm5"), 5, parent)
{
    QFrame *picture = setUpPage({ QStringLiteral("ADC Eingang") }).front();

    auto *belegt = add(new QCheckBox(QStringLiteral("Belegt"), picture), QStringLiteral("chk5"));
    belegt->setGeometry(twipsRect(kBelegt.x(), kBelegt.y(), kBelegt.width(), kBelegt.height()));

    auto *frame = add(new QFrame(picture), QStringLiteral("fra5"));
    frame->setGeometry(twipsRect(kFrame.x(), kFrame.y(), kFrame.width(), kFrame.height()));
    frame->setFrameShape(QFrame::NoFrame);

    auto *textLabel = add(new QLabel(QStringLiteral("Meldetext :"), frame), QStringLiteral("Label2"), 1);
    textLabel->setGeometry(twipsRect(0, 0, 1920, 345));
    auto *txt5 = new QLineEdit(QStringLiteral("ADC IN"), frame);
    txt5->setGeometry(twipsRect(2040, 0, 3120, 345));
    txt5->setMaxLength(16);
    txt5->setAlignment(Qt::AlignCenter);
    txt5->setFont(boldFont(txt5));
    attachKeyFilter(txt5, KeyFilter::PlainText);
    selectAllOnEntry(txt5);
    add(txt5, QStringLiteral("txt5"));

    auto *when
        = add(new QLabel(QStringLiteral("Meldung wenn der Eingang "), frame), QStringLiteral("Label3"), 0);
    when->setGeometry(twipsRect(0, 570, 5160, 300));
    // The two directions in a container of their own.
    auto *directions = add(new QFrame(frame), QStringLiteral("Frame1"));
    directions->setGeometry(twipsRect(360, 900, 4440, 660));
    directions->setFrameShape(QFrame::NoFrame);
    auto *over = add(new QRadioButton(QStringLiteral(" überschreitet"), directions), QStringLiteral("OptO"));
    over->setGeometry(twipsRect(0, 0, 4440, 300));
    over->setChecked(true);
    auto *under
        = add(new QRadioButton(QStringLiteral(" unterschreitet"), directions), QStringLiteral("OptU"));
    under->setGeometry(twipsRect(0, 360, 4440, 300));

    auto *limitLabel
        = add(new QLabel(QStringLiteral(" den Grenzwert (%) :"), frame), QStringLiteral("Label3"), 1);
    limitLabel->setGeometry(twipsRect(0, 1650, 2640, 345));
    auto *limit = new QLineEdit(QStringLiteral("50"), frame);
    limit->setGeometry(twipsRect(2760, 1650, 720, 345));
    limit->setAlignment(Qt::AlignCenter);
    limit->setFont(boldFont(limit));
    limit->setToolTip(QStringLiteral(" Wert zwischen 0 und 100 % eingeben "));
    attachLimitField(limit, LimitLeaving::Reset);
    add(limit, QStringLiteral("txtwert"));

    auto *recipients = add(new QFrame(frame), QStringLiteral("frame5"));
    recipients->setGeometry(twipsRect(0, 2400, kReportRecipientsWidth, kReportRecipientsHeight));
    recipients->setFrameShape(QFrame::NoFrame);
    addReportRecipients(this, recipients,
        { .heading = { QStringLiteral("Label2"), 0 },
            .toAll = { QStringLiteral("Label2"), 2 },
            .orTo = { QStringLiteral("Label2"), 8 },
            .sms = { QStringLiteral("Label2"), 7 },
            .mail = { QStringLiteral("Label2"), 5 },
            .fax = { QStringLiteral("Label2"), 4 } });

    frame->hide();
    // stateChanged also runs for a value restored from the settings file, as a click would.
    connect(belegt, &QCheckBox::stateChanged, this, &Frm5::chk5_Click);
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
    settleInUseBox(chk5());
    chk5_Click();
}
