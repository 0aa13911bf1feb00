#include "l10n/captiontable.h"
#include "l10n/language.h"

#include <QStringList>
#include <QTest>

#include <climits>
#include <optional>

namespace {

const CaptionEntry *findEntry(QStringView window, const QString &key, CaptionProperty property)
{
    for (const CaptionEntry &entry : captionTable()) {
        if (entry.window == window && entry.controlKey() == key && entry.property == property)
            return &entry;
    }
    return nullptr;
}

} // namespace

class tst_CaptionTable : public QObject
{
    Q_OBJECT

private slots:
    void everyLanguageHasAllEntries();
    void windowsComeInApplyOrder();
    void helpFileComesFirstAndFollowsLanguage();
    void textsKeepTheirBlanksAndAccents_data();
    void textsKeepTheirBlanksAndAccents();
    void unknownCodeHasNoText();
    void entriesAddressControlsByNameAndIndex();
    void apostrophesAreStraight();

    void onlyThreeCodesAreLanguages();
    void codeIsReadAsNumber_data();
    void codeIsReadAsNumber();
    void languageButtonCycles_data();
    void languageButtonCycles();
    void runtimeTextFollowsCode_data();
    void runtimeTextFollowsCode();
    void helpFileEntryFollowsCode_data();
    void helpFileEntryFollowsCode();
};

void tst_CaptionTable::everyLanguageHasAllEntries()
{
    QCOMPARE(captionTable().size(), std::size_t(160));
    for (int code : { kGerman, kEnglish, kFrench }) {
        int nonEmpty = 0;
        for (const CaptionEntry &entry : captionTable())
            nonEmpty += entry.text(code).isEmpty() ? 0 : 1;
        QCOMPARE(nonEmpty, 160);
    }
}

void tst_CaptionTable::windowsComeInApplyOrder()
{
    // Each window forms one run, in this order, with this many entries.
    const QStringList expectedWindows = { QString(), QStringLiteral("frmStart"), QStringLiteral("frm1"),
        QStringLiteral("frm2"), QStringLiteral("frm3"), QStringLiteral("frm4"), QStringLiteral("frm5"),
        QStringLiteral("frm6"), QStringLiteral("frm7"), QStringLiteral("frm8"), QStringLiteral("frm9") };
    const QList<int> expectedCounts = { 1, 18, 17, 16, 14, 40, 14, 12, 8, 7, 13 };

    QStringList windows;
    QList<int> counts;
    for (const CaptionEntry &entry : captionTable()) {
        if (windows.isEmpty() || windows.last() != entry.window) {
            windows.append(entry.window.toString());
            counts.append(0);
        }
        ++counts.last();
    }
    QCOMPARE(windows, expectedWindows);
    QCOMPARE(counts, expectedCounts);
}

void tst_CaptionTable::helpFileComesFirstAndFollowsLanguage()
{
    const CaptionEntry &first = captionTable().front();
    QVERIFY(first.isHelpFile());
    QVERIFY(first.control.isEmpty());
    for (const CaptionEntry &entry : captionTable().subspan(1))
        QVERIFY2(!entry.isHelpFile() && !entry.window.isEmpty() && !entry.control.isEmpty(),
            qPrintable(entry.controlKey()));
}

void tst_CaptionTable::textsKeepTheirBlanksAndAccents_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("key");
    QTest::addColumn<CaptionProperty>("property");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("french");

    using enum CaptionProperty;
    QTest::newRow("title with two blanks") << "frmStart"
                                           << "nPaneltit(0)" << Caption << "GSM-Modul  RM425T"
                                           << "GSM-Module  RM425T"
                                           << "GSM-Modul  RM425T";
    QTest::newRow("cancel tool tip") << "frmStart"
                                     << "Check(11)" << ToolTipText << "  Beenden ohne zu speichern !  "
                                     << "  close without saving data !  "
                                     << "  terminer sans mémoriser !  ";
    QTest::newRow("reply button apostrophe") << "frmStart"
                                             << "Check(9)" << Caption << "Rückantwort / Fehler"
                                             << "Reply / Error"
                                             << "réponse / message d'erreur";
    QTest::newRow("pin tool tip, one trailing blank in French")
        << "frm1"
        << "txtsim" << ToolTipText << "  vierstellige Pin eintragen  "
        << "  enter 4 digit PIN  "
        << "  entrer 4 caractéres le code Pin ";
    QTest::newRow("degree sign") << "frm1"
                                 << "Label1(6)" << Caption << "Faxnummer :"
                                 << "Faxnumber :"
                                 << "N° Fax :";
    QTest::newRow("second used box has a leading blank") << "frm2"
                                                         << "chk2(2)" << Caption << " Belegt"
                                                         << " Used"
                                                         << " activé";
    QTest::newRow("English message label ends in a blank")
        << "frm2"
        << "Label3(2)" << Caption << "Meldung wenn der Eingang"
        << "Message "
        << "message pour";
    QTest::newRow("to all without blank on frm3") << "frm3"
                                                  << "Label2(15)" << Caption << "an alle"
                                                  << "to all"
                                                  << "à tous";
    QTest::newRow("to all with blank on frm2") << "frm2"
                                               << "Label2(18)" << Caption << "an alle"
                                               << " to all"
                                               << "à tous";
    QTest::newRow("two blanks in output name") << "frm4"
                                               << "opt(4)" << Caption << "Ausgang  4"
                                               << "Output  4"
                                               << "Sortie  4";
    QTest::newRow("switch text tool tip")
        << "frm4"
        << "txtSMS(3)" << ToolTipText << " Text muss 8 Zeichen haben (keine Sonderzeichen erlaubt) "
        << " text must have 8 characters (no special characters allowed) "
        << " le texte doit comporter 8 caractères (pas de signes spéciaux) ";
    QTest::newRow("check box caption on frm4") << "frm4"
                                               << "chksms1(0)" << Caption << " von allen"
                                               << " from all"
                                               << " de tous";
    QTest::newRow("lower limit with two leading blanks in English") << "frm5"
                                                                    << "OptU" << Caption << " unterschreitet"
                                                                    << "  if input is lower"
                                                                    << " est inférieur";
    QTest::newRow("trailing blank on frm5 label") << "frm5"
                                                  << "Label3(0)" << Caption << "Meldung wenn der Eingang "
                                                  << "Message"
                                                  << "message si entrée ";
    QTest::newRow("all-box caption with trailing blank on frm6") << "frm6"
                                                                 << "chksms1(0)" << Caption << " von allen "
                                                                 << " from all "
                                                                 << " de tous ";
    QTest::newRow("incall frame") << "frm7"
                                  << "Frame1(0)" << Caption << " Ausgang einschalten für "
                                  << " Switch on output for "
                                  << " Commuter la sortie pour ";
    QTest::newRow("read-only text box") << "frm8"
                                        << "Text4" << Text << "Telefonnummer:"
                                        << "Telephone number:"
                                        << "numéro de téléphone:";
    QTest::newRow("two leading blanks in German and French")
        << "frm9"
        << "chkPsw9" << Caption << "  bei Passwort immer antworten"
        << " reply always if password is sent"
        << "  avec un code valide toujours répondre";
    QTest::newRow("two blanks inside") << "frm9"
                                       << "chkAntw" << Caption << "Fehlermeldung  bei falschem Befehl"
                                       << "Error message if command is wrong"
                                       << "message d'erreur avec une mauvaise commande";
    QTest::newRow("English error tool tip has no trailing blank")
        << "frm9"
        << "txtErr" << ToolTipText << " SMS- Inhalt bei falschem Befehl "
        << " content of SMS if command is wrong"
        << " contenu SMS avec une mauvaise commande ";
}

void tst_CaptionTable::textsKeepTheirBlanksAndAccents()
{
    QFETCH(QString, window);
    QFETCH(QString, key);
    QFETCH(CaptionProperty, property);
    QFETCH(QString, german);
    QFETCH(QString, english);
    QFETCH(QString, french);

    const CaptionEntry *entry = findEntry(window, key, property);
    QVERIFY(entry);
    QCOMPARE(entry->text(kGerman), german);
    QCOMPARE(entry->text(kEnglish), english);
    QCOMPARE(entry->text(kFrench), french);
}

void tst_CaptionTable::unknownCodeHasNoText()
{
    const CaptionEntry &entry = captionTable()[1];
    QVERIFY(entry.text(-1).isNull());
    QVERIFY(entry.text(3).isNull());
}

void tst_CaptionTable::entriesAddressControlsByNameAndIndex()
{
    // Controls named twice get one write per property; no write is listed twice.
    QStringList seen;
    for (const CaptionEntry &entry : captionTable()) {
        const QString id = entry.window.toString() + u'/' + entry.controlKey() + u'/'
            + QString::number(int(entry.property));
        QVERIFY2(!seen.contains(id), qPrintable(id));
        seen.append(id);
    }
    QCOMPARE(findEntry(u"frm2", QStringLiteral("OptO(1)"), CaptionProperty::Caption)->index, 1);
    QCOMPARE(findEntry(u"frm5", QStringLiteral("OptO"), CaptionProperty::Caption)->index, -1);
    QVERIFY(findEntry(u"frm4", QStringLiteral("chksms1(0)"), CaptionProperty::ToolTipText));
}

void tst_CaptionTable::apostrophesAreStraight()
{
    // The captions use the plain apostrophe throughout, unlike some run-time messages.
    for (const CaptionEntry &entry : captionTable()) {
        for (int code : { kGerman, kEnglish, kFrench })
            QVERIFY2(!entry.text(code).contains(u'\u2019'), qPrintable(entry.controlKey()));
    }
    QVERIFY(findEntry(u"frm1", QStringLiteral("Label1(9)"), CaptionProperty::Caption)
                ->text(kFrench)
                .contains(u'\''));
}

void tst_CaptionTable::onlyThreeCodesAreLanguages()
{
    QVERIFY(isKnownLanguage(kGerman));
    QVERIFY(isKnownLanguage(kEnglish));
    QVERIFY(isKnownLanguage(kFrench));
    QVERIFY(!isKnownLanguage(3));
    QVERIFY(!isKnownLanguage(-1));
    QVERIFY(!isKnownLanguage(std::nullopt));
}

void tst_CaptionTable::codeIsReadAsNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("code");

    QTest::newRow("German") << "0" << std::optional<int>(0);
    QTest::newRow("English") << "1" << std::optional<int>(1);
    QTest::newRow("French") << "2" << std::optional<int>(2);
    QTest::newRow("blanks around") << " 1 " << std::optional<int>(1);
    QTest::newRow("leading zero") << "02" << std::optional<int>(2);
    QTest::newRow("plus sign") << "+1" << std::optional<int>(1);
    QTest::newRow("negative") << "-1" << std::optional<int>(-1);
    QTest::newRow("out of range") << "5" << std::optional<int>(5);
    QTest::newRow("too large for int") << "99999999999999999999" << std::optional<int>(INT_MAX);
    QTest::newRow("too small for int") << "-99999999999999999999" << std::optional<int>(INT_MIN);
    QTest::newRow("empty") << "" << std::optional<int>();
    QTest::newRow("blanks only") << "  " << std::optional<int>();
    QTest::newRow("sign only") << "-" << std::optional<int>();
    QTest::newRow("letters") << "x" << std::optional<int>();
    QTest::newRow("trailing letters") << "1x" << std::optional<int>();
    QTest::newRow("decimal point") << "1.0" << std::optional<int>();
    QTest::newRow("decimal comma") << "1,0" << std::optional<int>();
    QTest::newRow("blank inside") << "1 2" << std::optional<int>();
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0661") << std::optional<int>();
}

void tst_CaptionTable::codeIsReadAsNumber()
{
    QFETCH(QString, text);
    QFETCH(std::optional<int>, code);
    QCOMPARE(languageCodeFromText(text), code);
}

void tst_CaptionTable::languageButtonCycles_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");

    QTest::newRow("German to English") << "0"
                                       << "1";
    QTest::newRow("English to French") << "1"
                                       << "2";
    QTest::newRow("French to German") << "2"
                                      << "0";
    QTest::newRow("stored code 5 gives German") << "5"
                                                << "0";
    QTest::newRow("huge code gives German") << "99999999999999999999"
                                            << "0";
    QTest::newRow("negative code gives German") << "-4"
                                                << "0";
    QTest::newRow("minus one gives German") << "-1"
                                            << "0";
    QTest::newRow("blanks around French") << " 2 "
                                          << "0";
    QTest::newRow("not a number gives English") << "x"
                                                << "1";
    QTest::newRow("empty gives English") << ""
                                         << "1";
}

void tst_CaptionTable::languageButtonCycles()
{
    QFETCH(QString, current);
    QFETCH(QString, next);
    QCOMPARE(nextLanguageText(current), next);
}

void tst_CaptionTable::runtimeTextFollowsCode_data()
{
    QTest::addColumn<std::optional<int>>("code");
    QTest::addColumn<QString>("expected");

    QTest::newRow("German") << std::optional<int>(0) << "FEHLER:";
    QTest::newRow("English") << std::optional<int>(1) << "ERROR:";
    QTest::newRow("French") << std::optional<int>(2) << "ERREUR:";
    QTest::newRow("code 3 falls back to German") << std::optional<int>(3) << "FEHLER:";
    QTest::newRow("negative falls back to German") << std::optional<int>(-1) << "FEHLER:";
    QTest::newRow("not a number falls back to German") << std::optional<int>() << "FEHLER:";
}

void tst_CaptionTable::runtimeTextFollowsCode()
{
    QFETCH(std::optional<int>, code);
    QFETCH(QString, expected);
    const LanguageTexts error { QStringLiteral("FEHLER:"), QStringLiteral("ERROR:"), QStringLiteral("ERREUR:") };
    QCOMPARE(error.in(code), expected);
}

void tst_CaptionTable::helpFileEntryFollowsCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("file");

    QTest::newRow("German") << 0 << "\\GSM_HILFE.CHM";
    QTest::newRow("English") << 1 << "\\GSM_HELP.CHM";
    QTest::newRow("French uses the German file") << 2 << "\\GSM_HILFE.CHM";
}

void tst_CaptionTable::helpFileEntryFollowsCode()
{
    QFETCH(int, code);
    QFETCH(QString, file);
    QCOMPARE(captionTable().front().text(code), file);
}

QTEST_GUILESS_MAIN(tst_CaptionTable)
#include "tst_captiontable.moc"
