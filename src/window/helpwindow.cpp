#include "window/helpwindow.h"

#include "window/help.h"
#include "window/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

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
    closeOnEscape(this);
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
    // The topics name the files of this run where they say where the files are.
    m_browser->setHtml(withHelpPlaceholders(QString::fromUtf8(file.readAll())));
    setWindowTitle(m_browser->documentTitle().isEmpty() ? QStringLiteral("GSM") : m_browser->documentTitle());
}

void HelpWindow::showTopicList(const QString &set)
{
    m_topic = 0;
    const bool german = set == QLatin1String("de");
    QString html = QStringLiteral("<h2>%1</h2><ul>")
                       .arg(german ? QStringLiteral("Hilfethemen") : QStringLiteral("Help topics"));
    for (int topic : helpTopics(set)) {
        QFile file(helpTopicResource(set, topic));
        file.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(file.readAll());
        const qsizetype begin = text.indexOf(QLatin1String("<title>"));
        const qsizetype end = text.indexOf(QLatin1String("</title>"));
        const QString title
            = begin >= 0 && end > begin ? text.mid(begin + 7, end - begin - 7) : QString::number(topic);
        html += QStringLiteral("<li><a href=\"topic:%1\">%2</a></li>").arg(topic).arg(title);
    }
    html += QStringLiteral("</ul>");
    m_browser->setHtml(html);
    setWindowTitle(german ? QStringLiteral("Hilfethemen") : QStringLiteral("Help topics"));
}

void closeOnEscape(QWidget *window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}
