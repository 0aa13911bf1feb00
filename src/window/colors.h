#pragma once

#include <QColor>

// Colours are given as Windows colour values 0x00BBGGRR; this turns one into a QColor.
constexpr QRgb fromBgr(unsigned bgr)
{
    return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

namespace Bgr {
constexpr unsigned LightBlue = 0xFFC0C0;   // start window background
constexpr unsigned MenuBlue = 0xFF8080;    // menu button background
constexpr unsigned LightYellow = 0xC0FFFF; // menu button text, selected background
constexpr unsigned Navy = 0x800000;        // titles, selected text
constexpr unsigned White = 0xFFFFFF;
constexpr unsigned Red = 0x0000FF;
constexpr unsigned DarkGreen = 0x004000;
constexpr unsigned Green = 0x008000;
constexpr unsigned Grey = 0xC0C0C0;
constexpr unsigned DarkGrey = 0x808080;
} // namespace Bgr
