#include "pages/keyfilters.h"

#include <QTest>

namespace {

// The kept characters of each filter, written out as the characters themselves.
const QByteArray kDigits = "0123456789";
const QByteArray kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int keptOrZero(const QByteArray &kept, int code)
{
    return code != 0 && kept.contains(char(code)) ? code : 0;
}

int expectedSms(int code)
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
        break;
    }
    QByteArray kept = "\b";
    for (int c = ' '; c <= 'z'; ++c)
        kept.append(char(c));
    for (const char removed : QByteArray(">@[\\]^_`"))
        kept.remove(kept.indexOf(removed), 1);
    return keptOrZero(kept, code);
}

} // namespace

class TestKeyFilters : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeThroughEveryFilter_data();
    void everyCodeThroughEveryFilter();
    void typedCharactersAreTakenByTheirCodePageCode_data();
    void typedCharactersAreTakenByTheirCodePageCode();
    void pastedTextIsFilteredAndCut_data();
    void pastedTextIsFilteredAndCut();
};

void TestKeyFilters::everyCodeThroughEveryFilter_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("phoneNumber");
    QTest::addColumn<int>("letters");
    QTest::addColumn<int>("plainText");
    QTest::addColumn<int>("smsText");

    for (int code = 0; code <= 255; ++code) {
        QTest::addRow("code %d", code)
            << code << keptOrZero(kDigits + "\b", code) << keptOrZero(kDigits + "+\b", code)
            << keptOrZero(kLetters + " \b", code) << keptOrZero(kLetters + kDigits + "= \b", code)
            << expectedSms(code);
    }
}

void TestKeyFilters::everyCodeThroughEveryFilter()
{
    QFETCH(int, code);
    QFETCH(int, digits);
    QFETCH(int, phoneNumber);
    QFETCH(int, letters);
    QFETCH(int, plainText);
    QFETCH(int, smsText);

    QCOMPARE(FilterDigits(code), digits);
    QCOMPARE(FilterPhoneNumber(code), phoneNumber);
    QCOMPARE(FilterLetters(code), letters);
    QCOMPARE(FilterPlainText(code), plainText);
    QCOMPARE(FilterSmsText(code), smsText);
    QCOMPARE(applyKeyFilter(KeyFilter::None, code), code);
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
