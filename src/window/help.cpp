#include "window/help.h"

#include "window/formwindow.h"
#include "window/helpwindow.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace {
QString g_helpFile = QStringLiteral("\\GSM_HILFE.CHM");
QString g_helpSet = QStringLiteral("de");
QPointer<HelpWindow> g_helpWindow;
// Where the user last had the help window, so a help window opened again comes back there.
std::optional<QRect> g_helpGeometry;

QHash<QString, std::function<QString()>> &placeholders()
{
    static QHash<QString, std::function<QString()>> values {
        { QStringLiteral("%SETTINGS_FILE%"), [] { return IniFilePath(); } },
        { QStringLiteral("%STATUS_LOG%"), [] { return QFileInfo(StatusLogPath()).absoluteFilePath(); } },
    };
    return values;
}

// Remembers where the help window is moved to, and its size.
class HelpPositionKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
            auto *window = static_cast<QWidget *>(watched);
            // The inner geometry: frame sizes are unknown to a window that is not shown yet.
            if (window->isVisible())
                g_helpGeometry = window->geometry();
        }
        return false;
    }
};

// The start window and the windows it shows: what the help window should not cover.
std::optional<QRect> startWindowArea()
{
    const QWidget *start = WindowRegistry::instance().existing(QStringLiteral("frmStart"));
    if (!start || !start->isVisible())
        return std::nullopt;
    QRect taken = start->frameGeometry();
    const QList<FormWindow *> owned = start->findChildren<FormWindow *>(Qt::FindDirectChildrenOnly);
    for (const FormWindow *window : owned) {
        if (window->isVisible() && window->isWindow())
            taken |= window->frameGeometry();
    }
    return taken;
}

QRect screenRoom()
{
    const QWidget *start = WindowRegistry::instance().existing(QStringLiteral("frmStart"));
    const QScreen *screen = start ? start->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Beside the start window and the page it shows, on the side with room, so the menu stays free; narrower
// than usual where that makes it fit.
std::optional<QRect> besideStartWindow(const QSize &helpSize, const QSize &frame)
{
    constexpr int kNarrowest = 380;
    const std::optional<QRect> taken = startWindowArea();
    const QRect room = screenRoom();
    if (!taken || room.isEmpty())
        return std::nullopt;
    const int top = qBound(room.top(), taken->top(), qMax(room.top(), room.bottom() - helpSize.height()));
    const int roomRight = room.right() - taken->right() - frame.width();
    const int roomLeft = taken->left() - room.left() - frame.width();
    const auto width = [&](int space) { return space >= helpSize.width() ? helpSize.width() : space; };
    if (roomRight >= qMin(helpSize.width(), kNarrowest))
        return QRect(QPoint(taken->right() + 1, top), QSize(width(roomRight), helpSize.height()));
    if (roomLeft >= qMin(helpSize.width(), kNarrowest)) {
        const int w = width(roomLeft);
        return QRect(QPoint(taken->left() - w - frame.width(), top), QSize(w, helpSize.height()));
    }
    return QRect(
        QPoint(qMax(room.left(), room.right() + 1 - helpSize.width() - frame.width()), top), helpSize);
}
} // namespace

void setHelpFile(const QString &fileName, const QString &topicSet)
{
    g_helpFile = fileName;
    g_helpSet = topicSet;
}

QString helpFile()
{
    return g_helpFile;
}

QString helpTopicSet()
{
    return g_helpSet;
}

QString helpTopicResource(const QString &set, int topic)
{
    const QString path = QStringLiteral(":/help/%1/%2.html").arg(set).arg(topic);
    return QFile::exists(path) ? path : QString();
}

QList<int> helpTopics(const QString &set)
{
    QList<int> topics;
    const QStringList files
        = QDir(QStringLiteral(":/help/%1").arg(set)).entryList({ QStringLiteral("*.html") });
    for (const QString &file : files) {
        bool ok = false;
        const int topic = file.chopped(5).toInt(&ok);
        if (ok)
            topics.append(topic);
    }
    std::sort(topics.begin(), topics.end());
    return topics;
}

void showHelpTopic(int topic)
{
    if (!g_helpWindow) {
        g_helpWindow = new HelpWindow;
        if (g_helpGeometry) {
            g_helpWindow->setGeometry(*g_helpGeometry);
        } else if (const auto place = besideStartWindow(g_helpWindow->size(), QSize(10, 30))) {
            // Frame sizes are only known once shown: the usual border is allowed for.
            g_helpWindow->move(place->topLeft());
            g_helpWindow->resize(place->size());
        }
        g_helpWindow->installEventFilter(new HelpPositionKeeper(g_helpWindow));
    }
    g_helpWindow->showTopic(g_helpSet, topic);
    g_helpWindow->show();
    g_helpWindow->raise();
    g_helpWindow->activateWindow();
}

void closeAllHelp()
{
    if (g_helpWindow)
        g_helpWindow->close();
}

HelpWindow *currentHelpWindow()
{
    return g_helpWindow;
}

void setHelpPlaceholder(const QString &placeholder, std::function<QString()> value)
{
    placeholders().insert(placeholder, std::move(value));
}

QString withHelpPlaceholders(QString html)
{
    for (auto it = placeholders().cbegin(); it != placeholders().cend(); ++it) {
        if (html.contains(it.key()))
            html.replace(it.key(), QDir::toNativeSeparators(it.value()()).toHtmlEscaped());
    }
    return html;
}
