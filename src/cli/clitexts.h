#pragma once

#include <QString>

// What the commands say beyond the communication page's own texts, in the language in force.
namespace CliText {

QString signalLevel(int level);
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
