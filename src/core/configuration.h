#pragma once

#include "core/configfields.h"
#include "core/controlvalues.h"
#include "core/notifykinds.h"

#include <QList>
#include <QString>

#include <optional>

class IniDocument;

// A value of the settings file read as a number, reduced to its integer part; the file only ever holds small
// integers, so anything that is not a number or lies outside a 16-bit integer is no usable value.
std::optional<int> integerPart(const QString &value);

// The configuration of a module: every stored value of the eight configuration pages, without any window.
// The pages show it, the settings file is read into it and written from it, the record is built from it and
// the commands use it. A new configuration holds the design values.
class Configuration : public ControlValues
{
public:
    Configuration();

    // What the pages hold after loading the document: each value taken as its page takes it from the settings
    // file (the field's rules for texts, the kind's rules for the others; design values where the document has
    // nothing usable), with every rule that ties values together run as the pages run it while they load.
    static Configuration fromDocument(const IniDocument &document);

    // The settings file of this configuration: every value that is not empty, page by page, in field order.
    IniDocument toDocument() const;

    // What a page built from this configuration takes: the settings file, and the tab a page's file chose
    // (a tab never stays selected, yet the page opens on it), so the page looks as if it had read the file.
    IniDocument viewDocument() const;

    // The stored form of a value (text, "0"/"1"/"2", "-1"/"0"); empty for an unknown key.
    QString value(int field) const { return m_values.value(field); }
    QString value(QStringView section, QStringView key) const;
    bool isEnabled(int field) const { return m_enabled.value(field); }

    // Check box 0/1/2, option button 1 selected / 0 not, list: the selected index.
    int state(int field) const;

    QString text(const QString &form, const QString &control, int index = -1) const override;
    int state(const QString &form, const QString &control, int index = -1) const override;

    // A value as a page's control holds it, put in without any rule: the control ran them already.
    void setStoredValue(int field, const QString &value) { m_values[field] = value; }
    void setEnabled(int field, bool enabled) { m_enabled[field] = enabled; }

    bool operator==(const Configuration &other) const
    {
        return m_values == other.m_values && m_enabled == other.m_enabled;
    }
    // Only the values, as a file or the record sees them.
    bool sameValues(const Configuration &other) const { return m_values == other.m_values; }

private:
    friend class ConfigurationEditor;
    QList<QString> m_values; // stored form, by field
    QList<bool> m_enabled; // whether the control takes input, by field
    QList<int> m_chosenTabs; // the tab fields a loaded file selected, in the order it selected them
};

// Changes a configuration as the pages' controls change: a value set here runs the same rules as the
// page's handlers run when the program sets the control (a selected option button clears the others of its
// group, a tab never stays selected, a notification box follows its set's click rule, and each page's own
// rules), and only when the value really changes, as a control signals only a change.
class ConfigurationEditor
{
public:
    explicit ConfigurationEditor(Configuration &configuration)
        : m_configuration(configuration)
    {
    }

    const Configuration &configuration() const { return m_configuration; }

    int field(QStringView section, QStringView name, int index = -1) const;

    QString text(int field) const { return m_configuration.value(field); }
    QString text(QStringView section, QStringView name, int index = -1) const;
    int state(int field) const { return m_configuration.state(field); }
    int state(QStringView section, QStringView name, int index = -1) const;
    bool isChecked(QStringView section, QStringView name, int index = -1) const;
    bool isEnabled(int field) const { return m_configuration.isEnabled(field); }
    bool isEnabled(QStringView section, QStringView name, int index = -1) const;

    // A text field's new text, kept to its maximum length and free of control characters as the field keeps
    // it.
    void setText(int field, const QString &text);
    void setText(QStringView section, QStringView name, int index, const QString &text);
    // Check box 0/1/2; option button or tab 1 selected, 0 not (the selected option of a group cannot be
    // cleared: selecting another one clears it); list: the index.
    void setState(int field, int state);
    void setState(QStringView section, QStringView name, int index, int state);
    void setEnabled(int field, bool enabled);
    void setEnabled(QStringView section, QStringView name, int index, bool enabled);
    // A state the page puts in place itself, as it is built or after loading, without any of its handlers
    // running (an option group left with none selected, too).
    void setStateWithoutRules(int field, int state);

    // A value read from a settings file, taken as the page takes it on loading: a text through the field's rules
    // (its design value where nothing usable is left), a number by the kind's rules; unusable values change
    // nothing.
    void applyStoredValue(int field, const QString &value);

private:
    void changed(int field, const QString &before);
    void store(int field, const QString &value);

    Configuration &m_configuration;
};

// The rules of one page that tie its values together, as its handlers apply them.
struct PageModelRules
{
    // After a value of the page changed (as the handler of its control runs): the value before and after, in
    // the stored form. Runs after the rules every page shares (option groups, tabs, notification sets).
    void (*changed)(ConfigurationEditor &editor, const ConfigField &field, const QString &before,
        const QString &after) = nullptr;
    // After the page has taken the values of a settings file and its notification boxes followed the targets.
    void (*loaded)(ConfigurationEditor &editor) = nullptr;
    // Before the page takes the values of a settings file: where the page as it is built differs from its
    // design values (a choice it leaves open until the file has been read).
    void (*loading)(ConfigurationEditor &editor) = nullptr;
};

// Each page's rules (empty rules for a page without any).
const PageModelRules &pageModelRules(QStringView section);

// The notification boxes of the page follow the targets of the general settings page: a box whose target is
// empty is disabled and cleared, the others are enabled.
void enableNotifyBoxesFromTargets(ConfigurationEditor &editor, QStringView section);

// A target of the general settings page changed to the text: on every page with a set of that kind (or only on
// the page named) the member of that index follows it, and is ticked when it is enabled and the set's all box
// is ticked.
void propagateTarget(ConfigurationEditor &editor, NotifyKind kind, int index, const QString &targetText,
    QStringView onlyPage = {});
