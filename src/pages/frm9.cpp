#include "pages/frm9.h"

#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using namespace pagecontrols;

namespace {

constexpr int kTextLength = 8;

const QString kLabel1 = QStringLiteral("Label1");
const QString kLabel2 = QStringLiteral("Label2");

} // namespace

Frm9::Frm9(QWidget *parent)
    : PageWindow(QStringLiteral("frm9"), 9, parent)
{
    QFrame *picture = setUpPage({ QStringLiteral("Rückantwort / Fehlermeldung") }).front();

    const auto addText
        = [this, picture](const QString &name, const QString &text, const QString &tip, int top) {
              QLineEdit *field = addTextField(this, picture, name, -1, text,
                  QRect(2280, top, 1920, kFieldHeight), kTextLength, KeyFilter::PlainText);
              field->setToolTip(tip);
              // This page's own key handling sees each key before the key filter does: Qt runs the event
              // filter installed last first.
              field->installEventFilter(this);
              return field;
          };

    addLabel(this, picture, kLabel1, 0, QStringLiteral("Meldetext :"), QRect(240, 262, 1920, kLabelHeight));
    addText(QStringLiteral("txtZust"), QStringLiteral("Antwort"),
        QStringLiteral(" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) "), 240);

    // Never shown and set by nothing on the page: its value comes from the settings file alone.
    addCheckBox(this, picture, QStringLiteral("chkCLI"), -1, QStringLiteral("CLI"),
        QRect(4320, 240, 960, kLabelHeight))
        ->hide();

    QFrame *senders
        = addFrame(this, picture, QStringLiteral("fraSenden"), -1, QRect(120, 780, 5520, 2580), QFrame::Box);
    addLabel(this, senders, kLabel2, 14, QStringLiteral("Gesendet"), QRect(120, 120, 5280, kLabelHeight));
    addLabel(this, senders, kLabel2, 15, QStringLiteral(" von allen"), QRect(120, 480, 1800, kLabelHeight));
    NotifySet *sms = addNotifySet(NotifyKind::Sms, senders);
    sms->allBox()->setGeometry(twipsRect(1920, 502, 255, 255));
    addLabel(this, senders, kLabel2, 13, QStringLiteral("SMS"), QRect(1920, 840, 1455, kLabelHeight),
        Qt::AlignCenter);
    addLabel(this, senders, kLabel2, 0, QStringLiteral(" oder von"), QRect(120, 1140, 1800, kLabelHeight));
    placeInColumnsOfFour(sms, QPoint(1920, 1162), 600, 300);

    // Never shown on this page, yet sent to the module with whatever it holds.
    addHiddenMailSet(this, senders, kLabel2, 12, QPoint(3840, 120));

    addCheckBox(this, picture, QStringLiteral("chkPsw9"), -1,
        QStringLiteral("  bei Passwort immer antworten"), QRect(240, 3540, 5400, kLabelHeight));
    addLabel(this, picture, QStringLiteral("Label3"), 0,
        QStringLiteral("Antwort erfolgt an die angerufene Nummer"), QRect(240, 3900, 5400, kLabelHeight));

    QCheckBox *errorReply = addCheckBox(this, picture, QStringLiteral("chkAntw"), -1,
        QStringLiteral("Fehlermeldung  bei falschem Befehl"), QRect(240, 4500, 5400, kLabelHeight));
    addLabel(this, picture, kLabel1, 1, QStringLiteral("Meldetext :"), QRect(240, 4942, 1920, kLabelHeight));
    addText(QStringLiteral("txtErr"), QStringLiteral("ERROR"),
        QStringLiteral(" SMS- Inhalt bei falschem Befehl "), 4920)
        ->setEnabled(false);

    // toggled also runs for the value restored from the settings file, as a click would.
    connect(errorReply, &QCheckBox::toggled, this, &Frm9::applyErrorReply);
}

void Frm9::applyErrorReply()
{
    control(QStringLiteral("txtErr"))
        ->setEnabled(controlAs<QCheckBox>(QStringLiteral("chkAntw"))->isChecked());
}

void Frm9::pageLoaded()
{
    applyErrorReply();
}

bool Frm9::eventFilter(QObject *watched, QEvent *event)
{
    // Both texts take no Enter: it is swallowed like every other key outside their character set.
    if (event->type() == QEvent::KeyPress
        && (watched == control(QStringLiteral("txtZust")) || watched == control(QStringLiteral("txtErr")))) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return PageWindow::eventFilter(watched, event);
}
