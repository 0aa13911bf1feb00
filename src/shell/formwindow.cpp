#include "shell/formwindow.h"

#include "shell/help.h"
#include "shell/windowregistry.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QTextEdit>

QString ControlRef::key() const
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

FormWindow::FormWindow(const QString &formName, QWidget *parent)
    // A window with an owner is a dialog to the window manager: it is told whose it is (so it stays above
    // the start window and has no taskbar entry of its own), which a plain window with a parent is not.
    : QWidget(parent, parent ? Qt::Dialog : Qt::Window)
    , m_formName(formName)
{
    setObjectName(formName);
    // The window sees F1 before its controls; it is consumed and opens the window's help topic.
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] {
        if (const int topic = helpTopic())
            showHelpTopic(topic);
    });
}

void FormWindow::registerControl(QWidget *widget, const QString &name, int index, ControlKind kind)
{
    Q_ASSERT(widget);
    Q_ASSERT(!findRef(name, index));
    widget->setObjectName(index < 0 ? name : QStringLiteral("%1_%2").arg(name).arg(index));
    m_controls.append(ControlRef { name, index, kind, widget });
}

ControlKind FormWindow::kindOf(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QTextEdit *>(widget))
        return ControlKind::TextBox;
    if (qobject_cast<const QComboBox *>(widget) || qobject_cast<const QListWidget *>(widget))
        return ControlKind::ListBox;
    if (qobject_cast<const QRadioButton *>(widget))
        return ControlKind::OptionButton;
    if (qobject_cast<const QCheckBox *>(widget))
        return ControlKind::CheckBox;
    return ControlKind::Other;
}

const ControlRef *FormWindow::findRef(const QString &name, int index) const
{
    for (const ControlRef &ref : m_controls) {
        if (ref.index == index && ref.name.compare(name, Qt::CaseInsensitive) == 0)
            return &ref;
    }
    return nullptr;
}

QWidget *FormWindow::control(const QString &name, int index) const
{
    const ControlRef *ref = findRef(name, index);
    return ref ? ref->widget.data() : nullptr;
}

bool FormWindow::isControlArray(const QString &name) const
{
    for (const ControlRef &ref : m_controls) {
        if (ref.index >= 0 && ref.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void FormWindow::placeRelativeToStart(int leftTwips, int topTwips)
{
    FormWindow *start = WindowRegistry::instance().existing(QStringLiteral("frmStart"));
    const QPoint origin = start ? start->frameGeometry().topLeft() : QPoint(0, 0);
    move(origin + QPoint(twips(leftTwips), twips(topTwips)));
}

bool FormWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
        formActivate();
        break;
    case QEvent::WindowDeactivate:
        formDeactivate();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

QString controlText(const ControlRef &ref)
{
    QWidget *w = ref.widget;
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<QTextEdit *>(w))
        return rich->toPlainText();
    return {};
}

void setControlText(const ControlRef &ref, const QString &text)
{
    QWidget *w = ref.widget;
    if (auto *line = qobject_cast<QLineEdit *>(w))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
        plain->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(w))
        rich->setPlainText(text);
}

int controlState(const ControlRef &ref)
{
    QWidget *w = ref.widget;
    switch (ref.kind) {
    case ControlKind::ListBox:
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentIndex();
        if (auto *list = qobject_cast<QListWidget *>(w))
            return list->currentRow();
        return -1;
    case ControlKind::CheckBox:
        if (auto *check = qobject_cast<QCheckBox *>(w))
            return int(check->checkState()) == Qt::PartiallyChecked ? 2 : (check->isChecked() ? 1 : 0);
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            return button->isChecked() ? 1 : 0;
        return 0;
    case ControlKind::OptionButton:
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            return button->isChecked() ? 1 : 0;
        return 0;
    default:
        return 0;
    }
}

void setControlState(const ControlRef &ref, int state)
{
    QWidget *w = ref.widget;
    switch (ref.kind) {
    case ControlKind::ListBox:
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->setCurrentIndex(state);
        else if (auto *list = qobject_cast<QListWidget *>(w))
            list->setCurrentRow(state);
        break;
    case ControlKind::CheckBox:
        if (auto *check = qobject_cast<QCheckBox *>(w)) {
            if (state == 2) {
                // Shown greyed as stored. A two-state box turns two-state again as soon as it
                // leaves that look, so clicks only tick or untick it.
                const bool tristate = check->isTristate();
                check->setCheckState(Qt::PartiallyChecked);
                if (!tristate) {
                    QObject::connect(check, &QCheckBox::stateChanged, check,
                        [check] { check->setTristate(false); }, Qt::SingleShotConnection);
                }
            }
            else if (state == 0 || state == 1)
                check->setCheckState(state ? Qt::Checked : Qt::Unchecked);
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            button->setChecked(state != 0);
        }
        break;
    case ControlKind::OptionButton:
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            button->setChecked(state != 0);
        break;
    default:
        break;
    }
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
