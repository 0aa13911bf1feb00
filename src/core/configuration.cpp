#include "core/configuration.h"

#include "core/inifile.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kSelected = QStringLiteral("-1");
const QString kNotSelected = QStringLiteral("0");

} // namespace

std::optional<int> integerPart(const QString &value)
{
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double whole = std::trunc(number);
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(whole);
}

namespace {

const ConfigField &fieldAt(int field)
{
    return configurationFields()[size_t(field)];
}

bool isSelectable(ValueKind kind)
{
    return kind == ValueKind::Option || kind == ValueKind::Tab;
}

// The form a state takes in the settings file.
QString storedState(ValueKind kind, int state)
{
    if (isSelectable(kind))
        return state != 0 ? kSelected : kNotSelected;
    return QString::number(state);
}

// What a one-line field keeps of a text set by the program.
QString fieldText(const ConfigField &field, const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            kept.append(c);
    }
    if (field.rule.maxLength >= 0 && kept.size() > field.rule.maxLength)
        kept.truncate(field.rule.maxLength);
    return kept;
}

// The rules every page shares, run before the page's own, as the controls connect them.
void sharedRules(ConfigurationEditor &editor, const ConfigField &field, const QString &before, const QString &after)
{
    const int index = configurationFieldIndex(field.section, field.key());
    if (field.kind == ValueKind::Tab) {
        // A chosen tab is drawn by its colours alone: the button itself never stays pressed.
        if (after == kSelected)
            editor.setState(index, 0);
        return;
    }
    if (field.kind != ValueKind::Check)
        return;
    const std::optional<NotifyKind> kind = notifyKindOfArray(QString::fromUtf16(field.name));
    if (!kind || field.index < 0)
        return;
    // The click rule of a set, which runs when a box's tick changes (a greyed box counts as ticked). Nothing
    // of the model presses the all box, so changing it does not carry over to the members.
    if ((before != u"0") == (after != u"0"))
        return;
    if (field.index >= 1) {
        const int all = editor.field(field.section, field.name, 0);
        if (after == u"0" && editor.isEnabled(index) && editor.state(all) != 0)
            editor.setState(all, 0);
    }
}

} // namespace

Configuration::Configuration()
{
    const std::span<const ConfigField> fields = configurationFields();
    m_values.reserve(qsizetype(fields.size()));
    m_enabled.reserve(qsizetype(fields.size()));
    for (const ConfigField &field : fields) {
        m_values.append(QString::fromUtf16(field.design));
        m_enabled.append(field.enabledByDesign);
    }
}

Configuration Configuration::fromDocument(const IniDocument &document)
{
    Configuration configuration;
    ConfigurationEditor editor(configuration);
    const std::span<const ConfigField> fields = configurationFields();
    int field = 0;
    // The general settings page loads first: the event pages read its targets.
    for (const QString &section : configurationSections()) {
        if (const auto loading = pageModelRules(section).loading)
            loading(editor);
        for (; field < int(fields.size()) && QStringView(fields[size_t(field)].section) == section; ++field) {
            if (const std::optional<QString> value = document.value(section, fields[size_t(field)].key()))
                editor.applyStoredValue(field, *value);
        }
        enableNotifyBoxesFromTargets(editor, section);
        if (const auto loaded = pageModelRules(section).loaded)
            loaded(editor);
    }
    return configuration;
}

IniDocument Configuration::toDocument() const
{
    IniDocument document;
    const std::span<const ConfigField> fields = configurationFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const QString &value = m_values.at(qsizetype(i));
        if (!value.isEmpty())
            document.setValue(QString::fromUtf16(fields[i].section), fields[i].key(), value);
    }
    return document;
}

IniDocument Configuration::viewDocument() const
{
    IniDocument document = toDocument();
    const std::span<const ConfigField> fields = configurationFields();
    for (const int field : m_chosenTabs)
        document.setValue(QString::fromUtf16(fields[size_t(field)].section), fields[size_t(field)].key(), kSelected);
    return document;
}

QString Configuration::value(QStringView section, QStringView key) const
{
    return value(configurationFieldIndex(section, key));
}

int Configuration::state(int field) const
{
    if (field < 0 || field >= m_values.size())
        return 0;
    const QString &value = m_values.at(field);
    if (isSelectable(fieldAt(field).kind))
        return value == kSelected ? 1 : 0;
    return value.toInt();
}

QString Configuration::text(const QString &form, const QString &control, int index) const
{
    return value(configurationFieldIndex(form, control, index));
}

int Configuration::state(const QString &form, const QString &control, int index) const
{
    return state(configurationFieldIndex(form, control, index));
}

int ConfigurationEditor::field(QStringView section, QStringView name, int index) const
{
    const int field = configurationFieldIndex(section, name, index);
    Q_ASSERT_X(field >= 0, "ConfigurationEditor", "no such stored value");
    return field;
}

QString ConfigurationEditor::text(QStringView section, QStringView name, int index) const
{
    return text(field(section, name, index));
}

int ConfigurationEditor::state(QStringView section, QStringView name, int index) const
{
    return state(field(section, name, index));
}

bool ConfigurationEditor::isChecked(QStringView section, QStringView name, int index) const
{
    return state(section, name, index) != 0;
}

bool ConfigurationEditor::isEnabled(QStringView section, QStringView name, int index) const
{
    return isEnabled(field(section, name, index));
}

void ConfigurationEditor::setText(int field, const QString &text)
{
    if (field < 0)
        return;
    const QString kept = fieldText(fieldAt(field), text);
    const QString before = m_configuration.m_values.at(field);
    if (kept == before)
        return;
    store(field, kept);
    changed(field, before);
}

void ConfigurationEditor::setText(QStringView section, QStringView name, int index, const QString &text)
{
    setText(field(section, name, index), text);
}

void ConfigurationEditor::setState(int field, int state)
{
    if (field < 0)
        return;
    const ConfigField &stored = fieldAt(field);
    const QString before = m_configuration.m_values.at(field);
    const QString after = storedState(stored.kind, state);
    if (after == before)
        return;
    if (stored.kind == ValueKind::Option && stored.group >= 0) {
        // The selected button of a group cannot be cleared by itself; selecting it clears the one selected
        // before, whose change is seen first.
        if (after == kNotSelected)
            return;
        store(field, after);
        const std::span<const ConfigField> fields = configurationFields();
        for (int other = 0; other < int(fields.size()); ++other) {
            const ConfigField &candidate = fields[size_t(other)];
            if (other != field && candidate.kind == ValueKind::Option && candidate.group == stored.group
                && QStringView(candidate.section) == QStringView(stored.section)
                && m_configuration.m_values.at(other) == kSelected) {
                store(other, kNotSelected);
                changed(other, kSelected);
                break;
            }
        }
        changed(field, before);
        return;
    }
    store(field, after);
    changed(field, before);
}

void ConfigurationEditor::setState(QStringView section, QStringView name, int index, int state)
{
    setState(field(section, name, index), state);
}

void ConfigurationEditor::setEnabled(int field, bool enabled)
{
    if (field >= 0)
        m_configuration.m_enabled[field] = enabled;
}

void ConfigurationEditor::setEnabled(QStringView section, QStringView name, int index, bool enabled)
{
    setEnabled(field(section, name, index), enabled);
}

void ConfigurationEditor::setStateWithoutRules(int field, int state)
{
    if (field >= 0)
        store(field, storedState(fieldAt(field).kind, state));
}

void ConfigurationEditor::applyStoredValue(int field, const QString &value)
{
    const ConfigField &stored = fieldAt(field);
    switch (stored.kind) {
    case ValueKind::Text:
        // What the field cannot use gives its design value.
        setText(field, storedFieldText(stored.rule, value).value_or(QString::fromUtf16(stored.design)));
        break;
    case ValueKind::List:
        if (const std::optional<int> index = integerPart(value); index && *index >= -1 && *index < stored.entries)
            setState(field, *index);
        break;
    case ValueKind::Check:
        if (const std::optional<int> state = integerPart(value); state && *state >= 0 && *state <= 2)
            setState(field, *state);
        break;
    case ValueKind::Option:
    case ValueKind::Tab:
        if (const std::optional<int> selected = integerPart(value)) {
            if (stored.kind == ValueKind::Tab && *selected != 0)
                m_configuration.m_chosenTabs.append(field);
            setState(field, *selected != 0 ? 1 : 0);
        }
        break;
    }
}

void ConfigurationEditor::store(int field, const QString &value)
{
    m_configuration.m_values[field] = value;
}

void ConfigurationEditor::changed(int field, const QString &before)
{
    const ConfigField &stored = fieldAt(field);
    // A copy: a rule may change the value again before the page's own rule sees this change.
    const QString after = m_configuration.m_values.at(field);
    sharedRules(*this, stored, before, after);
    if (const auto pageRule = pageModelRules(stored.section).changed)
        pageRule(*this, stored, before, after);
}

void enableNotifyBoxesFromTargets(ConfigurationEditor &editor, QStringView section)
{
    for (const NotifyKind kind : kNotifyKinds) {
        const QString array = notifyBoxArray(kind);
        for (int i = 1; i <= notifyMemberCount(kind); ++i) {
            const int member = configurationFieldIndex(section, array, i);
            if (member < 0)
                break;
            const bool present = !editor.text(u"frm1", notifyTargetField(kind), i).isEmpty();
            // Disabled before it is cleared, so the click rule sees a box that can no longer be ticked.
            editor.setEnabled(member, present);
            if (!present)
                editor.setState(member, 0);
        }
    }
}

void propagateTarget(
    ConfigurationEditor &editor, NotifyKind kind, int index, const QString &targetText, QStringView onlyPage)
{
    const QString array = notifyBoxArray(kind);
    const bool present = !targetText.isEmpty();
    for (const char16_t *page : notifyPropagationOrder(kind)) {
        const QStringView section(page);
        if (!onlyPage.isEmpty() && section != onlyPage)
            continue;
        const int member = configurationFieldIndex(section, array, index);
        if (member < 0)
            continue;
        editor.setEnabled(member, present);
        if (!present)
            editor.setState(member, 0);
        else if (editor.state(configurationFieldIndex(section, array, 0)) != 0)
            editor.setState(member, 1);
    }
}
