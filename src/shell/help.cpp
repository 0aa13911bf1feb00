#include "shell/help.h"

#include "shell/helpwindow.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString g_helpFile = QStringLiteral("\\GSM_HILFE.CHM");
QPointer<HelpWindow> g_helpWindow;
} // namespace

void setHelpFile(const QString &fileName)
{
    g_helpFile = fileName;
}

QString helpFile()
{
    return g_helpFile;
}

QString helpSetFor(const QString &fileName)
{
    return fileName.endsWith(QLatin1String("GSM_HELP.CHM"), Qt::CaseInsensitive) ? QStringLiteral("en")
                                                                                   : QStringLiteral("de");
}

QString helpTopicResource(const QString &set, int topic)
{
    const QString path = QStringLiteral(":/help/%1/%2.html").arg(set).arg(topic);
    return QFile::exists(path) ? path : QString();
}

QList<int> helpTopics(const QString &set)
{
    QList<int> topics;
    const QStringList files = QDir(QStringLiteral(":/help/%1").arg(set)).entryList({ QStringLiteral("*.html") });
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
    if (!g_helpWindow)
        g_helpWindow = new HelpWindow;
    g_helpWindow->showTopic(helpSetFor(g_helpFile), topic);
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
