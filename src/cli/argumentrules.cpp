#include "cli/argumentrules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace ArgumentRules {

namespace {

// The options QApplication takes away from the arguments (some only on X11), with their values.
const QSet<QString> kQtOptionsWithValue
    = { QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
          QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
          QStringLiteral("qwindowtitle"), QStringLiteral("session"), QStringLiteral("style"),
          QStringLiteral("stylesheet"), QStringLiteral("display"), QStringLiteral("geometry"),
          QStringLiteral("title"), QStringLiteral("icon"), QStringLiteral("name"), QStringLiteral("visual") };
const QSet<QString> kQtFlags
    = { QStringLiteral("reverse"), QStringLiteral("testability"), QStringLiteral("widgetcount"),
          QStringLiteral("qdevel"), QStringLiteral("nograb"), QStringLiteral("dograb") };
// Written as one argument, name=value.
const QSet<QString> kQtJoinedOptions
    = { QStringLiteral("style"), QStringLiteral("stylesheet"), QStringLiteral("qmljsdebugger") };

QString hex(char32_t code, int digits)
{
    return QString::number(uint(code), 16).toUpper().rightJustified(digits, u'0');
}

} // namespace

std::optional<NonQtArgument> firstNonQtArgument(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        QString name = argument;
        if (name.startsWith(QLatin1String("--")))
            name.remove(0, 2);
        else if (name.startsWith(u'-'))
            name.remove(0, 1);
        else
            return NonQtArgument { argument };
        if (const qsizetype equals = name.indexOf(u'='); equals > 0) {
            if (!kQtJoinedOptions.contains(name.left(equals)))
                return NonQtArgument { argument };
        } else if (kQtOptionsWithValue.contains(name)) {
            if (++i == arguments.size())
                return NonQtArgument { argument, true };
        } else if (!kQtFlags.contains(name)) {
            return NonQtArgument { argument };
        }
    }
    return std::nullopt;
}

QString shown(const QString &text)
{
    QString result;
    result.reserve(text.size());
    // By code point, so a character outside the first plane is never split; a lone surrogate is no
    // character at all and shows as its code.
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text.at(i).unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const QChar::Category category = QChar::category(code);
        const bool hidden = category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Other_Surrogate || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph;
        if (!hidden)
            result += QString::fromUcs4(&code, 1);
        else if (code < 0x80)
            result += QStringLiteral("\\x") + hex(code, 2);
        else
            result += QStringLiteral("\\u{") + hex(code, 4) + u'}';
    }
    return result;
}

QString portIdentity(const QString &port)
{
#ifdef Q_OS_WIN
    // COM3, com3 and \\.\COM3 are one port.
    QString name = port;
    if (name.startsWith(QLatin1String("\\\\.\\")))
        name.remove(0, 4);
    return name.toUpper();
#else
    const QFileInfo info(port);
    const QString canonical = info.canonicalFilePath(); // links and ".." resolved; empty when missing
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
#endif
}

bool isQtNote(QtMsgType type, const char *category, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return true;
    if (type != QtWarningMsg)
        return false;
    if (category && qstrncmp(category, "qt.", 3) == 0)
        return true;
    // Qt's uncategorised warnings begin with the class that gives them: "QFile::at: …",
    // "QIODevice::seek (QFile, …): …", "QStandardPaths: …".
    static const QRegularExpression qtClass(QStringLiteral("^Q[A-Z][A-Za-z0-9]*(::[A-Za-z0-9_~]+)?\\s*[:(]"));
    return qtClass.match(message).hasMatch();
}

} // namespace ArgumentRules
