#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QAbstractButton;

// What the settings file, the caption table and the record builders see of a control.
enum class ControlKind {
    TextBox,      // QLineEdit / QPlainTextEdit: its text
    ListBox,      // QComboBox / QListWidget: selected index
    CheckBox,     // check box: 0 cleared, 1 set, 2 greyed
    OptionButton, // option button or tab button: selected or not
    Other         // labels, frames, pictures, push and two-state buttons: nothing stored
};

struct ControlRef
{
    QString name;
    int index = -1; // member index of a control array, -1 for a single control
    ControlKind kind = ControlKind::Other;
    QPointer<QWidget> widget;

    // Settings key: "name" for a single control, "name(index)" for an array member.
    QString key() const;
};

// Base of every window of the program. A window owns its controls and registers the ones the rest of the
// program addresses, in definition order, under their own names and member indexes. Windows are created
// by the WindowRegistry (which runs formLoad once) and are never destroyed while the program runs.
class FormWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FormWindow(const QString &formName, QWidget *parent = nullptr);

    QString formName() const { return m_formName; }

    // Registers a control; the kind is derived from the widget type unless given. Returns the widget.
    template<class W>
    W *add(W *widget, const QString &name, int index = -1)
    {
        registerControl(widget, name, index, kindOf(widget));
        return widget;
    }
    void registerControl(QWidget *widget, const QString &name, int index, ControlKind kind);
    static ControlKind kindOf(const QWidget *widget);

    // Lookup by name (case does not matter, as control names never differ only in case) and index.
    QWidget *control(const QString &name, int index = -1) const;
    template<class T>
    T *controlAs(const QString &name, int index = -1) const
    {
        return qobject_cast<T *>(control(name, index));
    }
    const ControlRef *findRef(const QString &name, int index = -1) const;
    const QList<ControlRef> &controls() const { return m_controls; }
    bool isControlArray(const QString &name) const;

    // Lifecycle hooks.
    virtual void formLoad() { }       // once, right after creation, by the registry
    virtual void formActivate() { }   // each time the window becomes the active window
    virtual void formDeactivate() { } // each time another window becomes active
    virtual int helpTopic() const { return 0; } // F1 topic; 0 = F1 does nothing
    // The start window's OK button acknowledged the message overlay while this window was current.
    virtual void acknowledgeMessage() { }
    // The text a text box takes when a stored value (the settings file, an opened configuration) is put into
    // it: here the value cut to the field's length; a window whose fields have typing rules puts the value
    // through them. No text: the field cannot use the value and takes its design value.
    virtual std::optional<QString> storedText(const ControlRef &ref, const QString &value) const;

    // Move to the given position in twips relative to the start window's outer top-left corner.
    void placeRelativeToStart(int leftTwips, int topTwips);

    // When the user has left a control or a window, one rule for every window of the program: the focus
    // moved on to another control, or another window of the program became active. The help window, a
    // message box or another program taking the activation is not leaving: nothing runs and the control
    // keeps its text. The leaving is then pending, and happens as soon as the user comes back into the
    // program anywhere but the target (coming back to the target itself drops it), or when
    // runPendingLeaves() is called before a save or an upload reads the windows.
    // `target` is a control (left when it loses the focus) or a FormWindow (left when it is deactivated).
    static void whenLeft(QWidget *target, std::function<void()> onLeft);
    static void runPendingLeaves();
    // The windows whose activation counts as moving within the program: the start window, the pages, the
    // communication page and the about box.
    static bool isProgramWindow(const QWidget *window);

protected:
    bool event(QEvent *event) override;

private:
    QString m_formName;
    QList<ControlRef> m_controls;
};

// No control character (codes below 32, 127, and U+0080 ... U+009F, which the code page's unassigned bytes
// read as) stays in a one-line field, whichever way it came in: keys never type one, but pasted, dropped or
// restored text can carry them. Every registered QLineEdit is kept free of them.
QString withoutControlCharacters(const QString &text);

// Value access by kind, shared by the settings file, the caption table and the record builders.
QString controlText(const ControlRef &ref);
void setControlText(const ControlRef &ref, const QString &text);
int controlState(const ControlRef &ref); // check box 0/1/2, option button 1/0, list index
void setControlState(const ControlRef &ref, int state);

// Twips to device-independent pixels (96 dpi: 15 twips a pixel).
constexpr int twips(int t) { return (t + 7) / 15; }
QRect twipsRect(int left, int top, int width, int height);
