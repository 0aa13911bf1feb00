#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of the settings file and of everything sent to the module.
//
// toCp1252 writes one byte per UTF-16 code unit, so a text keeps its length: a character that has no byte in
// the code page, and each half of a character outside the Basic Multilingual Plane, becomes "?". The five
// bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to U+0081 … U+009D and encode
// back to themselves, so any byte sequence survives a decode/encode round trip unchanged.
QByteArray toCp1252(const QString &text);
QString fromCp1252(const QByteArray &bytes);
