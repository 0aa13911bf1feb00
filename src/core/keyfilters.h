#pragma once

#include <QChar>
#include <QString>

// The key filters of the text fields. Each filter takes the Windows-1252 code of one typed character and
// returns it when the field accepts it, a replacement, or 0, which swallows the key. Backspace (8) passes
// every filter; every other control code is swallowed.

constexpr int kBackspaceCode = 8;

int FilterDigits(int code); // "0".."9"
int FilterPhoneNumber(int code); // "0".."9", "+"
int FilterLetters(int code); // "A".."Z", "a".."z", blank
int FilterPlainText(int code); // "A".."Z", "a".."z", "0".."9", "=", blank
int FilterSmsText(int code); // umlauts folded to their vowel, then 32..122 without ">", "@" and 91..96

// Which filter a field uses; None lets every character through.
enum class KeyFilter { None, Digits, PhoneNumber, Letters, PlainText, SmsText };

int applyKeyFilter(KeyFilter filter, int code);

// One typed character through the filter: the character that goes into the field, or a null QChar when the
// key is swallowed. The character is taken by its Windows-1252 code; one that has no code there is swallowed
// (except by KeyFilter::None, which passes everything).
QChar filterTypedCharacter(KeyFilter filter, QChar typed);

// Text that is pasted or dropped into a field goes through the same filter, character by character; a
// Backspace in such text is dropped as well, since it edits nothing there. At most `room` characters are
// kept (a negative room: no limit).
QString filterInsertedText(KeyFilter filter, const QString &text, qsizetype room = -1);
