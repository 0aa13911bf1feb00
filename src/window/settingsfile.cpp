#include "window/settingsfile.h"

#include "core/appsetup.h"
#include "core/configfields.h"
#include "core/configuration.h"
#include "core/configurationmodel.h"
#include "core/filekind.h"
#include "core/inifile.h"
#include "core/settingslocation.h"
#include "window/formwindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QDir>
#include <QFileInfo>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QListWidget>

#include <QSignalBlocker>

#include <algorithm>
#include <memory>
#include <vector>
#include <optional>

namespace {


// Design values by window, in the stored form, keyed by settings key. Windows live as long as the program;
// a test that destroys them drops their entry with them.
QHash<const FormWindow *, QHash<QString, QString>> &designValues()
{
    static QHash<const FormWindow *, QHash<QString, QString>> values;
    return values;
}

int entryCount(const QWidget *widget)
{
    if (auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->count();
    if (auto *list = qobject_cast<const QListWidget *>(widget))
        return list->count();
    return 0;
}

void applyValue(const FormWindow *window, const ControlRef &ref, const QString &value)
{
    switch (ref.kind) {
    case ControlKind::TextBox: {
        // The field's own rules decide what of the value it takes; what it cannot use gives its design value.
        std::optional<QString> text = window->storedText(ref, value);
        if (!text)
            text = designValues().value(window).value(ref.key(), controlText(ref));
        setControlText(ref, *text);
        break;
    }
    case ControlKind::ListBox: {
        // -1 clears the selection; an index past the last entry leaves the list as it is.
        const std::optional<int> index = integerPart(value);
        if (index && *index >= -1 && *index < entryCount(ref.widget))
            setControlState(ref, *index);
        break;
    }
    case ControlKind::CheckBox: {
        const std::optional<int> state = integerPart(value);
        if (state && *state >= 0 && *state <= 2)
            setControlState(ref, *state);
        break;
    }
    case ControlKind::OptionButton:
        if (const std::optional<int> selected = integerPart(value))
            setControlState(ref, *selected != 0 ? 1 : 0);
        break;
    case ControlKind::Other:
        break;
    }
}

QString storedValue(const ControlRef &ref);


void applyDocument(FormWindow *window, const IniDocument &document)
{
    const QString section = window->formName();
    // A copy: the handlers that run for restored values may touch the window's controls.
    const QList<ControlRef> controls = window->controls();
    for (const ControlRef &ref : controls) {
        if (!ref.widget || ref.kind == ControlKind::Other)
            continue;
        if (const std::optional<QString> value = document.value(section, ref.key()))
            applyValue(window, ref, *value);
    }
}

QString storedValue(const ControlRef &ref)
{
    switch (ref.kind) {
    case ControlKind::TextBox:
        return controlText(ref);
    case ControlKind::ListBox:
    case ControlKind::CheckBox:
        return QString::number(controlState(ref));
    case ControlKind::OptionButton:
        return controlState(ref) != 0 ? QStringLiteral("-1") : QStringLiteral("0");
    case ControlKind::Other:
        break;
    }
    return {};
}

} // namespace










void captureDesignValues(FormWindow *window)
{
    if (!window || designValues().contains(window))
        return;
    QHash<QString, QString> values;
    for (const ControlRef &ref : window->controls()) {
        if (ref.widget && ref.kind != ControlKind::Other)
            values.insert(ref.key(), storedValue(ref));
    }
    designValues().insert(window, values);
    QObject::connect(window, &QObject::destroyed, [window] { designValues().remove(window); });
}

void LoadFormSettings(FormWindow *window)
{
    if (!window)
        return;
    // The values go in as the file's would, so the page's own handling runs for them as it does at start-up.
    LoadFormSettings(window, ConfigurationModel::program().configuration().viewDocument());
}

void LoadFormSettings(FormWindow *window, const IniDocument &document)
{
    if (window)
        applyDocument(window, document);
}

namespace {

// Keeps the program's configuration equal to what a page's controls hold.
class ConfigurationBinding : public QObject
{
public:
    ConfigurationBinding(FormWindow *window)
        : QObject(window)
        , m_window(window)
    {
    }

    void bind(const ControlRef &ref, int field)
    {
        QWidget *widget = ref.widget;
        m_fields.insert(widget, field);
        const auto sync = [this, widget] { syncValue(widget); };
        if (auto *line = qobject_cast<QLineEdit *>(widget))
            connect(line, &QLineEdit::textChanged, this, sync);
        else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
            connect(plain, &QPlainTextEdit::textChanged, this, sync);
        else if (auto *check = qobject_cast<QCheckBox *>(widget))
            connect(check, &QCheckBox::stateChanged, this, sync);
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            connect(button, &QAbstractButton::toggled, this, sync);
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            connect(combo, &QComboBox::currentIndexChanged, this, sync);
        else if (auto *list = qobject_cast<QListWidget *>(widget))
            connect(list, &QListWidget::currentRowChanged, this, sync);
        widget->installEventFilter(this);
        syncValue(widget);
        ConfigurationModel::program().setEnabled(field, !widget->testAttribute(Qt::WA_Disabled));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            auto *widget = static_cast<QWidget *>(watched);
            ConfigurationModel::program().setEnabled(
                m_fields.value(widget, -1), !widget->testAttribute(Qt::WA_Disabled));
        }
        return false;
    }

private:
    void syncValue(QWidget *widget)
    {
        const int field = m_fields.value(widget, -1);
        for (const ControlRef &ref : m_window->controls()) {
            if (ref.widget == widget) {
                ConfigurationModel::program().setStoredValue(field, storedValue(ref));
                return;
            }
        }
    }

    FormWindow *m_window;
    QHash<const QWidget *, int> m_fields;
};

} // namespace

void showConfigurationExactly(FormWindow *window)
{
    if (!window)
        return;
    const Configuration &configuration = ConfigurationModel::program().configuration();
    QList<const ControlRef *> differing;
    for (const ControlRef &ref : window->controls()) {
        if (!ref.widget || ref.kind == ControlKind::Other)
            continue;
        const int field = configurationFieldIndex(window->formName(), ref.key());
        if (field >= 0 && storedValue(ref) != configuration.value(field))
            differing.append(&ref);
    }
    if (differing.isEmpty())
        return;
    // Only values a page's own rules would have put differently: none of its handlers runs for them.
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (const ControlRef &ref : window->controls()) {
        if (ref.widget && ref.kind != ControlKind::Other)
            quiet.push_back(std::make_unique<QSignalBlocker>(ref.widget.data()));
    }
    for (const ControlRef *ref : differing) {
        const int field = configurationFieldIndex(window->formName(), ref->key());
        if (ref->kind == ControlKind::TextBox)
            setControlText(*ref, configuration.value(field));
        else
            setControlState(*ref, configuration.state(field));
        ref->widget->setEnabled(configuration.isEnabled(field));
    }
}

void bindToConfiguration(FormWindow *window)
{
    if (!window)
        return;
    auto *binding = new ConfigurationBinding(window);
    for (const ControlRef &ref : window->controls()) {
        if (!ref.widget || ref.kind == ControlKind::Other)
            continue;
        const int field = configurationFieldIndex(window->formName(), ref.key());
        if (field >= 0)
            binding->bind(ref, field);
    }
}

void ApplyFormSettings(FormWindow *window, const IniDocument &document)
{
    if (!window)
        return;
    const QHash<QString, QString> design = designValues().value(window);
    const QList<ControlRef> controls = window->controls();
    // First the whole window back to its design values, then the document over them as start-up applies
    // the file to a new window: a control's handler sees the same neighbours either way. A handler run by
    // the reset may move a control it already passed, hence a second round when anything was off.
    for (int round = 0; round < 3; ++round) {
        bool changed = false;
        for (const ControlRef &ref : controls) {
            if (!ref.widget || ref.kind == ControlKind::Other)
                continue;
            const auto value = design.constFind(ref.key());
            if (value == design.cend() || storedValue(ref) == *value)
                continue;
            changed = true;
            if (ref.kind == ControlKind::TextBox)
                setControlText(ref, *value);
            else
                applyValue(window, ref, *value);
        }
        if (!changed)
            break;
    }
    applyDocument(window, document);
}

void SaveFormSettings(FormWindow *window, IniDocument &document)
{
    if (!window)
        return;
    const QString section = window->formName();
    for (const ControlRef &ref : window->controls()) {
        if (!ref.widget)
            continue;
        const QString value = storedValue(ref);
        if (!value.isEmpty())
            document.setValue(section, ref.key(), value);
    }
}

IniDocument documentOfWindows(const QList<FormWindow *> &windows)
{
    IniDocument document;
    for (FormWindow *window : windows)
        SaveFormSettings(window, document);
    return document;
}




