#include "shell/settingsfile.h"

#include "shell/formwindow.h"
#include "shell/inifile.h"
#include "shell/settingslocation.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

#include <cmath>
#include <limits>
#include <optional>

namespace {

QString &settingsDirectory()
{
    static QString directory;
    return directory;
}

// A value read as a number, reduced to its integer part; the file only ever holds small integers, so anything
// that is not a number or lies outside a 16-bit integer is no usable value.
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

int entryCount(const QWidget *widget)
{
    if (auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->count();
    if (auto *list = qobject_cast<const QListWidget *>(widget))
        return list->count();
    return 0;
}

void applyValue(const ControlRef &ref, const QString &value)
{
    switch (ref.kind) {
    case ControlKind::TextBox: {
        QString text = value;
        if (auto *line = qobject_cast<QLineEdit *>(ref.widget.data()))
            text.truncate(line->maxLength());
        setControlText(ref, text);
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

QString IniFilePath()
{
    if (!settingsDirectory().isEmpty())
        return QDir(settingsDirectory()).filePath(SettingsLocation::kSettingsFileName);
    const QString path = SettingsLocation::chooseSettingsFile(SettingsLocation::currentFolders()).writePath;
    // The user's configuration folder may not exist yet; without it no save could succeed.
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

QString IniFileReadPath()
{
    if (!settingsDirectory().isEmpty())
        return IniFilePath();
    return SettingsLocation::chooseSettingsFile(SettingsLocation::currentFolders()).readPath;
}

QString StatusLogPath()
{
    const QString path = SettingsLocation::chooseStatusLog(SettingsLocation::currentFolders());
    if (QFileInfo(path).isAbsolute())
        QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

void setSettingsDirectory(const QString &directory)
{
    settingsDirectory() = directory;
}

void LoadFormSettings(FormWindow *window)
{
    if (!window)
        return;
    const std::optional<IniDocument> file = readIniFile(IniFileReadPath());
    if (!file)
        return;
    const QString section = window->formName();
    // A copy: the handlers that run for restored values may touch the window's controls.
    const QList<ControlRef> controls = window->controls();
    for (const ControlRef &ref : controls) {
        if (!ref.widget || ref.kind == ControlKind::Other)
            continue;
        if (const std::optional<QString> value = file->value(section, ref.key()))
            applyValue(ref, *value);
    }
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

bool SaveAllFormsToFile(const QList<FormWindow *> &windows, QString *errorText)
{
    IniDocument document;
    for (FormWindow *window : windows)
        SaveFormSettings(window, document);
    return writeIniFileAtomically(IniFilePath(), document, errorText);
}
