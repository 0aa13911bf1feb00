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

// What is said when the units of a units file and the ports do not fit together. Lines are those of the
// units file; units and ports as messages quote them.
QString unknownUnit(const QString &unitsFile, const QString &unit);
QString unitNeedsOnePort(int ports);
QString unitPortDiffers(int line, const QString &unit, const QString &rowPort, const QString &port);
QString portNotGiven(int line, const QString &unit, const QString &port);
QString portNamedTwice(int line, int otherLine, const QString &port);
QString unitCountMismatch(int units, int ports);
// The unit's record is not 640 characters long (said before), so it cannot be sent.
QString unitRecordRefused(const QString &unit);
// Nothing was sent to any module because of the problems said before.
QString nothingSent();

} // namespace CliText
