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
