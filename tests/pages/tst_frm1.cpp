#include "core/appsetup.h"
#include "pages/frm1.h"
#include "pages/pagerules.h"
#include "shell/frmstart.h"
#include "window/help.h"
#include "window/helpwindow.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"
#include "typing.h"

#include "support/startupsettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

FrmStart *start()
{
    return WindowRegistry::instance().get<FrmStart>(QStringLiteral("frmStart"));
}

Frm1 *frm1()
{
    return WindowRegistry::instance().get<Frm1>(QStringLiteral("frm1"));
}

QLineEdit *field(const QString &name, int index = -1)
{
    return frm1()->controlAs<QLineEdit>(name, index);
}

QRadioButton *provider(int index)
{
    return frm1()->controlAs<QRadioButton>(QStringLiteral("optAnb"), index);
}

void choose(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

// The user comes back into the program at this window. After a switch to another program the window system
// still shows the window of the program that had the focus as its own: Qt then activates the window the user
// clicks as below, which is also what activateWindow() leads to.
void comeBack(QWidget *window)
{
    if (QApplication::activeWindow())
        window->activateWindow();
    else
        QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

QString framed(const QString &text)
{
    return QStringLiteral("\r\n  ! ! ! ! !   \r\n\r\n  ") + text + QStringLiteral("\r\n\r\n  ! ! ! ! !  ");
}

} // namespace

class TestFrm1 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void failedCheckShowsOverlayUntilOk_data();
    void failedCheckShowsOverlayUntilOk();
    void restoredShortPinTakesTheDesignValue();
    void providerFillsAndLocksFields_data();
    void providerFillsAndLocksFields();
    void storedProviderAppliesOnLoad_data();
    void storedProviderAppliesOnLoad();
    void leavingForAnotherWindowChecksOnlyOnReturn_data();
    void leavingForAnotherWindowChecksOnlyOnReturn();
    void targetTypedBeforeSwitchingProgramsIsPropagated();
    void controlCharactersNeverEnterAField();
    void keyboardNavigation_data();
    void keyboardNavigation();
    void enterOnProviderOpensPhoneTab();
    void failedCheckOnLeavingTheTabReturnsToIt();
    void fieldsTakeOnlyTheirCharacters_data();
    void fieldsTakeOnlyTheirCharacters();
    void tabStripShowsOnePictureAndKeepsHoverMarks();
    void everyValueSurvivesSaveAndRestart();

private:
    void writeSettings(const QByteArray &text);
    void openPage();
    QTemporaryDir m_dir;
};

void TestFrm1::initTestCase()
{
    QVERIFY(m_dir.isValid());
    AppSetup::setUpApplication({ m_dir.path() });
}

void TestFrm1::init()
{
    QFile::remove(IniFilePath());
    registerProgramWindows();
}

void TestFrm1::cleanup()
{
    WindowRegistry::instance().reset();
}

void TestFrm1::writeSettings(const QByteArray &text)
{
    QVERIFY(writeStartupSettings(text));
}

// Starts the program's windows and opens the page from its menu button, as the user does.
void TestFrm1::openPage()
{
    start()->show();
    QVERIFY(QTest::qWaitForWindowExposed(start()));
    QTest::mouseClick(start()->check(1), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(frm1()));
    QCOMPARE(WindowRegistry::instance().currentPage(), 1);
}

void TestFrm1::failedCheckShowsOverlayUntilOk_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("otherProvider");
    QTest::addColumn<QString>("typed"); // empty: the text is deleted
    QTest::addColumn<int>("leaveKey"); // 0: the user clicks into the password field
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("fails");

    QTest::newRow("three-digit PIN") << "txtsim" << false << "123" << 0 << "5173" << true;
    QTest::newRow("three-digit PIN, Enter")
        << "txtsim" << false << "123" << int(Qt::Key_Return) << "5173" << true;
    QTest::newRow("three-digit PIN, Tab") << "txtsim" << false << "123" << int(Qt::Key_Tab) << "5173" << true;
    QTest::newRow("four-digit PIN") << "txtsim" << false << "4321" << 0 << "4321" << false;
    QTest::newRow("empty mail number") << "txtAnr" << true << "" << 0 << "8000" << true;
    QTest::newRow("empty mail number, Enter")
        << "txtAnr" << true << "" << int(Qt::Key_Return) << "8000" << true;
    QTest::newRow("mail number") << "txtAnr" << true << "12" << 0 << "12" << false;
    QTest::newRow("empty fax prefix") << "txtFAxPref" << true << "" << 0 << "99" << true;
}

void TestFrm1::failedCheckShowsOverlayUntilOk()
{
    QFETCH(QString, name);
    QFETCH(bool, otherProvider);
    QFETCH(QString, typed);
    QFETCH(int, leaveKey);
    QFETCH(QString, after);
    QFETCH(bool, fails);

    openPage();
    if (otherProvider)
        choose(provider(0));
    QLineEdit *checked = field(name);
    QVERIFY(typing::enter(checked));
    if (typed.isEmpty())
        QTest::keyClick(checked, Qt::Key_Backspace);
    else
        typing::typeText(checked, typed);
    if (leaveKey)
        QTest::keyClick(checked, Qt::Key(leaveKey));
    else
        QTest::mouseClick(field(QStringLiteral("txtPsw1")), Qt::LeftButton);

    QCOMPARE(checked->text(), after);
    FrmStart *w = start();
    if (!fails) {
        QVERIFY(frm1()->isVisible());
        QVERIFY(!w->lblMeld()->isVisible());
        QVERIFY(!w->check(15)->isVisible());
        return;
    }
    // The page is hidden behind the field's own tool tip, in the language in force, with the OK button.
    QVERIFY(!frm1()->isVisible());
    QVERIFY(w->lblMeld()->isVisible());
    QCOMPARE(w->lblMeld()->text(), framed(checked->toolTip()));
    QVERIFY(w->check(15)->isVisible());
    QTRY_VERIFY(w->check(15)->hasFocus());
    QCOMPARE(provider(0)->isChecked(), otherProvider);

    QTest::mouseClick(w->check(15), Qt::LeftButton);
    QVERIFY(!w->lblMeld()->isVisible());
    QVERIFY(!w->check(15)->isVisible());
    QVERIFY(frm1()->isVisible());
    QTRY_VERIFY(checked->hasFocus());
    QCOMPARE(checked->selectedText(), after);
}

void TestFrm1::restoredShortPinTakesTheDesignValue()
{
    // Leaving the field would refuse two digits, so a file's two digits are refused when they are read.
    writeSettings("[frm1]\r\ntxtsim=12\r\noptAnb(0)=-1\r\n");
    openPage();
    QCOMPARE(field("txtsim")->text(), QStringLiteral("5173"));
    QVERIFY(!start()->lblMeld()->isVisible());

    // Tab from an emptied fax prefix heads for the PIN: only the prefix is checked, and OK returns to it.
    QVERIFY(typing::enter(field("txtFAxPref")));
    QTest::keyClick(field("txtFAxPref"), Qt::Key_Backspace);
    QTest::keyClick(field("txtFAxPref"), Qt::Key_Tab);
    QCOMPARE(field("txtFAxPref")->text(), QStringLiteral("99"));
    QCOMPARE(start()->lblMeld()->text(), framed(field("txtFAxPref")->toolTip()));
    QTest::mouseClick(start()->check(15), Qt::LeftButton);
    QTRY_VERIFY(field("txtFAxPref")->hasFocus());
    QCOMPARE(field("txtsim")->text(), QStringLiteral("5173"));

    QVERIFY(typing::enter(field("txtsim")));
    typing::typeText(field("txtsim"), QStringLiteral("12"));
    QTest::mouseClick(field("txtbez"), Qt::LeftButton);
    QCOMPARE(field("txtsim")->text(), QStringLiteral("5173"));
    QVERIFY(start()->lblMeld()->isVisible());
}

void TestFrm1::providerFillsAndLocksFields_data()
{
    QTest::addColumn<int>("member");
    QTest::addColumn<QString>("mailNumber");
    QTest::addColumn<QString>("faxPrefix");

    QTest::newRow("D 1") << 1 << "8000"
                         << "99";
    QTest::newRow("D 2") << 2 << "3400"
                         << "88";
    QTest::newRow("E +") << 3 << "7676245"
                         << "1551";
    QTest::newRow("O 2") << 4 << "6245"
                         << "329";
}

void TestFrm1::providerFillsAndLocksFields()
{
    QFETCH(int, member);
    QFETCH(QString, mailNumber);
    QFETCH(QString, faxPrefix);

    openPage();
    choose(provider(member == 1 ? 2 : 1)); // start from another provider
    choose(provider(member));
    QCOMPARE(field("txtAnr")->text(), mailNumber);
    QCOMPARE(field("txtFAxPref")->text(), faxPrefix);
    QVERIFY(!field("txtAnr")->isEnabled());
    QVERIFY(!field("txtFAxPref")->isEnabled());

    // "Andere Anbieter" unlocks both with the values in place and puts the user into the mail number.
    choose(provider(0));
    QVERIFY(field("txtAnr")->isEnabled());
    QVERIFY(field("txtFAxPref")->isEnabled());
    QCOMPARE(field("txtAnr")->text(), mailNumber);
    QCOMPARE(field("txtFAxPref")->text(), faxPrefix);
    QTRY_VERIFY(field("txtAnr")->hasFocus());
}

void TestFrm1::storedProviderAppliesOnLoad_data()
{
    QTest::addColumn<QByteArray>("providers");
    QTest::addColumn<int>("chosen"); // -1: none restored, the design choice D 1 without its click

    QTest::newRow("E +") << QByteArray("optAnb(0)=0\r\noptAnb(1)=0\r\noptAnb(3)=-1\r\n") << 3;
    QTest::newRow("D 1") << QByteArray("optAnb(1)=-1\r\n") << 1;
    QTest::newRow("other provider") << QByteArray("optAnb(0)=-1\r\noptAnb(1)=0\r\n") << 0;
    QTest::newRow("no provider key") << QByteArray() << -1;
    QTest::newRow("all 0") << QByteArray("optAnb(0)=0\r\noptAnb(1)=0\r\noptAnb(2)=0\r\noptAnb(3)=0\r\n")
                           << -1;
    QTest::newRow("not a number") << QByteArray("optAnb(1)=ja\r\noptAnb(2)=x\r\n") << -1;
}

void TestFrm1::storedProviderAppliesOnLoad()
{
    QFETCH(QByteArray, providers);
    QFETCH(int, chosen);
    writeSettings("[frm1]\r\ntxtAnr=555\r\ntxtFAxPref=7\r\n" + providers);
    const QStringList values[] = { { "555", "7" }, { "8000", "99" }, {}, { "7676245", "1551" } };
    const QStringList expected = chosen > 0 ? values[chosen] : values[0];
    QCOMPARE(QStringList({ field("txtAnr")->text(), field("txtFAxPref")->text() }), expected);
    for (int k = 0; k <= 4; ++k)
        QCOMPARE(provider(k)->isChecked(), k == qAbs(chosen));
    QCOMPARE(field("txtAnr")->isEnabled(), chosen == 0);
    QCOMPARE(field("txtFAxPref")->isEnabled(), chosen == 0);
}

void TestFrm1::leavingForAnotherWindowChecksOnlyOnReturn_data()
{
    QTest::addColumn<QString>("away"); // what takes the activation from the page
    QTest::addColumn<QString>("back"); // how the user comes back
    for (const char *away : { "help (F1)", "message box", "another program" }) {
        for (const char *back : { "into the field", "through the start window", "save" })
            QTest::addRow("%s, %s", away, back) << QString::fromLatin1(away) << QString::fromLatin1(back);
    }
}

void TestFrm1::leavingForAnotherWindowChecksOnlyOnReturn()
{
    QFETCH(QString, away);
    QFETCH(QString, back);
    openPage();
    QLineEdit *txtsim = field("txtsim");
    QVERIFY(typing::enter(txtsim));
    typing::typeText(txtsim, QStringLiteral("12"));

    QMessageBox box(QMessageBox::Information, QStringLiteral("GSM"), QStringLiteral("..."));
    if (away.startsWith(u"help")) {
        QTest::keyClick(txtsim, Qt::Key_F1);
        QTRY_VERIFY(currentHelpWindow() && currentHelpWindow()->isActiveWindow());
    } else if (away.startsWith(u"message")) {
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
    } else {
        QApplication::setActiveWindow(nullptr); // as Qt delivers a switch to another program
    }
    // Nothing is checked: the page keeps its text, the window that took over stays in front.
    QCOMPARE(txtsim->text(), QStringLiteral("12"));
    QVERIFY(frm1()->isVisible());
    QVERIFY(!start()->lblMeld()->isVisible() && !start()->isActiveWindow());

    if (back == u"into the field") {
        comeBack(frm1());
        QTRY_VERIFY(txtsim->hasFocus());
        QCOMPARE(txtsim->text(), QStringLiteral("12"));
        QTest::mouseClick(field("txtPsw1"), Qt::LeftButton); // leaving it now is leaving it
    } else if (back == u"save") {
        start()->Check_Click(14);
    } else {
        comeBack(start());
        QCOMPARE(start()->lblMeld()->text(), framed(txtsim->toolTip()));
        QTest::mouseClick(start()->check(14), Qt::LeftButton); // "Speichern": the message stays for its OK
        QVERIFY(start()->lblMeld()->isVisible() && !frm1()->isVisible());
        QTest::mouseClick(start()->check(15), Qt::LeftButton);
        QTRY_VERIFY(txtsim->hasFocus());
    }
    QCOMPARE(txtsim->text(), QStringLiteral("5173"));
    QFile file(IniFilePath());
    QVERIFY(back == u"into the field"
        || (file.open(QIODevice::ReadOnly) && file.readAll().contains("txtsim=5173\r")));
    closeAllHelp();
}

void TestFrm1::targetTypedBeforeSwitchingProgramsIsPropagated()
{
    openPage();
    auto *box = WindowRegistry::instance().window("frm4")->controlAs<QCheckBox>("chksms1", 3);
    QTest::mouseClick(frm1()->tab(2), Qt::LeftButton);
    QVERIFY(typing::enter(field("txtFon1", 3)));
    typing::typeText(field("txtFon1", 3), QStringLiteral("0171"));
    QApplication::setActiveWindow(nullptr);
    QVERIFY(!box->isEnabled());
    comeBack(start());
    QVERIFY(box->isEnabled());
}

void TestFrm1::controlCharactersNeverEnterAField()
{
    writeSettings("[frm1]\r\ntxtbez=Halle\x1a 7\t\r\n");
    QCOMPARE(field("txtbez")->text(), QStringLiteral("Halle 7"));
    openPage();
    QTest::mouseClick(frm1()->tab(4), Qt::LeftButton);
    QLineEdit *mail = field("txtMail1", 1);
    QVERIFY(typing::enter(mail));
    // C1 codes too: the code page's unassigned bytes 0x81 and 0x8D read as them.
    const char16_t pasted[] = u"a\0b\tc\x7f\x1a\x81\r\nd@e.de<\x1b\x8d\x01\b";
    QGuiApplication::clipboard()->setText(QString::fromUtf16(pasted, qsizetype(std::size(pasted)) - 1));
    QTest::keyClick(mail, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(mail->text(), QStringLiteral("abcd@e.de<")); // the rest of an address is not filtered
    QCOMPARE(mail->cursorPosition(), 10);
    start()->Check_Click(14);
    QFile file(IniFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY(saved.contains("txtMail1(1)=abcd@e.de<\r\n"));
    QCOMPARE(saved.count('\x00') + saved.count('\t') + saved.count('\x7f') + saved.count('\x1a')
            + saved.count('\x81') + saved.count('\x8d'),
        0);
}

void TestFrm1::keyboardNavigation_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("fromIndex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("toIndex");

    const int enter = Qt::Key_Return;
    QTest::newRow("PIN, Tab") << 1 << "txtsim" << -1 << "1234" << int(Qt::Key_Tab) << "txtPsw1" << -1;
    QTest::newRow("PIN, Enter") << 1 << "txtsim" << -1 << "1234" << enter << "txtPsw1" << -1;
    QTest::newRow("PIN, keypad Enter")
        << 1 << "txtsim" << -1 << "1234" << int(Qt::Key_Enter) << "txtPsw1" << -1;
    QTest::newRow("password") << 1 << "txtPsw1" << -1 << "" << enter << "txtbez" << -1;
    QTest::newRow("unit name") << 1 << "txtbez" << -1 << "RM425T" << enter << "optAnb" << 1;
    QTest::newRow("mail number") << 1 << "txtAnr" << -1 << "8000" << enter << "txtFAxPref" << -1;
    QTest::newRow("fax prefix, Tab") << 1 << "txtFAxPref" << -1 << "99" << int(Qt::Key_Tab) << "txtsim" << -1;
    QTest::newRow("fax prefix, Enter") << 1 << "txtFAxPref" << -1 << "99" << enter << "txtsim" << -1;
    QTest::newRow("phone 9") << 2 << "txtFon1" << 9 << "0170" << enter << "txtFon1" << 10;
    QTest::newRow("phone 10 stays") << 2 << "txtFon1" << 10 << "0170" << enter << "txtFon1" << 10;
    QTest::newRow("empty phone stays") << 2 << "txtFon1" << 3 << "" << enter << "txtFon1" << 3;
    QTest::newRow("fax 3") << 3 << "txtFax1" << 3 << "089" << enter << "txtFax1" << 4;
    QTest::newRow("fax 4 stays") << 3 << "txtFax1" << 4 << "089" << enter << "txtFax1" << 4;
    QTest::newRow("address") << 4 << "txtMail1" << 1 << "a@b.de" << enter << "txtMail1" << 2;
    QTest::newRow("address without at sign stays")
        << 4 << "txtMail1" << 1 << "ab.de" << enter << "txtMail1" << 1;
    QTest::newRow("address 4 stays") << 4 << "txtMail1" << 4 << "a@b.de" << enter << "txtMail1" << 4;
    QTest::newRow("name stays") << 2 << "txtName1" << 1 << "Max" << enter << "txtName1" << 1;
}

void TestFrm1::keyboardNavigation()
{
    QFETCH(int, tab);
    QFETCH(QString, from);
    QFETCH(int, fromIndex);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, to);
    QFETCH(int, toIndex);

    openPage();
    QTest::mouseClick(frm1()->tab(tab), Qt::LeftButton);
    if (from == u"txtAnr" || from == u"txtFAxPref")
        choose(provider(0));
    QLineEdit *origin = field(from, fromIndex);
    origin->setText(text);
    QVERIFY(typing::enter(origin));
    QTest::keyClick(origin, Qt::Key(key));
    QWidget *target = frm1()->control(to, toIndex);
    QTRY_VERIFY(target->hasFocus());
    QCOMPARE(origin->text(), text); // the key inserted nothing
}

void TestFrm1::enterOnProviderOpensPhoneTab()
{
    openPage();
    provider(0)->setFocus();
    QTest::keyClick(provider(0), Qt::Key_Return);
    QVERIFY(frm1()->tabPicture(1)->isVisible());

    provider(3)->setFocus();
    QTest::keyClick(provider(3), Qt::Key_Return);
    QVERIFY(frm1()->tabPicture(2)->isVisible());
    QVERIFY(!frm1()->tabPicture(1)->isVisible());
    QTRY_VERIFY(field("txtFon1", 1)->hasFocus());
}

void TestFrm1::failedCheckOnLeavingTheTabReturnsToIt()
{
    openPage();
    QVERIFY(typing::enter(field("txtsim")));
    typing::typeText(field("txtsim"), QStringLiteral("12"));
    QTest::mouseClick(frm1()->tab(3), Qt::LeftButton);
    QVERIFY(start()->lblMeld()->isVisible());

    QTest::mouseClick(start()->check(15), Qt::LeftButton);
    QVERIFY(frm1()->tabPicture(1)->isVisible());
    QTRY_VERIFY(field("txtsim")->hasFocus());
    QCOMPARE(field("txtsim")->text(), QStringLiteral("5173"));
}

void TestFrm1::fieldsTakeOnlyTheirCharacters_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");

    QTest::newRow("PIN") << 1 << "txtsim" << -1 << "1a2+345"
                         << "1234";
    QTest::newRow("password without digits") << 1 << "txtPsw1" << -1 << "Ab1 cD2efghij"
                                             << "Ab cDefg";
    QTest::newRow("unit name") << 1 << "txtbez" << -1 << "Kessel=1 (Süd)"
                               << "Kessel=1 Sd";
    QTest::newRow("phone number with plus") << 2 << "txtFon1" << 1 << "+49 170-1"
                                            << "+491701";
    QTest::newRow("name without umlauts") << 2 << "txtName1" << 12 << "Jörg Maier"
                                          << "Jrg Maier";
    QTest::newRow("fax number without plus") << 3 << "txtFax1" << 2 << "+49 89"
                                             << "4989";
    QTest::newRow("fax name") << 3 << "txtNamef1" << 4 << "Büro2"
                              << "Bro";
    QTest::newRow("address unfiltered") << 4 << "txtMail1" << 3 << "jörg.m+x@a.de"
                                        << "jörg.m+x@a.de";
    QTest::newRow("address name") << 4 << "txtNamem1" << 1 << "Chef@"
                                  << "Chef";
}

void TestFrm1::fieldsTakeOnlyTheirCharacters()
{
    QFETCH(int, tab);
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, text);

    openPage();
    QTest::mouseClick(frm1()->tab(tab), Qt::LeftButton);
    QLineEdit *target = field(name, index);
    QVERIFY(typing::enter(target));
    typing::typeText(target, typed);
    QCOMPARE(target->text(), text);
}

void TestFrm1::tabStripShowsOnePictureAndKeepsHoverMarks()
{
    openPage();
    Frm1 *page = frm1();
    QVERIFY(page->tabPicture(1)->isVisible());

    QTest::mouseClick(page->tab(3), Qt::LeftButton);
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(page->tabPicture(i)->isVisible(), i == 3);
        QVERIFY(!page->tab(i)->isChecked());
        QCOMPARE(page->tab(i)->background(),
            i == 3 ? PageColors::TabActiveBackground : PageColors::TabInactiveBackground);
        QCOMPARE(page->tab(i)->textColor(), i == 3 ? PageColors::TabActiveText : PageColors::TabInactiveText);
    }

    // Crossing tabs marks them; the page body clears only the start window's marks.
    typing::hover(start()->check(4));
    QVERIFY(start()->check(4)->isBold());
    typing::hover(page->tab(1));
    typing::hover(page->tab(2));
    QVERIFY(!start()->check(4)->isBold());
    typing::hover(page->tabPicture(3));
    QVERIFY(page->tab(1)->isBold());
    QVERIFY(page->tab(2)->isBold());
    QVERIFY(!page->tab(4)->isBold());

    // Over the start window itself the marks of the current page's tabs go.
    typing::hover(start(), QPoint(start()->width() - 5, start()->height() - 5));
    QVERIFY(!page->tab(1)->isBold());
    QVERIFY(!page->tab(2)->isBold());
}

void TestFrm1::everyValueSurvivesSaveAndRestart()
{
    openPage();
    QVERIFY(typing::enter(field("txtsim")));
    typing::typeText(field("txtsim"), QStringLiteral("4711"));
    QVERIFY(typing::enter(field("txtPsw1")));
    typing::typeText(field("txtPsw1"), QStringLiteral("geheim"));
    choose(provider(0));
    QTRY_VERIFY(field("txtAnr")->hasFocus());
    typing::typeText(field("txtAnr"), QStringLiteral("12345"));
    QTest::keyClick(field("txtAnr"), Qt::Key_Return);
    typing::typeText(field("txtFAxPref"), QStringLiteral("77"));
    QTest::mouseClick(frm1()->tab(2), Qt::LeftButton);
    QVERIFY(typing::enter(field("txtFon1", 12)));
    typing::typeText(field("txtFon1", 12), QStringLiteral("+4917012"));
    QTest::mouseClick(frm1()->tab(4), Qt::LeftButton);
    QVERIFY(typing::enter(field("txtMail1", 4)));
    typing::typeText(field("txtMail1", 4), QStringLiteral("wart@werk.de"));
    QVERIFY(typing::enter(field("txtNamem1", 4)));
    typing::typeText(field("txtNamem1", 4), QStringLiteral("Wart"));

    QTest::mouseClick(start()->check(14), Qt::LeftButton); // "Speichern"
    WindowRegistry::instance().reset();
    registerProgramWindows();
    loadSettingsIntoConfiguration(IniFileReadPath()); // as the next start reads it

    QCOMPARE(field("txtsim")->text(), QStringLiteral("4711"));
    QCOMPARE(field("txtPsw1")->text(), QStringLiteral("geheim"));
    QCOMPARE(field("txtbez")->text(), QStringLiteral("RM425T"));
    QVERIFY(provider(0)->isChecked());
    QVERIFY(field("txtAnr")->isEnabled());
    QCOMPARE(field("txtAnr")->text(), QStringLiteral("12345"));
    QCOMPARE(field("txtFAxPref")->text(), QStringLiteral("77"));
    QCOMPARE(field("txtFon1", 12)->text(), QStringLiteral("+4917012"));
    QCOMPARE(field("txtMail1", 4)->text(), QStringLiteral("wart@werk.de"));
    QCOMPARE(field("txtNamem1", 4)->text(), QStringLiteral("Wart"));
    QCOMPARE(field("language")->text(), QStringLiteral("1"));
}

QTEST_MAIN(TestFrm1)
#include "tst_frm1.moc"
