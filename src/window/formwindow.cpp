#include "window/formwindow.h"

#include "window/help.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QShortcut>
#include <QTextEdit>

#include <algorithm>

namespace {

class LeaveWatch;

// Watches whose target was left for the help window, a message box or another program, until the user
// comes back. While there are any, the tracker sees every window activation of the program.
class LeaveTracker : public QObject
{
public:
    static LeaveTracker &instance()
    {
        static QPointer<LeaveTracker> tracker;
        if (!tracker) {
            auto *created = new LeaveTracker(qApp);
            connect(qApp, &QApplication::focusChanged, created,
                [created](QWidget *, QWidget *now) { created->focusArrived(now); });
            tracker = created;
        }
        return *tracker;
    }

    void setPending(LeaveWatch *watch, bool pending);
    void runAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            auto *window = qobject_cast<QWidget *>(watched);
            if (window && window->isWindow() && FormWindow::isProgramWindow(window))
                returnedTo(window, nullptr);
        }
        return false;
    }

private:
    using QObject::QObject;

    void focusArrived(QWidget *now)
    {
        if (now && !m_pending.isEmpty() && FormWindow::isProgramWindow(now->window()))
            returnedTo(now->window(), now);
    }
    void returnedTo(QWidget *window, QWidget *focus);
    bool isPending(const LeaveWatch *watch) const
    {
        return std::any_of(m_pending.cbegin(), m_pending.cend(),
            [watch](const QPointer<LeaveWatch> &p) { return p.data() == watch; });
    }

    QList<QPointer<LeaveWatch>> m_pending;
};

class LeaveWatch : public QObject
{
public:
    LeaveWatch(QWidget *target, std::function<void()> onLeft)
        : QObject(target)
        , m_target(target)
        , m_isWindow(target->isWindow())
        , m_onLeft(std::move(onLeft))
    {
        target->installEventFilter(this);
    }

    // The user came back into the program at `window`, the focus on `focus` (none yet on activation).
    bool isLeftByReturnTo(const QWidget *window, const QWidget *focus) const
    {
        if (window != m_target->window())
            return true;
        return !m_isWindow && focus && focus != m_target;
    }

    void leave()
    {
        LeaveTracker::instance().setPending(this, false);
        m_onLeft();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::WindowActivate:
            if (m_isWindow == (event->type() == QEvent::WindowActivate)) {
                m_inside = true;
                LeaveTracker::instance().setPending(this, false);
            }
            break;
        case QEvent::FocusOut:
            if (!m_isWindow)
                focusLost(static_cast<QFocusEvent *>(event)->reason());
            break;
        case QEvent::WindowDeactivate:
            if (m_isWindow)
                focusLost(Qt::ActiveWindowFocusReason);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void focusLost(Qt::FocusReason reason)
    {
        // A failed check can take the focus back while it is on its way to another control; that control
        // is then told it lost a focus it never received, and was not left.
        if (!std::exchange(m_inside, false))
            return;
        if (reason == Qt::PopupFocusReason) // a context menu over the control
            return;
        if (reason != Qt::ActiveWindowFocusReason || anotherProgramWindowActive())
            leave();
        else
            LeaveTracker::instance().setPending(this, true);
    }

    bool anotherProgramWindowActive() const
    {
        QWidget *active = QApplication::activeWindow();
        return active && active != m_target->window() && FormWindow::isProgramWindow(active);
    }

    QWidget *m_target;
    bool m_isWindow;
    bool m_inside = false;
    std::function<void()> m_onLeft;
};

void LeaveTracker::setPending(LeaveWatch *watch, bool pending)
{
    const bool was = !m_pending.isEmpty();
    m_pending.removeIf([watch](const QPointer<LeaveWatch> &p) { return p.isNull() || p.data() == watch; });
    if (pending)
        m_pending.append(watch);
    if (was != !m_pending.isEmpty()) {
        if (m_pending.isEmpty())
            qApp->removeEventFilter(this);
        else
            qApp->installEventFilter(this);
    }
}

void LeaveTracker::returnedTo(QWidget *window, QWidget *focus)
{
    // A copy: a leaving may show a message, which moves the focus and changes the list.
    const QList<QPointer<LeaveWatch>> pending = m_pending;
    for (const QPointer<LeaveWatch> &watch : pending) {
        if (watch && isPending(watch) && watch->isLeftByReturnTo(window, focus))
            watch->leave();
    }
}

void LeaveTracker::runAll()
{
    const QList<QPointer<LeaveWatch>> pending = m_pending;
    for (const QPointer<LeaveWatch> &watch : pending) {
        if (watch && isPending(watch))
            watch->leave();
    }
}

// Keeps a one-line field free of control characters, the cursor where it was among the characters kept.
void keepOutControlCharacters(QLineEdit *line)
{
    const auto clean = [line] {
        const QString text = line->text();
        const QString kept = withoutControlCharacters(text);
        if (kept.size() == text.size())
            return;
        const int cursor = line->cursorPosition();
        const qsizetype keptBefore = withoutControlCharacters(text.left(cursor)).size();
        line->setText(kept);
        line->setCursorPosition(int(keptBefore));
    };
    QObject::connect(line, &QLineEdit::textChanged, line, clean);
    clean();
}

} // namespace

void FormWindow::whenLeft(QWidget *target, std::function<void()> onLeft)
{
    Q_ASSERT(target);
    new LeaveWatch(target, std::move(onLeft));
}

void FormWindow::runPendingLeaves()
{
    LeaveTracker::instance().runAll();
}

bool FormWindow::isProgramWindow(const QWidget *window)
{
    return qobject_cast<const FormWindow *>(window) != nullptr;
}

QString withoutControlCharacters(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            kept.append(c);
    }
    return kept;
}

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
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        keepOutControlCharacters(line);
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
    // A two-state button acts on a click and sets itself back to 0 (the start window's menu, the about
    // box's "System - Info", the communication page's buttons): it holds no setting. The page tabs are
    // two-state buttons too, registered as option buttons by their page.
    if (qobject_cast<const TwoStateButton *>(widget))
        return ControlKind::Other;
    // Any other control that holds a state would silently go unsaved: it needs its kind decided, here or
    // at its registration.
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget); button && button->isCheckable()) {
        qWarning("%s %s holds a state but has no stored kind: give it one", widget->metaObject()->className(),
            qUtf8Printable(widget->objectName()));
    }
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

std::optional<QString> FormWindow::storedText(const ControlRef &ref, const QString &value) const
{
    QString text = value;
    if (auto *line = qobject_cast<QLineEdit *>(ref.widget.data()))
        text.truncate(line->maxLength());
    return text;
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
