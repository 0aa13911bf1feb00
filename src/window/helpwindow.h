#pragma once

#include <QWidget>

class QTextBrowser;

// Shows one help topic, or the list of topics of the current set.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    void showTopic(const QString &set, int topic);
    int shownTopic() const { return m_topic; } // 0 while the topic list is shown
    QString shownSet() const { return m_set; }
    QTextBrowser *browser() const { return m_browser; }

private:
    void showTopicList(const QString &set);

    QTextBrowser *m_browser = nullptr;
    QString m_set;
    int m_topic = 0;
};

// The help window of the program, if one was opened (for the tests).
HelpWindow *currentHelpWindow();
