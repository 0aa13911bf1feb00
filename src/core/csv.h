#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// Files for people and scripts: CSV lines by RFC 4180 (a field with a comma, a quote or a line end is quoted,
// quotes inside doubled; lines end with CR LF), and times in ISO 8601 with milliseconds and the UTC offset.
QString csvField(const QString &value);
QString csvLine(const QStringList &fields);

// 2026-12-08T16:43:11.042+01:00 (Z for UTC).
QString isoTimestamp(const QDateTime &time);
