#include "core/keyfilters.h"

#include "core/cp1252.h"

namespace {

constexpr bool isDigit(int code)
{
    return code >= '0' && code <= '9';
}

constexpr bool isLetter(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

constexpr int keepIf(bool kept, int code)
{
    return kept || code == kBackspaceCode ? code : 0;
}

// The umlauts the SMS text accepts as their plain vowel (Windows-1252 codes).
constexpr int foldUmlaut(int code)
{
    switch (code) {
    case 228:
        return 'a';
    case 246:
        return 'o';
    case 252:
        return 'u';
    case 196:
        return 'A';
    case 214:
        return 'O';
    case 220:
        return 'U';
    default:
        return code;
    }
}

constexpr int kNoCode = -1;

int cp1252Code(QChar character)
{
    const QByteArray encoded = toCp1252(QString(character));
    const int code = static_cast<unsigned char>(encoded.at(0));
    // The code page writes "?" for a character it cannot hold.
    if (code == '?' && character != u'?')
        return kNoCode;
    return code;
}

QChar fromCode(int code)
{
    return fromCp1252(QByteArray(1, static_cast<char>(code))).at(0);
}

} // namespace

int FilterDigits(int code)
{
    return keepIf(isDigit(code), code);
}

int FilterPhoneNumber(int code)
{
    return keepIf(isDigit(code) || code == '+', code);
}

int FilterLetters(int code)
{
    return keepIf(isLetter(code) || code == ' ', code);
}

int FilterPlainText(int code)
{
    return keepIf(isLetter(code) || isDigit(code) || code == '=' || code == ' ', code);
}

int FilterSmsText(int code)
{
    code = foldUmlaut(code);
    const bool kept = code >= 32 && code <= 122 && code != '>' && code != '@' && !(code >= 91 && code <= 96);
    return keepIf(kept, code);
}

int applyKeyFilter(KeyFilter filter, int code)
{
    switch (filter) {
    case KeyFilter::None:
        return code;
    case KeyFilter::Digits:
        return FilterDigits(code);
    case KeyFilter::PhoneNumber:
        return FilterPhoneNumber(code);
    case KeyFilter::Letters:
        return FilterLetters(code);
    case KeyFilter::PlainText:
        return FilterPlainText(code);
    case KeyFilter::SmsText:
        return FilterSmsText(code);
    }
    return 0;
}

QChar filterTypedCharacter(KeyFilter filter, QChar typed)
{
    if (filter == KeyFilter::None)
        return typed;
    const int code = cp1252Code(typed);
    if (code == kNoCode)
        return {};
    const int kept = applyKeyFilter(filter, code);
    if (kept == 0)
        return {};
    return kept == code ? typed : fromCode(kept);
}

QString filterInsertedText(KeyFilter filter, const QString &text, qsizetype room)
{
    QString kept;
    for (const QChar character : text) {
        if (room >= 0 && kept.size() >= room)
            break;
        if (character == QChar(kBackspaceCode))
            continue;
        const QChar result = filterTypedCharacter(filter, character);
        if (!result.isNull())
            kept.append(result);
    }
    return kept;
}
