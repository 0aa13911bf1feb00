#pragma once

#include <QString>

#include <array>
#include <optional>

// Colour of one of the five signal bars.
enum class BarColour { Off, Green, Red };

using SignalBars = std::array<BarColour, 5>;

// The level a status message reports: the two characters 12 places after the "P" of its first "PEGEL",
// when both are decimal digits. A message without "PEGEL", one that ends before the two characters, and
// characters other than digits give no level.
std::optional<int> signalLevelOf(const QString &message);

// The bars for a level: 0 one red bar; 1 … 5 two green; 6 … 9 three; 10 … 14 four; 15 … 31 five;
// 32 … 99 five red. Below 0 or above 99 the bars stay as they are (nullopt).
std::optional<SignalBars> signalBarColours(int level);

// The level in dBm on the module's 0 … 31 scale: 0 is -113 dBm or less, 1 is -111, 2 … 30 are -109 … -53 in
// steps of 2, 31 is -51 or more. 99 (not known) and anything off the scale give nullopt.
std::optional<int> signalLevelDbm(int level);
