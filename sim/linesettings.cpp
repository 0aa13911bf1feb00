#include "linesettings.h"

#include <QStringList>

#include <array>
#include <termios.h>

namespace {

struct Speed
{
    speed_t code;
    int baud;
};

constexpr std::array kSpeeds {
    Speed { B300, 300 },
    Speed { B1200, 1200 },
    Speed { B2400, 2400 },
    Speed { B4800, 4800 },
    Speed { B9600, 9600 },
    Speed { B19200, 19200 },
    Speed { B38400, 38400 },
    Speed { B57600, 57600 },
    Speed { B115200, 115200 },
};

struct FlowName
{
    LineSettings::Flow flow;
    const char *name;
};

constexpr std::array kFlowNames {
    FlowName { LineSettings::Flow::None, "none" },
    FlowName { LineSettings::Flow::Hardware, "rtscts" },
    FlowName { LineSettings::Flow::Software, "xonxoff" },
    FlowName { LineSettings::Flow::Both, "both" },
};

} // namespace

LineSettings LineSettings::fromTermios(const termios &settings)
{
    LineSettings line;
    const speed_t speed = cfgetospeed(&settings);
    for (const Speed &known : kSpeeds) {
        if (known.code == speed)
            line.baud = known.baud;
    }
    if ((settings.c_cflag & PARENB) == 0)
        line.parity = 'n';
    else
        line.parity = (settings.c_cflag & PARODD) != 0 ? 'o' : 'e';
    switch (settings.c_cflag & CSIZE) {
    case CS5:
        line.dataBits = 5;
        break;
    case CS6:
        line.dataBits = 6;
        break;
    case CS7:
        line.dataBits = 7;
        break;
    default:
        line.dataBits = 8;
    }
    line.stopBits = (settings.c_cflag & CSTOPB) != 0 ? 2 : 1;
    const bool hardware = (settings.c_cflag & CRTSCTS) != 0;
    const bool software = (settings.c_iflag & (IXON | IXOFF)) != 0;
    line.flow = hardware && software ? Flow::Both
        : hardware                   ? Flow::Hardware
        : software                   ? Flow::Software
                                     : Flow::None;
    return line;
}

std::optional<LineSettings> LineSettings::parse(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4 && parts.size() != 5)
        return std::nullopt;
    LineSettings line;
    bool ok = false;
    line.baud = parts.at(0).toInt(&ok);
    if (!ok || line.baud <= 0)
        return std::nullopt;
    const QString parity = parts.at(1).toLower();
    if (parity != QLatin1String("n") && parity != QLatin1String("e") && parity != QLatin1String("o"))
        return std::nullopt;
    line.parity = parity.at(0).toLatin1();
    line.dataBits = parts.at(2).toInt(&ok);
    if (!ok || line.dataBits < 5 || line.dataBits > 8)
        return std::nullopt;
    line.stopBits = parts.at(3).toInt(&ok);
    if (!ok || (line.stopBits != 1 && line.stopBits != 2))
        return std::nullopt;
    if (parts.size() == 5) {
        const auto entry = std::find_if(kFlowNames.begin(), kFlowNames.end(),
            [&](const FlowName &f) { return parts.at(4) == QLatin1String(f.name); });
        if (entry == kFlowNames.end())
            return std::nullopt;
        line.flow = entry->flow;
    }
    return line;
}

QString LineSettings::describe() const
{
    QString flowName;
    for (const FlowName &f : kFlowNames) {
        if (f.flow == flow)
            flowName = QLatin1String(f.name);
    }
    return QStringLiteral("%1,%2,%3,%4,%5")
        .arg(baud > 0 ? QString::number(baud) : QStringLiteral("?"))
        .arg(QLatin1Char(parity))
        .arg(dataBits)
        .arg(stopBits)
        .arg(flowName);
}
