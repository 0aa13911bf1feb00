// The language list and the rules every language decision takes from it, without windows.
#include "l10n/captiontable.h"
#include "l10n/language.h"
#include "l10n/qttranslations.h"

#include <QSet>
#include <QTest>
#include <QTranslator>

#include <limits>
#include <type_traits>

using namespace Qt::StringLiterals;

// A text with a column too few or too many must not compile.
static_assert(std::is_constructible_v<LanguageTexts, QString, QString, QString>);
static_assert(!std::is_constructible_v<LanguageTexts, QString, QString>);
static_assert(!std::is_constructible_v<LanguageTexts, QString, QString, QString, QString>);

class TestLanguageList : public QObject
{
    Q_OBJECT

private slots:
    void everyLanguageIsComplete_data();
    void everyLanguageIsComplete();
    void buttonVisitsEveryLanguageOnce();
    void codeOutsideTheListFollowsOneRule_data();
    void codeOutsideTheListFollowsOneRule();
    void langTagsNameTheLanguages();
};

void TestLanguageList::everyLanguageIsComplete_data()
{
    QTest::addColumn<int>("place");
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        QTest::newRow(kLanguages[i].name.toLatin1().constData()) << int(i);
}

void TestLanguageList::everyLanguageIsComplete()
{
    QFETCH(int, place);
    const Language &language = kLanguages[std::size_t(place)];
    QCOMPARE(language.code, place);
    QCOMPARE(findLanguage(language.code), &language);
    QCOMPARE(&runtimeLanguage(language.code), &language);
    QCOMPARE(languageForTag(language.tag), &language);
    QVERIFY(!language.helpFile.isEmpty() && !language.helpSet.isEmpty());
    QVERIFY(language.decimalSeparator == u',' || language.decimalSeparator == u'.');

    // Qt's catalogue, where one is named, is there to load; applying the language installs it.
    if (!language.qtCatalogue.isEmpty()) {
        QTranslator translator;
        QVERIFY2(translator.load(language.qtCatalogue.toString(), qtTranslationsPath()),
            qPrintable(language.qtCatalogue.toString()));
    }
    QVERIFY(applyQtTranslations(language.code));

    // Every caption has a text of its own in this language, and the help entry names the list's file.
    for (const CaptionEntry &entry : captionTable())
        QVERIFY2(!entry.text(language.code).isNull(), qPrintable(entry.controlKey()));
    QCOMPARE(captionTable().front().text(language.code), language.helpFile.toString());
}

void TestLanguageList::buttonVisitsEveryLanguageOnce()
{
    // From the first language, one press per language comes back to it, past every other exactly once.
    QSet<QString> seen;
    QString code = QString::number(kLanguages.front().code);
    for (std::size_t press = 0; press < kLanguageCount; ++press) {
        QVERIFY(!seen.contains(code));
        seen.insert(code);
        const QString next = nextLanguageText(code);
        QCOMPARE(next.toInt(), (code.toInt() + 1) % int(kLanguageCount));
        code = next;
    }
    QCOMPARE(code, QString::number(kLanguages.front().code));
    QCOMPARE(seen.size(), qsizetype(kLanguageCount));
}

void TestLanguageList::codeOutsideTheListFollowsOneRule_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("afterPress");
    const QString first = QString::number(kLanguages.front().code);
    const QString second = QString::number(kLanguages[1].code);
    QTest::newRow("one past the list") << QString::number(kLanguageCount) << first;
    QTest::newRow("far past the list") << QString::number(std::numeric_limits<int>::max()) << first;
    QTest::newRow("negative") << u"-5"_s << first;
    QTest::newRow("not a number") << u"x"_s << second;
    QTest::newRow("empty") << QString() << second;
}

void TestLanguageList::codeOutsideTheListFollowsOneRule()
{
    QFETCH(QString, box);
    QFETCH(QString, afterPress);
    const std::optional<int> code = languageCodeFromText(box);
    QVERIFY(!isKnownLanguage(code));
    QVERIFY(!findLanguage(code));
    // No caption at all ...
    for (const CaptionEntry &entry : captionTable())
        QVERIFY(entry.text(code.value_or(-1)).isNull());
    QVERIFY(!applyQtTranslations(code.value_or(-1)));
    // ... while a run-time text speaks German, so no message is lost ...
    QCOMPARE(runtimeLanguage(code).code, kGerman);
    const LanguageTexts error { u"FEHLER:"_s, u"ERROR:"_s, u"ERREUR:"_s };
    QCOMPARE(error.in(code), u"FEHLER:"_s);
    // ... and the button starts the list again.
    QCOMPARE(nextLanguageText(box), afterPress);
}

void TestLanguageList::langTagsNameTheLanguages()
{
    QCOMPARE(languageTagList(), u"de, en or fr"_s);
    QCOMPARE(languageForTag(u"FR"), &kLanguages[kFrench]);
    QCOMPARE(languageForTag(u"En"), &kLanguages[kEnglish]);
    for (QStringView other : { u"", u"nl", u"d", u"de ", u"deu" })
        QVERIFY2(!languageForTag(other), qPrintable(other.toString()));
}

QTEST_GUILESS_MAIN(TestLanguageList)
#include "tst_languagelist.moc"
