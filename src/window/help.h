#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The program's help: bundled HTML topics shown by number in a help window of the program. The language
// chooses the help file and the topic set shown for it ("de", "en"); until it does, the German help.

void setHelpFile(const QString &fileName, const QString &topicSet);
QString helpFile();
QString helpTopicSet();

// Shows the topic of that number from the current set; a topic that does not exist shows the topic list.
void showHelpTopic(int topic);
// Closes every help window of the program (before the program ends).
void closeAllHelp();

// Resource path of a topic in a set, empty when the set has no such topic.
QString helpTopicResource(const QString &set, int topic);
// Topic numbers present in a set, ascending.
QList<int> helpTopics(const QString &set);

// A word the topics write where they name a file of this run ("%UPLOAD_LOG%"), and what replaces it when a
// topic is shown (as plain text; it is escaped for the page). The settings file and the status log are known
// here already.
void setHelpPlaceholder(const QString &placeholder, std::function<QString()> value);
// The topic's text with every placeholder replaced.
QString withHelpPlaceholders(QString html);
