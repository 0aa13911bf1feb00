#pragma once

#include <QString>
#include <QStringList>

// The recently used configurations, kept in the user's configuration (RecentStorePath()), not in the
// settings file, whose content is the pages' alone. Only a regular file of a sensible size is read: a FIFO
// or a device there is never opened, and a store larger than kMaxSize is neither read nor replaced.
namespace RecentStore {

inline constexpr int kCount = 5;
inline constexpr qint64 kMaxSize = 64 * 1024;

// The files, newest first; empty when the store is missing or not read.
QStringList files();

// Puts the file first. False when the store cannot take it; reason (when given) then says why, in the
// language in force.
bool remember(const QString &path, QString *reason = nullptr);

} // namespace RecentStore
