#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The operating system's system information tool, offered by the about box.
//
// Windows: the tool's path comes from the registry, first HKLM "SOFTWARE\Microsoft\Shared Tools\MSINFO",
// value "PATH"; else the directory in HKLM "SOFTWARE\Microsoft\Shared Tools Location", value "MSINFO", when
// it holds "MSINFO32.EXE". Elsewhere: the first of systemInfoPrograms() found on PATH.

// Registry value types the lookup understands (the numbers of the registry's own type codes).
namespace RegistryType {
inline constexpr quint32 Text = 1; // REG_SZ
inline constexpr quint32 ExpandText = 2; // REG_EXPAND_SZ
inline constexpr quint32 Number = 4; // REG_DWORD (little-endian)
} // namespace RegistryType

// Size of the value buffer of the lookup, in characters.
inline constexpr int kRegistryValueChars = 1024;

// The text of a registry text value from the bytes the query filled in (UTF-16, little-endian) and the size
// in bytes it reported. Writers of the registry may or may not count the terminating NUL in the stored
// size: a last character NUL is dropped, otherwise the text is taken whole. Never reads past the buffer.
QString registryText(const QByteArray &buffer, quint32 sizeInBytes);

// A registry value of any type as text: text values as registryText, expandable text with its %NAME%
// references replaced by the environment, numbers in decimal. False (and an empty text) for other types.
bool registryValueText(quint32 type, const QByteArray &buffer, quint32 sizeInBytes, QString *text);

// Replaces each %NAME% by the environment variable NAME; references to unset variables stay as they are.
QString expandEnvironmentReferences(const QString &text);

// The programs looked for on PATH outside Windows, in this order: dedicated system information viewers
// first, then the system monitors of the common desktops, which show the hardware and system summary too.
QStringList systemInfoPrograms();

// Full path of the system information tool, empty when there is none.
QString findSystemInfoTool();

// Starts the tool on its own, not tied to this program; false when it could not be started.
bool startSystemInfoTool(const QString &program);
