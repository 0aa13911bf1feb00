#pragma once

#include <QString>

// One short line per event on stderr, stamped with the seconds since start.
void setEventLogEnabled(bool enabled);
void logEvent(const QString &line);
