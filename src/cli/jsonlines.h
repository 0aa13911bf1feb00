#pragma once

#include <QJsonObject>

// Output for scripts: one JSON object per line (compact, UTF-8, a line feed after it) on standard output.
void printJsonLine(const QJsonObject &object);
