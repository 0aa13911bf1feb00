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

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("helpWindow"));
    resize(560, 480);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) {
        // Links between topics are written as "topic:NNN".
        if (url.scheme() == QLatin1String("topic"))
            showTopic(m_set, url.path().toInt());
    });
}

void HelpWindow::showTopic(const QString &set, int topic)
{
    m_set = set;
    const QString resource = helpTopicResource(set, topic);
    if (resource.isEmpty()) {
        showTopicList(set);
        return;
    }
    QFile file(resource);
    file.open(QIODevice::ReadOnly);
    m_topic = topic;
    m_browser->setHtml(QString::fromUtf8(file.readAll()));
    setWindowTitle(m_browser->documentTitle().isEmpty() ? QStringLiteral("GSM") : m_browser->documentTitle());
}

void HelpWindow::showTopicList(const QString &set)
{
    m_topic = 0;
    const bool german = set == QLatin1String("de");
    QString html = QStringLiteral("<h2>%1</h2><ul>").arg(german ? QStringLiteral("Hilfethemen") : QStringLiteral("Help topics"));
    for (int topic : helpTopics(set)) {
        QFile file(helpTopicResource(set, topic));
        file.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype begin = text.indexOf(QLatin1String("<title>"));
        const qsizetype end = text.indexOf(QLatin1String("</title>"));
        const QString title = begin >= 0 && end > begin ? text.mid(begin + 7, end - begin - 7) : QString::number(topic);
        html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>").arg(topic).arg(title);
    }
    html += QStringLiteral("</ul>");
    m_browser->setHtml(html);
    setWindowTitle(german ? QStringLiteral("Hilfethemen") : QStringLiteral("Help topics"));
}
