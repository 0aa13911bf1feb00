#include "core/keyfilters.h"

#include <QTest>

#include <algorithm>

namespace {

constexpr int kHighestCode = 255;

// A set of character codes written as the filter rules write them: "48..57, 43, 8", or with exceptions,
// "8, 32..122 except 62, 64, 91..96".
QList<bool> codesOf(const QString &rule)
{
    QList<bool> in(kHighestCode + 1, false);
    const QStringList parts = rule.split(QStringLiteral(" except "));
    for (int part = 0; part < parts.size(); ++part) {
        for (const QString &item : parts.at(part).split(u',')) {
            const QStringList bounds = item.trimmed().split(QStringLiteral(".."));
            const int first = bounds.front().toInt();
            const int last = bounds.back().toInt();
            for (int code = first; code <= last; ++code)
                in[code] = part == 0;
        }
    }
    return in;
}

// A filter procedure by itself, as a field's KeyPress handler calls it.
using FilterProcedure = int (*)(int);

// The six umlauts that the SMS text folds to their vowel before its set applies.
constexpr int kUmlauts[] = { 228, 246, 252, 196, 214, 220 };

bool isUmlaut(int code)
{
    return std::find(std::begin(kUmlauts), std::end(kUmlauts), code) != std::end(kUmlauts);
}

} // namespace

Q_DECLARE_METATYPE(FilterProcedure)

class TestKeyFilters : public QObject
{
    Q_OBJECT

private slots:
    void keptCodesAreExactlyTheWrittenSet_data();
    void keptCodesAreExactlyTheWrittenSet();
    void namedCharacters_data();
    void namedCharacters();
    void typedCharactersAreTakenByTheirCodePageCode_data();
    void typedCharactersAreTakenByTheirCodePageCode();
    void pastedTextIsFilteredAndCut_data();
    void pastedTextIsFilteredAndCut();
};

void TestKeyFilters::keptCodesAreExactlyTheWrittenSet_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<FilterProcedure>("procedure");
    QTest::addColumn<QString>("kept");

    QTest::newRow("digits") << int(KeyFilter::Digits) << &FilterDigits << QStringLiteral("48..57, 8");
    QTest::newRow("phone number") << int(KeyFilter::PhoneNumber) << &FilterPhoneNumber
                                  << QStringLiteral("48..57, 43, 8");
    QTest::newRow("letters") << int(KeyFilter::Letters) << &FilterLetters
                             << QStringLiteral("65..90, 97..122, 32, 8");
    QTest::newRow("plain text") << int(KeyFilter::PlainText) << &FilterPlainText
                                << QStringLiteral("48..57, 61, 65..90, 97..122, 32, 8");
    // The umlauts are folded first; namedCharacters checks what they become.
    QTest::newRow("SMS text") << int(KeyFilter::SmsText) << &FilterSmsText
                              << QStringLiteral("8, 32..122 except 62, 64, 91..96");
    QTest::newRow("no filter") << int(KeyFilter::None) << FilterProcedure() << QStringLiteral("0..255");
}

// Every code 0..255: a code in the set comes back unchanged, through the filter procedure and through the
// filter a field is given; every other code becomes 0, which swallows the key.
void TestKeyFilters::keptCodesAreExactlyTheWrittenSet()
{
    QFETCH(int, filter);
    QFETCH(FilterProcedure, procedure);
    QFETCH(QString, kept);

    const auto which = KeyFilter(filter);
    const QList<bool> inSet = codesOf(kept);
    QStringList wrong;
    for (int code = 0; code <= kHighestCode; ++code) {
        if (which == KeyFilter::SmsText && isUmlaut(code))
            continue;
        const int expected = inSet.at(code) ? code : 0;
        if ((procedure && procedure(code) != expected) || applyKeyFilter(which, code) != expected)
            wrong << QString::number(code);
    }
    QVERIFY2(
        wrong.isEmpty(), qPrintable(QStringLiteral("codes handled against the rule: ") + wrong.join(u' ')));
}

void TestKeyFilters::namedCharacters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("result"); // 0: swallowed

    const int digits = int(KeyFilter::Digits);
    const int phone = int(KeyFilter::PhoneNumber);
    const int letters = int(KeyFilter::Letters);
    const int plain = int(KeyFilter::PlainText);
    const int sms = int(KeyFilter::SmsText);
    constexpr int enter = 13;
    constexpr int ctrlC = 3;
    constexpr int ctrlV = 22;

    QTest::newRow("plus in a phone number") << phone << int('+') << int('+');
    QTest::newRow("plus in a fax number") << digits << int('+') << 0;
    QTest::newRow("blank in a name") << letters << int(' ') << int(' ');
    QTest::newRow("blank in a number") << phone << int(' ') << 0;
    QTest::newRow("equals sign in plain text") << plain << int('=') << int('=');
    QTest::newRow("equals sign in a name") << letters << int('=') << 0;
    QTest::newRow("greater-than in SMS text") << sms << int('>') << 0;
    QTest::newRow("at sign in SMS text") << sms << int('@') << 0;
    QTest::newRow("z, the last code of SMS text") << sms << int('z') << int('z');
    QTest::newRow("opening brace after it") << sms << int('{') << 0;

    const struct
    {
        const char *umlaut;
        int code;
        char vowel;
    } folds[] = { { "ä", 228, 'a' }, { "ö", 246, 'o' }, { "ü", 252, 'u' }, { "Ä", 196, 'A' },
        { "Ö", 214, 'O' }, { "Ü", 220, 'U' } };
    for (const auto &fold : folds) {
        QTest::addRow("%s folded in SMS text", fold.umlaut) << sms << fold.code << int(fold.vowel);
        QTest::addRow("%s in plain text", fold.umlaut) << plain << fold.code << 0;
    }
    QTest::newRow("sharp s in SMS text") << sms << 223 << 0;

    // Backspace passes every filter; Enter and the codes of Ctrl+C and Ctrl+V pass none.
    for (const int filter : { digits, phone, letters, plain, sms }) {
        QTest::addRow("Backspace, filter %d", filter) << filter << kBackspaceCode << kBackspaceCode;
        QTest::addRow("Enter, filter %d", filter) << filter << enter << 0;
        QTest::addRow("Ctrl+C, filter %d", filter) << filter << ctrlC << 0;
        QTest::addRow("Ctrl+V, filter %d", filter) << filter << ctrlV << 0;
    }
}

void TestKeyFilters::namedCharacters()
{
    QFETCH(int, filter);
    QFETCH(int, code);
    QFETCH(int, result);

    QCOMPARE(applyKeyFilter(KeyFilter(filter), code), result);
}

void TestKeyFilters::typedCharactersAreTakenByTheirCodePageCode_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result"); // empty: swallowed

    const int sms = int(KeyFilter::SmsText);
    QTest::newRow("umlaut folded in SMS text") << sms << QStringLiteral("ä") << QStringLiteral("a");
    QTest::newRow("capital umlaut folded") << sms << QStringLiteral("Ü") << QStringLiteral("U");
    QTest::newRow("sharp s swallowed in SMS text") << sms << QStringLiteral("ß") << QString();
    QTest::newRow("euro sign (code 128) swallowed") << sms << QStringLiteral("€") << QString();
    QTest::newRow("character outside the code page swallowed") << sms << QStringLiteral("ř") << QString();
    QTest::newRow("question mark is a character of its own")
        << sms << QStringLiteral("?") << QStringLiteral("?");
    QTest::newRow("umlaut swallowed in a name")
        << int(KeyFilter::Letters) << QStringLiteral("ä") << QString();
    QTest::newRow("plus in a phone number")
        << int(KeyFilter::PhoneNumber) << QStringLiteral("+") << QStringLiteral("+");
    QTest::newRow("plus swallowed in a fax number")
        << int(KeyFilter::Digits) << QStringLiteral("+") << QString();
    QTest::newRow("no filter keeps anything")
        << int(KeyFilter::None) << QStringLiteral("ř") << QStringLiteral("ř");
}

void TestKeyFilters::typedCharactersAreTakenByTheirCodePageCode()
{
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, result);

    const QChar kept = filterTypedCharacter(KeyFilter(filter), typed.front());
    QCOMPARE(kept.isNull() ? QString() : QString(kept), result);
}

void TestKeyFilters::pastedTextIsFilteredAndCut_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("kept");

    QTest::newRow("formatted phone number")
        << int(KeyFilter::PhoneNumber) << QStringLiteral("+49 (0)170-12 34") << -1
        << QStringLiteral("+4901701234");
    QTest::newRow("line breaks and tabs") << int(KeyFilter::PlainText) << QStringLiteral("Kessel\r\n1\tan")
                                          << -1 << QStringLiteral("Kessel1an");
    QTest::newRow("backspace in pasted text")
        << int(KeyFilter::Digits) << QStringLiteral("12\b3") << -1 << QStringLiteral("123");
    QTest::newRow("umlauts folded") << int(KeyFilter::SmsText) << QStringLiteral("Grüße") << -1
                                    << QStringLiteral("Grue");
    QTest::newRow("cut to the room left")
        << int(KeyFilter::Digits) << QStringLiteral("1a2b3c4d5") << 3 << QStringLiteral("123");
    QTest::newRow("no room") << int(KeyFilter::Letters) << QStringLiteral("abc") << 0 << QString();
    QTest::newRow("nothing fits the filter")
        << int(KeyFilter::Digits) << QStringLiteral("abc") << -1 << QString();
    QTest::newRow("unfiltered field is only cut")
        << int(KeyFilter::None) << QStringLiteral("a@b.de") << 4 << QStringLiteral("a@b.");
}

void TestKeyFilters::pastedTextIsFilteredAndCut()
{
    QFETCH(int, filter);
    QFETCH(QString, pasted);
    QFETCH(int, room);
    QFETCH(QString, kept);

    QCOMPARE(filterInsertedText(KeyFilter(filter), pasted, room), kept);
}

QTEST_GUILESS_MAIN(TestKeyFilters)
#include "tst_keyfilters.moc"
