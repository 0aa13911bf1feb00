#include "comm/uploadlog.h"
#include "shell/windowcatalog.h"
#include "window/help.h"
#include "window/helpwindow.h"

#include <QDir>
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void everyTopicExistsInBothSets_data();
    void everyTopicExistsInBothSets();
    void helpFileChoosesTopicSet();
    void missingTopicShowsTopicList();
    void escapeClosesHelpWindow();
    void everyLinkAndPlaceholderResolves();
};

void TestHelp::everyTopicExistsInBothSets_data()
{
    QTest::addColumn<int>("topic");
    for (int topic : { 555, 1010, 1030, 1040, 1050, 1060, 1080, 1085, 1090, 1095, 1100 })
        QTest::addRow("%d", topic) << topic;
}

void TestHelp::everyTopicExistsInBothSets()
{
    QFETCH(int, topic);
    for (const char *set : { "de", "en" }) {
        HelpWindow window;
        window.showTopic(set, topic);
        QCOMPARE(window.shownTopic(), topic);
        QVERIFY(!window.browser()->documentTitle().isEmpty());
        QVERIFY(window.browser()->toPlainText().size() > 100);
    }
}

void TestHelp::helpFileChoosesTopicSet()
{
    setHelpFile("\\GSM_HELP.CHM", "en");
    showHelpTopic(1060);
    QCOMPARE(currentHelpWindow()->shownSet(), QString("en"));
    setHelpFile("\\GSM_HILFE.CHM", "de");
    showHelpTopic(1060);
    QCOMPARE(currentHelpWindow()->shownSet(), QString("de"));
    closeAllHelp();
}

void TestHelp::missingTopicShowsTopicList()
{
    HelpWindow window;
    window.showTopic("en", 4711);
    QCOMPARE(window.shownTopic(), 0);
    const QString list = window.browser()->toPlainText();
    QVERIFY(list.contains("Help topics"));
    // Every topic is listed by its title.
    QCOMPARE(helpTopics("en").size(), 11);
}

void TestHelp::escapeClosesHelpWindow()
{
    showHelpTopic(1060);
    QPointer<HelpWindow> window = currentHelpWindow();
    QVERIFY(window);
    QTRY_COMPARE(QApplication::activeWindow(), window.data());
    // Other keys read the topic; Escape puts the window away, with the focus in the text.
    window->browser()->setFocus();
    QTest::keyClick(window->browser(), Qt::Key_PageDown);
    QTest::keyClick(window->browser(), Qt::Key_A);
    QVERIFY(window->isVisible());
    QTest::keyClick(window->browser(), Qt::Key_Escape);
    QTRY_VERIFY(!window);
    QVERIFY(!currentHelpWindow());
}

void TestHelp::everyLinkAndPlaceholderResolves()
{
    const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    const QRegularExpression placeholder(QStringLiteral("%[A-Z_]+%"));
    // The program names its files for the topics as it registers its windows.
    registerProgramWindows();
    for (const char *set : { "de", "en" }) {
        for (int topic : helpTopics(set)) {
            QFile file(helpTopicResource(set, topic));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch &match : link.globalMatch(html)) {
                const QString target = match.captured(1);
                QVERIFY2(target.startsWith(QLatin1String("topic:"))
                        && !helpTopicResource(set, target.mid(6).toInt()).isEmpty(),
                    qPrintable(QStringLiteral("%1/%2: %3").arg(set).arg(topic).arg(target)));
            }
            HelpWindow window;
            window.showTopic(set, topic);
            QVERIFY2(!window.browser()->toPlainText().contains(placeholder),
                qPrintable(QStringLiteral("%1/%2").arg(set).arg(topic)));
            if (html.contains(QLatin1String("%UPLOAD_LOG%")))
                QVERIFY(window.browser()->toPlainText().contains(QDir::toNativeSeparators(UploadLog::logPath())));
        }
    }
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
