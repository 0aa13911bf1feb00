#pragma once

#include <QString>
#include <QStringList>

// The program's help: bundled HTML topics shown by number in a help window of the program. The help "file"
// chosen by the language picks the topic set: "\GSM_HILFE.CHM" the German topics, "\GSM_HELP.CHM" the English.

void setHelpFile(const QString &fileName);
QString helpFile();

// Shows the topic of that number from the current set; a topic that does not exist shows the topic list.
void showHelpTopic(int topic);
// Closes every help window of the program (before the program ends).
void closeAllHelp();

// Topic set folder ("de" or "en") for a help file name; exposed for the tests.
QString helpSetFor(const QString &fileName);
// Resource path of a topic in a set, empty when the set has no such topic.
QString helpTopicResource(const QString &set, int topic);
// Topic numbers present in a set, ascending.
QList<int> helpTopics(const QString &set);
