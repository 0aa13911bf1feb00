#include "core/cp1252.h"

#include <QTest>

class TestCp1252 : public QObject
{
    Q_OBJECT

private slots:
    void everyByteSurvivesARoundTrip();
    void charactersOfTheCodePage_data();
    void charactersOfTheCodePage();
    void characterWithoutAByteBecomesQuestionMark_data();
    void characterWithoutAByteBecomesQuestionMark();
};

void TestCp1252::everyByteSurvivesARoundTrip()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString decoded = fromCp1252(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(toCp1252(decoded), all);
}

void TestCp1252::charactersOfTheCodePage_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("byte");

    QTest::newRow("ASCII letter") << QStringLiteral("A") << 0x41;
    QTest::newRow("euro sign") << QStringLiteral("€") << 0x80;
    QTest::newRow("low quotation mark") << QStringLiteral("‚") << 0x82;
    QTest::newRow("S caron") << QStringLiteral("Š") << 0x8A;
    QTest::newRow("Z caron") << QStringLiteral("Ž") << 0x8E;
    QTest::newRow("left single quote") << QStringLiteral("‘") << 0x91;
    QTest::newRow("em dash") << QStringLiteral("—") << 0x97;
    QTest::newRow("trade mark") << QStringLiteral("™") << 0x99;
    QTest::newRow("Y diaeresis") << QStringLiteral("Ÿ") << 0x9F;
    QTest::newRow("no-break space") << QStringLiteral("\u00A0") << 0xA0;
    QTest::newRow("a umlaut") << QStringLiteral("ä") << 0xE4;
    QTest::newRow("sharp s") << QStringLiteral("ß") << 0xDF;
    QTest::newRow("y diaeresis") << QStringLiteral("ÿ") << 0xFF;
}

void TestCp1252::charactersOfTheCodePage()
{
    QFETCH(QString, character);
    QFETCH(int, byte);
    const QByteArray encoded(1, char(byte));
    QCOMPARE(toCp1252(character), encoded);
    QCOMPARE(fromCp1252(encoded), character);
}

void TestCp1252::characterWithoutAByteBecomesQuestionMark_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("l stroke") << QStringLiteral("ał") << QByteArray("a?");
    QTest::newRow("arrow") << QStringLiteral("→b") << QByteArray("?b");
    // U+0080 is a control character; its byte holds the euro sign.
    QTest::newRow("C1 control with a reassigned byte") << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("emoji keeps its two places") << QStringLiteral("😀") << QByteArray("??");
}

void TestCp1252::characterWithoutAByteBecomesQuestionMark()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toCp1252(text), bytes);
}

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
