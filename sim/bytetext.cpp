#include "bytetext.h"

#include <array>

namespace {

// Characters of the bytes 0x80 .. 0x9F; zero marks the five bytes that Windows-1252 leaves undefined.
constexpr std::array<char16_t, 32> kHighControls {
    0x20AC,
    0,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0,
    0x017D,
    0,
    0,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0,
    0x017E,
    0x0178,
};

char encodeCharacter(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == unit)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

QByteArray toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character outside the BMP is one character, so it becomes one "?".
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bytes.append(encodeCharacter(text.at(i).unicode()));
    }
    return bytes;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80 && value < 0xA0 && kHighControls[value - 0x80] != 0)
            text.append(QChar(kHighControls[value - 0x80]));
        else
            text.append(QChar(value));
    }
    return text;
}

QByteArray decodeSayText(QStringView text)
{
    QByteArray bytes;
    qsizetype plainStart = 0;
    const auto flushPlain
        = [&](qsizetype end) { bytes.append(toWindows1252(text.mid(plainStart, end - plainStart))); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\\') || i + 1 >= text.size())
            continue;
        const QChar kind = text.at(i + 1);
        QByteArray decoded;
        qsizetype length = 2;
        if (kind == QLatin1Char('r')) {
            decoded = "\r";
        } else if (kind == QLatin1Char('n')) {
            decoded = "\n";
        } else if (kind == QLatin1Char('t')) {
            decoded = "\t";
        } else if (kind == QLatin1Char('\\')) {
            decoded = "\\";
        } else if (kind == QLatin1Char('x') && i + 3 < text.size() && hexValue(text.at(i + 2)) >= 0
            && hexValue(text.at(i + 3)) >= 0) {
            decoded.append(static_cast<char>(hexValue(text.at(i + 2)) * 16 + hexValue(text.at(i + 3))));
            length = 4;
        } else {
            continue;
        }
        flushPlain(i);
        bytes.append(decoded);
        i += length - 1;
        plainStart = i + 1;
    }
    flushPlain(text.size());
    return bytes;
}

QString describeBytes(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        switch (value) {
        case '\r':
            text += QLatin1String("\\r");
            break;
        case '\n':
            text += QLatin1String("\\n");
            break;
        case '\t':
            text += QLatin1String("\\t");
            break;
        case '\\':
            text += QLatin1String("\\\\");
            break;
        default:
            if (value < 0x20 || value == 0x7F
                || (value >= 0x80 && value < 0xA0 && kHighControls[value - 0x80] == 0))
                text += QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
            else
                text += fromWindows1252(QByteArray(1, byte));
        }
    }
    return text;
}
