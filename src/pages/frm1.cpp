#include "pages/frm1.h"

#include "l10n/language.h"
#include "pages/keyfilteradapter.h"
#include "pages/notifysets.h"
#include "pages/pagecontrols.h"
#include "pages/pagerules.h"
#include "window/twostatebutton.h"

#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace pagecontrols;

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

constexpr int kRowTop = 480;
constexpr int kRowStep = 405;

const QString kLabel1 = QStringLiteral("Label1");

// The labels of this page break their caption onto a second line where it does not fit.
QLabel *wrapped(QLabel *label)
{
    label->setWordWrap(true);
    return label;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

Frm1::Frm1(QWidget *parent)
    : PageWindow(QStringLiteral("frm1"), 1, parent)
{
    const QList<QFrame *> pictures = setUpPage(
        { QStringLiteral("S I M"), QStringLiteral("Phone"), QStringLiteral("Fax"), QStringLiteral("Mail") },
        9);

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
    auto *language = add(new QLineEdit(QString::number(kDefaultLanguageCode), this), QStringLiteral("language"));
    language->setMaxLength(8);
    language->hide();
}

QLineEdit *Frm1::watchField(QLineEdit *field)
{
    // The page sees each key before the key filter does, as a KeyDown handler runs before KeyPress: Qt runs
    // the event filter installed last first.
    field->installEventFilter(this);
    whenLeft(field, [this, field] {
        if (const ControlRef *ref = refOf(field))
            fieldLostFocus(*ref);
    });
    return field;
}

void Frm1::requireLength(QLineEdit *field, int characters)
{
    FieldRule rule = fieldRule(field);
    rule.minLength = characters;
    setFieldRule(field, rule);
}

void Frm1::buildSimTab(QWidget *picture)
{
    QFrame *frmpin = addFrame(this, picture, QStringLiteral("frmpin"), -1, QRect(120, 240, 5460, 1620));

    wrapped(
        addLabel(this, frmpin, kLabel1, 0, QStringLiteral("S I M Pin :"), QRect(0, 0, 2280, kFieldHeight)));
    QLineEdit *txtsim = watchField(addTextField(this, frmpin, QStringLiteral("txtsim"), -1, kSimDefault,
        QRect(2400, 0, 1200, kFieldHeight), kSimLength, KeyFilter::Digits));
    txtsim->setToolTip(QStringLiteral("  vierstellige Pin eintragen  "));
    requireLength(txtsim, kSimLength);

    wrapped(
        addLabel(this, frmpin, kLabel1, 1, QStringLiteral("Passwort :"), QRect(0, 600, 2280, kFieldHeight)));
    QLineEdit *txtPsw1 = watchField(addTextField(this, frmpin, QStringLiteral("txtPsw1"), -1, QString(),
        QRect(2400, 600, 2040, kFieldHeight), 8, KeyFilter::Letters));
    txtPsw1->setToolTip(QStringLiteral("  Für alle Tel.Nummer gültiges Passwort setzen  "));

    wrapped(
        addLabel(this, frmpin, kLabel1, 9, QStringLiteral("Gerätebezeichnung :"), QRect(0, 1140, 2280, 450)));
    QLineEdit *txtbez = watchField(addTextField(this, frmpin, QStringLiteral("txtbez"), -1,
        QStringLiteral("RM425T"), QRect(2400, 1200, 2640, kFieldHeight), 16, KeyFilter::PlainText));
    txtbez->setToolTip(QStringLiteral("  Gerätebezeichnung  "));

    // The mail number and fax prefix come before the providers, so that a provider restored from the settings
    // file writes its own values over them.
    wrapped(addLabel(
        this, picture, kLabel1, 2, QStringLiteral("Mailnummer :"), QRect(120, 3780, 2280, kFieldHeight)));
    QLineEdit *txtAnr = watchField(addTextField(this, picture, QStringLiteral("txtAnr"), -1,
        kMailNumberDefault, QRect(2520, 3780, 2040, kFieldHeight), 10, KeyFilter::Digits));
    txtAnr->setToolTip(QStringLiteral("  Nummer eingeben, sonst wird D1 ausgewählt  "));
    requireLength(txtAnr, 1);
    wrapped(addLabel(
        this, picture, kLabel1, 7, QStringLiteral("Fax- Vorwahl :"), QRect(120, 4380, 2280, kFieldHeight)));
    QLineEdit *txtFAxPref = watchField(addTextField(this, picture, QStringLiteral("txtFAxPref"), -1,
        kFaxPrefixDefault, QRect(2520, 4380, 1200, kFieldHeight), 4, KeyFilter::Digits));
    txtFAxPref->setToolTip(QStringLiteral("  Nummer eingeben, sonst wird D1 ausgewählt  "));
    requireLength(txtFAxPref, 1);
    // Locked, as with the provider chosen by design.
    txtAnr->setEnabled(false);
    txtFAxPref->setEnabled(false);

    QFrame *frmd = addFrame(this, picture, QStringLiteral("frmd"), -1, QRect(120, 2100, 5460, 1440));
    wrapped(addLabel(
        this, frmd, QStringLiteral("lbl2"), 1, QStringLiteral("EMAIL senden an :"), QRect(0, 0, 5460, 300)));
    for (int k = 0; k <= 4; ++k) {
        QRadioButton *option = k == 0
            ? addOption(this, frmd, QStringLiteral("optAnb"), k, QStringLiteral("Andere Anbieter"),
                QRect(240, 960, 4200, 330))
            : addOption(this, frmd, QStringLiteral("optAnb"), k, QString::fromLatin1(kProviders[k].caption),
                QRect(240 + (k - 1) * 1260, 480, 1140, 330));
        if (k > 0)
            option->setToolTip(QStringLiteral("  %1  ").arg(QLatin1String(kProviders[k].mailNumber)));
        option->installEventFilter(this);
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
    wrapped(addLabel(this, picture, kLabel1, tab.fieldHeading, tab.fieldCaption,
        QRect(fieldLeft, 120, tab.fieldWidth, 300), Qt::AlignCenter));
    wrapped(addLabel(this, picture, kLabel1, tab.nameHeading, QStringLiteral("Name :"),
        QRect(nameLeft, 120, nameWidth, 300), Qt::AlignCenter));
    for (int i = 1; i <= tab.rows; ++i) {
        const int top = kRowTop + (i - 1) * kRowStep;
        wrapped(addLabel(this, picture, tab.rowLabel, i, QStringLiteral("%1.").arg(i),
            QRect(labelLeft, top, 450, kFieldHeight), Qt::AlignRight | Qt::AlignVCenter));
        watchField(addTextField(this, picture, tab.field, i, QString(),
            QRect(fieldLeft, top, tab.fieldWidth, kFieldHeight), tab.maxLength, tab.filter, tab.pointSize));
    }
    // The name fields follow all number fields, in the settings file and in the tab order alike.
    for (int i = 1; i <= tab.rows; ++i) {
        const int top = kRowTop + (i - 1) * kRowStep;
        watchField(addTextField(this, picture, tab.nameField, i, QString(),
            QRect(nameLeft, top, nameWidth, kFieldHeight), 13, KeyFilter::Letters));
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
    const bool refused = line->text().size() < fieldRule(line).minLength;
    if (ref.name == u"txtsim") {
        if (refused)
            FailFieldCheck(this, line, kSimDefault);
    } else if (ref.name == u"txtAnr") {
        if (refused)
            FailFieldCheck(this, line, kMailNumberDefault);
    } else if (ref.name == u"txtFAxPref") {
        if (refused)
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
