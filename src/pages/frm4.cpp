#include "pages/frm4.h"

#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

using namespace pagecontrols;

namespace {

// Labels of the switch-text block of each output, as the caption table addresses them.
struct OutputLabels
{
    int text; // Label1: "Meldetext :"
    int mustRead; // Label1: "Meldetext muss lauten: "
    int forOn; // lbltext: " für Ein"
    int forOff; // lbltext: " für Aus"
    int blankMarker; // lbltext: "* steht für Leer-Zeichen"
};

constexpr OutputLabels kOutputLabels[Frm4::kOutputCount] = {
    { 0, 1, 1, 6, 11 },
    { 12, 24, 14, 8, 7 },
    { 16, 19, 10, 9, 12 },
    { 8, 15, 13, 5, 0 },
};

constexpr int kSwitchTextLength = 8;

// The output panels are short: the shared sender block lies below them (twips).
constexpr int kOutputPictureHeight = 2040;
constexpr QRect kSenderBlock(120, 2700, 5760, 3480);

const QString kLabel1 = QStringLiteral("Label1");
const QString kLblText = QStringLiteral("lbltext");

} // namespace

Frm4::Frm4(QWidget *parent)
    : PageWindow(QStringLiteral("frm4"), 4, parent)
{
    QStringList captions;
    for (int i = 1; i <= kOutputCount; ++i)
        captions << QStringLiteral("Ausgang  %1").arg(i);
    const QList<QFrame *> pictures = setUpPage(captions, 9.75, kOutputPictureHeight);
    for (int i = 1; i <= kOutputCount; ++i) {
        // The strip's own handler makes the tab the active one first: slots run in the order they were
        // connected.
        connect(tab(i), &QAbstractButton::toggled, this, [this, i](bool chosen) {
            if (!chosen)
                return;
            m_chosenOutput = i;
            showSenderBlockFor(i);
        });
    }
    for (int i = 1; i <= kOutputCount; ++i)
        buildOutput(i, pictures.at(i - 1));
    buildSenderBlock();
}

void Frm4::buildOutput(int output, QWidget *picture)
{
    const OutputLabels &labels = kOutputLabels[output - 1];
    addInUseBox(this, picture, QStringLiteral("chk4"), output, QStringLiteral("Belegt"),
        QRect(240, 150, 2400, kLabelHeight), [this, output] {
            const bool on = chk4(output)->isChecked();
            control(QStringLiteral("fra4"), output)->setVisible(on);
            control(QStringLiteral("frawer"))->setVisible(on);
        });

    QFrame *block = addFrame(this, picture, QStringLiteral("fra4"), output, QRect(120, 540, 5520, 1440));
    block->hide();
    addLabel(
        this, block, kLabel1, labels.text, QStringLiteral("Meldetext :"), QRect(120, 22, 1920, kLabelHeight));
    // Enter is a control key: it passes the filter unchanged, as the page wants.
    QLineEdit *text
        = addTextField(this, block, QStringLiteral("txtSMS"), output, QStringLiteral("Relais%1").arg(output),
            QRect(2160, 0, 1920, kFieldHeight), kSwitchTextLength, KeyFilter::PlainText);
    text->setToolTip(QStringLiteral(" Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) "));
    text->installEventFilter(this);

    addLabel(this, block, kLabel1, labels.mustRead, QStringLiteral("Meldetext muss lauten: "),
        QRect(120, 480, 2640, kLabelHeight));
    // Each command with its meaning right after it, however wide the command is.
    const auto addCommandLine
        = [this, block, output](const QString &command, int meaningIndex, const QString &meaning, int top) {
              auto *line = new QWidget(block);
              line->setGeometry(twipsRect(2760, top, 2760, kLabelHeight));
              auto *layout = new QHBoxLayout(line);
              layout->setContentsMargins(0, 0, 0, 0);
              layout->setSpacing(0);
              layout->addWidget(addCommandLabel(this, line, command, output, QString(), {}));
              layout->addWidget(addLabel(this, line, kLblText, meaningIndex, meaning, {}));
              layout->addStretch();
          };
    addCommandLine(QStringLiteral("lblE"), labels.forOn, QStringLiteral(" für Ein"), 480);
    addCommandLine(QStringLiteral("lblA"), labels.forOff, QStringLiteral(" für Aus"), 780);
    addLabel(this, block, kLblText, labels.blankMarker, QStringLiteral("* steht für Leer-Zeichen"),
        QRect(120, 1140, 5400, kLabelHeight));
}

void Frm4::buildSenderBlock()
{
    QFrame *frawer = addFrame(this, this, QStringLiteral("frawer"), -1, kSenderBlock, QFrame::Panel);
    frawer->hide();
    addLabel(
        this, frawer, kLabel1, 6, QStringLiteral("Gesendet von jedem"), QRect(240, 150, 2520, kLabelHeight));
    QCheckBox *anySender
        = addCheckBox(this, frawer, QStringLiteral("chkCLI"), -1, QString(), QRect(2880, 172, 255, 255));

    QFrame *fraSenden = addFrame(this, frawer, QStringLiteral("fraSenden"), -1, QRect(120, 540, 5520, 1980));
    addLabel(
        this, fraSenden, kLabel1, 4, QStringLiteral(" oder gesendet"), QRect(120, 0, 1800, kLabelHeight));
    NotifySet *sms = addNotifySet(NotifyKind::Sms, fraSenden);
    sms->allBox()->setText(QStringLiteral(" von allen"));
    sms->allBox()->setGeometry(twipsRect(1920, 0, 2400, kLabelHeight));
    addLabel(this, fraSenden, kLabel1, 5, QStringLiteral("oder von"), QRect(120, 780, 1800, kLabelHeight));
    addLabel(this, fraSenden, kLabel1, 2, QStringLiteral("SMS"), QRect(1920, 420, 1455, kLabelHeight),
        Qt::AlignCenter);
    placeInColumnsOfFour(sms, QPoint(1920, 802), 600, 300);

    // The e-mail set is never shown here; it is kept in the settings file all the same.
    addHiddenMailSet(this, frawer, kLabel1, 3, QPoint(4200, 900));

    addCheckBox(this, frawer, QStringLiteral("chkPsw4"), -1, QStringLiteral(" bei Passwort immer schalten"),
        QRect(240, 2580, 5400, kLabelHeight));
    addCheckBox(this, frawer, QStringLiteral("chkAnt4"), -1, QStringLiteral(" Rückantwort"),
        QRect(240, 2940, 5400, kLabelHeight));

    connect(anySender, &QCheckBox::toggled, fraSenden,
        [fraSenden](bool anyone) { fraSenden->setVisible(!anyone); });
}

QCheckBox *Frm4::chk4(int output) const
{
    return controlAs<QCheckBox>(QStringLiteral("chk4"), output);
}

QLineEdit *Frm4::txtSMS(int output) const
{
    return controlAs<QLineEdit>(QStringLiteral("txtSMS"), output);
}

void Frm4::showSenderBlockFor(int output)
{
    control(QStringLiteral("frawer"))->setVisible(chk4(output)->isChecked());
}

void Frm4::ShowSwitchText(int index)
{
    QString command = txtSMS(index)->text();
    if (command.size() < kSwitchTextLength)
        command += QString(kSwitchTextLength - command.size(), u'*');
    controlAs<QLabel>(QStringLiteral("lblE"), index)->setText(command + QStringLiteral("=1"));
    controlAs<QLabel>(QStringLiteral("lblA"), index)->setText(command + QStringLiteral("=0"));
}

void Frm4::pageLoaded()
{
    for (int i = 1; i <= kOutputCount; ++i)
        ShowSwitchText(i);
    // Output 1, whichever tab the settings file may have chosen.
    showSenderBlockFor(1);
}

bool Frm4::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        for (int i = 1; i <= kOutputCount; ++i) {
            if (watched == txtSMS(i)) {
                ShowSwitchText(i);
                break;
            }
        }
    }
    return PageWindow::eventFilter(watched, event);
}
