#pragma once

#include <QString>

// What the commands say beyond the communication page's own texts, in the language in force.
namespace CliText {

// The level, and beside it the level in dBm where the level has one.
QString signalLevel(int level);
// --follow: the port is not there (yet, or any more), and the command waits for it.
QString waitingForPort(const QString &port);
// The port is back (under this name) and monitoring goes on.
QString portBack(const QString &port);
QString cannotBeOpened(const QString &reason);
QString noUsablePort();
// character: one character as the message shows it (ArgumentRules::shown).
QString badCharacter(const QString &what, const QString &character);
QString smsTooLong(int length, int limit);
QString stopped();
// Ctrl+C came before the module answered.
QString interrupted();
QString statusLogFile(const QString &path);
// What `init` says about the file it is to write.
QString fileExists(const QString &path);
QString notAFile(const QString &path);
QString fileWritten(const QString &path);

} // namespace CliText
