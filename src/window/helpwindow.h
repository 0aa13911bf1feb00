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

// Escape closes the window wherever its focus is, as users expect of a help window or an about box. Only for
// windows that are looked at and put away: never for the start window or a page.
void closeOnEscape(QWidget *window);
