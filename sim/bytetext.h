#pragma once

#include <QByteArray>
#include <QString>

// The module line carries Windows-1252: one byte per character.
QByteArray toWindows1252(QStringView text);
QString fromWindows1252(const QByteArray &bytes);

// Turns the text of a "say" command into the bytes to send: \r \n \t \\ and \xHH are decoded, every
// other character is encoded in Windows-1252. An unknown or incomplete escape is kept as typed.
QByteArray decodeSayText(QStringView text);

// A one-line, readable form of received or sent bytes for the log: control characters and bytes
// that have no character are shown as escapes.
QString describeBytes(const QByteArray &bytes);
