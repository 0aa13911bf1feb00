#include "pages/inputpageparts.h"

#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagewindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

using namespace pagecontrols;

namespace {

// Size of the block.
constexpr int kReportRecipientsWidth = 5040;
constexpr int kReportRecipientsHeight = 2310;

constexpr int kBox = 255;
constexpr int kLabelLeft = 0;
constexpr int kLabelWidth = 1500;
constexpr int kRowHeight = 300;
constexpr int kHeadingTop = 0;
constexpr int kColumnsTop = 330;
constexpr int kAllTop = 660;
constexpr int kMembersTop = 1050;
constexpr int kMemberStep = 315;
constexpr int kSmsLeft = 1800;
constexpr int kSmsStep = 540;
constexpr int kMailLeft = 3720;
constexpr int kFaxLeft = 4560;
constexpr int kColumnLabelWidth = 900;

// The text and limit lines: label at the left edge, field beside it.
constexpr int kFieldLabelWidth = 1920;
constexpr int kMessageTextLeft = 2040;
constexpr int kMessageTextWidth = 3120;
constexpr int kMessageTextLength = 16;
constexpr int kLimitLabelWidth = 2640;
constexpr int kLimitLeft = 2760;
constexpr int kLimitWidth = 720;

QLabel *addLabel(PageWindow *page, QWidget *parent, const ControlName &name, const QString &caption,
    const QRect &twips, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    return pagecontrols::addLabel(page, parent, name.name, name.index, caption, twips, alignment);
}

// A column label centred over a box column starting at `boxLeft`.
QRect columnLabelRect(int boxLeft)
{
    return QRect(boxLeft + kBox / 2 - kColumnLabelWidth / 2, kColumnsTop, kColumnLabelWidth, kRowHeight);
}

void placeBox(QCheckBox *box, int left, int top)
{
    box->setGeometry(twipsRect(left, top, kBox, kBox));
}

// Boxes are 255 twips high, rows 300: the box sits in the middle of its row.
constexpr int boxTop(int rowTop)
{
    return rowTop + (kRowHeight - kBox) / 2;
}

} // namespace

QFrame *addReportRecipients(PageWindow *page, QWidget *parent, const ControlName &frameName,
    const QPoint &atTwips, const ReportRecipientLabels &labels)
{
    QFrame *frame = addFrame(page, parent, frameName.name, frameName.index,
        QRect(atTwips, QSize(kReportRecipientsWidth, kReportRecipientsHeight)));
    constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    QLabel *heading = addLabel(page, frame, labels.heading, QStringLiteral("Meldung"),
        QRect(kLabelLeft, kHeadingTop, kLabelWidth, kRowHeight), left);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    const int smsMiddle = kSmsLeft + kSmsStep;
    addLabel(page, frame, labels.sms, QStringLiteral("SMS"), columnLabelRect(smsMiddle), Qt::AlignCenter);
    addLabel(page, frame, labels.mail, QStringLiteral("Mail"), columnLabelRect(kMailLeft), Qt::AlignCenter);
    addLabel(page, frame, labels.fax, QStringLiteral("Fax"), columnLabelRect(kFaxLeft), Qt::AlignCenter);
    addLabel(page, frame, labels.toAll, QStringLiteral("an alle"),
        QRect(kLabelLeft, kAllTop, kLabelWidth, kRowHeight), left);
    addLabel(page, frame, labels.orTo, QStringLiteral("oder an"),
        QRect(kLabelLeft, kMembersTop, kLabelWidth, kRowHeight), left);

    NotifySet *sms = page->addNotifySet(NotifyKind::Sms, frame);
    placeBox(sms->allBox(), smsMiddle, boxTop(kAllTop));
    for (int i = 1; i <= sms->memberCount(); ++i) {
        const int column = (i - 1) / 4;
        const int row = (i - 1) % 4;
        placeBox(sms->box(i), kSmsLeft + column * kSmsStep, boxTop(kMembersTop + row * kMemberStep));
    }
    NotifySet *mail = page->addNotifySet(NotifyKind::Mail, frame);
    placeBox(mail->allBox(), kMailLeft, boxTop(kAllTop));
    mail->placeMembers(QPoint(kMailLeft, boxTop(kMembersTop)), kMemberStep, Qt::Vertical);
    NotifySet *fax = page->addNotifySet(NotifyKind::Fax, frame);
    placeBox(fax->allBox(), kFaxLeft, boxTop(kAllTop));
    fax->placeMembers(QPoint(kFaxLeft, boxTop(kMembersTop)), kMemberStep, Qt::Vertical);
    return frame;
}

QLineEdit *addMessageText(PageWindow *page, QWidget *parent, const ControlName &label,
    const ControlName &field, const QString &text)
{
    addLabel(page, parent, label, QStringLiteral("Meldetext :"), QRect(0, 0, kFieldLabelWidth, kFieldHeight));
    return addTextField(page, parent, field.name, field.index, text,
        QRect(kMessageTextLeft, 0, kMessageTextWidth, kFieldHeight), kMessageTextLength,
        KeyFilter::PlainText);
}

QLineEdit *addLimit(PageWindow *page, QWidget *parent, const ControlName &label, int fieldIndex, int topTwips,
    const QString &toolTip, LimitLeaving rule)
{
    addLabel(page, parent, label, QStringLiteral(" den Grenzwert (%) :"),
        QRect(0, topTwips, kLimitLabelWidth, kFieldHeight));
    QLineEdit *limit = addField(page, parent, QStringLiteral("txtwert"), fieldIndex, QStringLiteral("50"),
        QRect(kLimitLeft, topTwips, kLimitWidth, kFieldHeight));
    limit->setToolTip(toolTip);
    attachLimitField(page, limit, rule);
    return limit;
}
