#include "pages/frm1.h"

#include "pages/keyfilteradapter.h"
#include "pages/notifysets.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace {

struct Provider
{
    const char *caption;
    const char *mailNumber;
    const char *faxPrefix;
};

// optAnb(1..4); member 0, "Andere Anbieter", keeps whatever the fields hold.
constexpr Provider kProviders[] = {
    { "", "", "" },
    { "D 1", "8000", "99" },
    { "D 2", "3400", "88" },
    { "E +", "7676245", "1551" },
    { "O 2", "6245", "329" },
};

const QString kSimDefault = QStringLiteral("5173");
const QString kMailNumberDefault = QStringLiteral("8000");
const QString kFaxPrefixDefault = QStringLiteral("99");
constexpr int kSimLength = 4;

// Geometry of the page in twips.
constexpr int kPictureRight = 5580; // right edge of the fields on a picture

constexpr int kFieldHeight = 345;
constexpr int kRowTop = 480;
constexpr int kRowStep = 405;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

Frm1::Frm1(QWidget *parent)
    : PageWindow(QStringLiteral("frm1"), 1, parent)
{
    const QList<QFrame *> pictures = setUpPage(
        { QStringLiteral("S I M"), QStringLiteral("Phone"), QStringLiteral("Fax"), QStringLiteral("Mail") }, 9);

    buildSimTab(pictures.at(0));
    buildTargetTab(pictures.at(1),
        { QStringLiteral("txtFon1"), QStringLiteral("txtName1"), QStringLiteral("lblfon"), 12, 3,
            QStringLiteral("Nummer :"), 4, 16, KeyFilter::PhoneNumber, 9.75, 2640 });
    buildTargetTab(pictures.at(2),
        { QStringLiteral("txtFax1"), QStringLiteral("txtNamef1"), QStringLiteral("lblfax"), 4, 6,
            QStringLiteral("Faxnummer :"), 5, 16, KeyFilter::Digits, 9.75, 2640 });
    buildTargetTab(pictures.at(3),
        { QStringLiteral("txtMail1"), QStringLiteral("txtNamem1"), QStringLiteral("lblmail"), 4, 8,
            QStringLiteral("E-Mail Adresse :"), 10, 35, KeyFilter::None, 8.25, 3240 });

    // The language code; hidden, saved and restored with the page.
    auto *language = add(new QLineEdit(QStringLiteral("1"), this), QStringLiteral("language"));
    language->setMaxLength(8);
    language->hide();
}

QLabel *Frm1::addLabel(QWidget *parent, const QString &name, int index, const QString &caption,
    const QRect &twipsGeometry, Qt::Alignment alignment)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(
        twipsRect(twipsGeometry.x(), twipsGeometry.y(), twipsGeometry.width(), twipsGeometry.height()));
    label->setAlignment(alignment);
    label->setWordWrap(true);
    return add(label, name, index);
}

QLineEdit *Frm1::addField(QWidget *parent, const QString &name, int index, const QRect &twipsGeometry,
    int maxLength, KeyFilter filter, qreal pointSize)
{
    auto *line = new QLineEdit(parent);
    line->setGeometry(
        twipsRect(twipsGeometry.x(), twipsGeometry.y(), twipsGeometry.width(), twipsGeometry.height()));
    line->setMaxLength(maxLength);
    line->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    line->setFont(font);
    if (filter != KeyFilter::None)
        attachKeyFilter(line, filter);
    selectAllOnEntry(line);
    // Installed after the key filter, so the page sees each key first, as a KeyDown handler does.
    line->installEventFilter(this);
    whenLeft(line, [this, line] {
        if (const ControlRef *ref = refOf(line))
            fieldLostFocus(*ref);
    });
    return add(line, name, index);
}

void Frm1::buildSimTab(QWidget *picture)
{
    auto *frmpin = add(new QFrame(picture), QStringLiteral("frmpin"));
    frmpin->setGeometry(twipsRect(120, 240, 5460, 1620));
    frmpin->setFrameShape(QFrame::NoFrame);

    addLabel(
        frmpin, QStringLiteral("Label1"), 0, QStringLiteral("S I M Pin :"), QRect(0, 0, 2280, kFieldHeight));
    QLineEdit *txtsim = addField(
        frmpin, QStringLiteral("txtsim"), -1, QRect(2400, 0, 1200, kFieldHeight), 4, KeyFilter::Digits);
    txtsim->setText(kSimDefault);
    txtsim->setToolTip(QStringLiteral("  vierstellige Pin eintragen  "));

    addLabel(
        frmpin, QStringLiteral("Label1"), 1, QStringLiteral("Passwort :"), QRect(0, 600, 2280, kFieldHeight));
    QLineEdit *txtPsw1 = addField(
        frmpin, QStringLiteral("txtPsw1"), -1, QRect(2400, 600, 2040, kFieldHeight), 8, KeyFilter::Letters);
    txtPsw1->setToolTip(QStringLiteral("  Für alle Tel.Nummer gültiges Passwort setzen  "));

    addLabel(frmpin, QStringLiteral("Label1"), 9, QStringLiteral("Gerätebezeichnung :"),
        QRect(0, 1140, 2280, 450));
    QLineEdit *txtbez = addField(frmpin, QStringLiteral("txtbez"), -1, QRect(2400, 1200, 2640, kFieldHeight),
        16, KeyFilter::PlainText);
    txtbez->setText(QStringLiteral("RM425T"));
    txtbez->setToolTip(QStringLiteral("  Gerätebezeichnung  "));

    // The mail number and fax prefix come before the providers, so that a provider restored from the settings
    // file writes its own values over them.
    addLabel(picture, QStringLiteral("Label1"), 2, QStringLiteral("Mailnummer :"),
        QRect(120, 3780, 2280, kFieldHeight));
    QLineEdit *txtAnr = addField(
        picture, QStringLiteral("txtAnr"), -1, QRect(2520, 3780, 2040, kFieldHeight), 10, KeyFilter::Digits);
    txtAnr->setText(kMailNumberDefault);
    txtAnr->setToolTip(QStringLiteral("  Nummer eingeben, sonst wird D1 ausgewählt  "));
    addLabel(picture, QStringLiteral("Label1"), 7, QStringLiteral("Fax- Vorwahl :"),
        QRect(120, 4380, 2280, kFieldHeight));
    QLineEdit *txtFAxPref = addField(picture, QStringLiteral("txtFAxPref"), -1,
        QRect(2520, 4380, 1200, kFieldHeight), 4, KeyFilter::Digits);
    txtFAxPref->setText(kFaxPrefixDefault);
    txtFAxPref->setToolTip(QStringLiteral("  Nummer eingeben, sonst wird D1 ausgewählt  "));
    // Locked, as with the provider chosen by design.
    txtAnr->setEnabled(false);
    txtFAxPref->setEnabled(false);

    auto *frmd = add(new QFrame(picture), QStringLiteral("frmd"));
    frmd->setGeometry(twipsRect(120, 2100, 5460, 1440));
    frmd->setFrameShape(QFrame::NoFrame);
    addLabel(frmd, QStringLiteral("lbl2"), 1, QStringLiteral("EMAIL senden an :"), QRect(0, 0, 5460, 300));
    for (int k = 0; k <= 4; ++k) {
        auto *option = new QRadioButton(
            k == 0 ? QStringLiteral("Andere Anbieter") : QString::fromLatin1(kProviders[k].caption), frmd);
        if (k == 0) {
            option->setGeometry(twipsRect(240, 960, 4200, 330));
        } else {
            option->setGeometry(twipsRect(240 + (k - 1) * 1260, 480, 1140, 330));
            option->setToolTip(QStringLiteral("  %1  ").arg(QLatin1String(kProviders[k].mailNumber)));
        }
        option->installEventFilter(this);
        add(option, QStringLiteral("optAnb"), k);
        // toggled also runs when the settings file restores the choice, as a click would.
        connect(option, &QRadioButton::toggled, this, [this, k](bool chosen) {
            if (chosen)
                optAnb_Click(k);
        });
    }
    // The boxes come before the providers in the tab order, the number fields after them.
    setTabOrder(field(QStringLiteral("txtbez")), controlAs<QRadioButton>(QStringLiteral("optAnb"), 1));
    setTabOrder(controlAs<QRadioButton>(QStringLiteral("optAnb"), 1), txtAnr);
    setTabOrder(txtAnr, txtFAxPref);
}

void Frm1::buildTargetTab(QWidget *picture, const TargetTab &tab)
{
    constexpr int labelLeft = 120;
    constexpr int fieldLeft = 600;
    const int nameLeft = fieldLeft + tab.fieldWidth + 120;
    const int nameWidth = kPictureRight - nameLeft;
    addLabel(picture, QStringLiteral("Label1"), tab.fieldHeading, tab.fieldCaption,
        QRect(fieldLeft, 120, tab.fieldWidth, 300), Qt::AlignCenter);
    addLabel(picture, QStringLiteral("Label1"), tab.nameHeading, QStringLiteral("Name :"),
        QRect(nameLeft, 120, nameWidth, 300), Qt::AlignCenter);
    for (int i = 1; i <= tab.rows; ++i) {
        const int top = kRowTop + (i - 1) * kRowStep;
        addLabel(picture, tab.rowLabel, i, QStringLiteral("%1.").arg(i),
            QRect(labelLeft, top, 450, kFieldHeight), Qt::AlignRight | Qt::AlignVCenter);
        addField(picture, tab.field, i, QRect(fieldLeft, top, tab.fieldWidth, kFieldHeight), tab.maxLength,
            tab.filter, tab.pointSize);
    }
    // The name fields follow all number fields, in the settings file and in the tab order alike.
    for (int i = 1; i <= tab.rows; ++i) {
        const int top = kRowTop + (i - 1) * kRowStep;
        addField(
            picture, tab.nameField, i, QRect(nameLeft, top, nameWidth, kFieldHeight), 13, KeyFilter::Letters);
    }
}

void Frm1::pageLoaded()
{
    // No provider is chosen until the settings file has been read, so that only a provider the file
    // restores runs its click. When the file selects none (no key, all "0", or no number), the design
    // choice D 1 comes back without its click: a hand-edited mail number and fax prefix stay as read.
    for (int k = 0; k <= 4; ++k) {
        if (controlAs<QRadioButton>(QStringLiteral("optAnb"), k)->isChecked())
            return;
    }
    auto *designChoice = controlAs<QRadioButton>(QStringLiteral("optAnb"), 1);
    const QSignalBlocker noClick(designChoice);
    designChoice->setChecked(true);
}

void Frm1::optAnb_Click(int index)
{
    QLineEdit *txtAnr = field(QStringLiteral("txtAnr"));
    QLineEdit *txtFAxPref = field(QStringLiteral("txtFAxPref"));
    if (index >= 1 && index <= 4) {
        txtAnr->setText(QString::fromLatin1(kProviders[index].mailNumber));
        txtFAxPref->setText(QString::fromLatin1(kProviders[index].faxPrefix));
    }
    const bool other = index == 0;
    txtAnr->setEnabled(other);
    txtFAxPref->setEnabled(other);
    // While the page is loading (or not shown) the field cannot take the focus; that is fine.
    if (other && txtAnr->isVisible())
        txtAnr->setFocus(Qt::OtherFocusReason);
}

void Frm1::acknowledgeMessage()
{
    returnFromMessageOverlay(this);
    // The field that failed lies on the first tab, which may have been left meanwhile.
    if (QWidget *picture = tabPicture(1); picture && picture->isHidden())
        SelectTab(1, kTabCount, this);
    focusField(field(QStringLiteral("txtPsw1")));
    switch (m_returnField) {
    case 1:
        focusField(field(QStringLiteral("txtsim")));
        break;
    case 2:
        focusField(field(QStringLiteral("txtAnr")));
        break;
    case 3:
        focusField(field(QStringLiteral("txtFAxPref")));
        break;
    default:
        break;
    }
}

void Frm1::focusField(QWidget *target)
{
    if (target && target->isEnabled())
        target->setFocus(Qt::OtherFocusReason);
}

QLineEdit *Frm1::field(const QString &name, int index) const
{
    return controlAs<QLineEdit>(name, index);
}

const ControlRef *Frm1::refOf(const QObject *widget) const
{
    for (const ControlRef &ref : controls()) {
        if (ref.widget == widget)
            return &ref;
    }
    return nullptr;
}

bool Frm1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::KeyPress:
        break;
    default:
        return PageWindow::eventFilter(watched, event);
    }
    const ControlRef *ref = refOf(watched);
    if (!ref)
        return PageWindow::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn)
        fieldGotFocus(*ref);
    else if (fieldKeyDown(*ref, static_cast<QKeyEvent *>(event)->key())) {
        return true;
    }
    return false;
}

void Frm1::fieldGotFocus(const ControlRef &ref)
{
    if (ref.name == u"txtsim")
        m_returnField = 1;
    else if (ref.name == u"txtAnr")
        m_returnField = 2;
    else if (ref.name == u"txtFAxPref")
        m_returnField = 3;
}

void Frm1::fieldLostFocus(const ControlRef &ref)
{
    auto *line = qobject_cast<QLineEdit *>(ref.widget.data());
    if (!line)
        return;
    if (ref.name == u"txtsim") {
        if (line->text().size() < kSimLength)
            FailFieldCheck(this, line, kSimDefault);
    } else if (ref.name == u"txtAnr") {
        if (line->text().isEmpty())
            FailFieldCheck(this, line, kMailNumberDefault);
    } else if (ref.name == u"txtFAxPref") {
        if (line->text().isEmpty())
            FailFieldCheck(this, line, kFaxPrefixDefault);
    } else if (const std::optional<NotifyKind> kind = notifyKindOfTarget(ref.name)) {
        PropagateTarget(*kind, ref.index, line->text());
    }
}

bool Frm1::fieldKeyDown(const ControlRef &ref, int key)
{
    const bool enter = isEnter(key);
    const bool tabOrEnter = enter || key == Qt::Key_Tab;
    QWidget *next = nullptr;
    if (ref.name == u"txtsim" && tabOrEnter) {
        next = field(QStringLiteral("txtPsw1"));
    } else if (ref.name == u"txtPsw1" && enter) {
        next = field(QStringLiteral("txtbez"));
    } else if (ref.name == u"txtbez" && enter) {
        next = control(QStringLiteral("optAnb"), 1);
    } else if (ref.name == u"optAnb" && enter) {
        if (ref.index < 1)
            return false;
        SelectTab(2, kTabCount, this);
        next = field(QStringLiteral("txtFon1"), 1);
    } else if (ref.name == u"txtAnr" && enter) {
        next = field(QStringLiteral("txtFAxPref"));
    } else if (ref.name == u"txtFAxPref" && tabOrEnter) {
        next = field(QStringLiteral("txtsim"));
    } else if (enter && (ref.name == u"txtFon1" || ref.name == u"txtFax1" || ref.name == u"txtMail1")) {
        const QString text = qobject_cast<QLineEdit *>(ref.widget.data())->text();
        const int last = ref.name == u"txtFon1" ? 9 : 3;
        // An address moves on once it looks like one.
        const bool complete = ref.name != u"txtMail1" || text.contains(u'@');
        if (text.isEmpty() || ref.index > last || !complete)
            return false;
        next = field(ref.name, ref.index + 1);
    } else {
        return false;
    }
    if (next)
        next->setFocus(key == Qt::Key_Tab ? Qt::TabFocusReason : Qt::OtherFocusReason);
    return true;
}
