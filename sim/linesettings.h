#pragma once

#include <QString>

#include <optional>

struct termios;

// The serial settings a program put on the line, as the module's end can read them from the pty.
struct LineSettings
{
    enum class Flow { None, Hardware, Software, Both };

    int baud = 0; // 0 when the speed has no standard value
    char parity = 'n'; // 'n', 'e' or 'o'
    int dataBits = 8;
    int stopBits = 1;
    Flow flow = Flow::None;

    bool operator==(const LineSettings &) const = default;

    static LineSettings fromTermios(const termios &settings);
    // "9600,n,8,1", optionally followed by ",none", ",rtscts", ",xonxoff" or ",both" (none when left out).
    static std::optional<LineSettings> parse(const QString &text);
    QString describe() const;
};
