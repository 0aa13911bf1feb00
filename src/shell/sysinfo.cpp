#include "shell/sysinfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

#ifdef Q_OS_WIN

// Reads one value below the root key. Only reading is asked for: the tool's keys belong to the system, and
// asking for more rights than reading is refused to ordinary users.
bool GetKeyValue(HKEY root, const QString &keyName, const QString &valueName, QString &value)
{
    value.clear();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, reinterpret_cast<const wchar_t *>(keyName.utf16()), 0, KEY_READ, &key)
        != ERROR_SUCCESS)
        return false;
    QByteArray buffer(kRegistryValueChars * int(sizeof(wchar_t)), '\0');
    DWORD type = 0;
    DWORD size = DWORD(buffer.size());
    const LSTATUS status = RegQueryValueExW(key, reinterpret_cast<const wchar_t *>(valueName.utf16()),
        nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size);
    const bool read = status == ERROR_SUCCESS && registryValueText(type, buffer, size, &value);
    RegCloseKey(key);
    return read;
}

#endif

} // namespace

QString registryText(const QByteArray &buffer, quint32 sizeInBytes)
{
    const qsizetype bytes = std::min<qsizetype>(sizeInBytes, buffer.size());
    QString text;
    text.reserve(bytes / 2);
    for (qsizetype i = 0; i + 1 < bytes; i += 2)
        text.append(QChar(char16_t(uchar(buffer[i]) | (uchar(buffer[i + 1]) << 8))));
    if (text.endsWith(QChar(u'\0')))
        text.chop(1);
    return text;
}

bool registryValueText(quint32 type, const QByteArray &buffer, quint32 sizeInBytes, QString *text)
{
    text->clear();
    switch (type) {
    case RegistryType::Text:
        *text = registryText(buffer, sizeInBytes);
        return true;
    case RegistryType::ExpandText:
        *text = expandEnvironmentReferences(registryText(buffer, sizeInBytes));
        return true;
    case RegistryType::Number:
        if (sizeInBytes < 4 || buffer.size() < 4)
            return false;
        *text = QString::number(quint32(uchar(buffer[0])) | quint32(uchar(buffer[1])) << 8
            | quint32(uchar(buffer[2])) << 16 | quint32(uchar(buffer[3])) << 24);
        return true;
    default:
        return false;
    }
}

QString expandEnvironmentReferences(const QString &text)
{
    QString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'%', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0) {
            result += text.mid(pos);
            break;
        }
        result += text.mid(pos, open - pos);
        const QString name = text.mid(open + 1, close - open - 1);
        if (!name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData()))
            result += qEnvironmentVariable(name.toLocal8Bit().constData());
        else
            result += text.mid(open, close - open + 1);
        pos = close + 1;
    }
    return result;
}

QStringList systemInfoPrograms()
{
    return { QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"), QStringLiteral("mate-system-monitor") };
}

QString findSystemInfoTool()
{
#ifdef Q_OS_WIN
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
            QStringLiteral("PATH"), path))
        return path;
    QString directory;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
            QStringLiteral("MSINFO"), directory)) {
        const QString file = directory + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
#else
    for (const QString &program : systemInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty())
            return path;
    }
    return {};
#endif
}

bool startSystemInfoTool(const QString &program)
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}
