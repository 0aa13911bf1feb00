#include "core/appsetup.h"
#include "l10n/captiontable.h"
#include "pages/frm4.h"
#include "pages/frm6.h"
#include "pages/frm7.h"
#include "pages/frm9.h"
#include "pages/notifysets.h"
#include "core/inifile.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include "support/startupsettings.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The SMS outputs, PWM output, incall output and reply pages as a user meets them: the frames that "Belegt"
// and the other boxes show and hide, the switch-text labels, the text fields' filters, what a page makes of
// its stored values, and what it stores.

namespace {

// Targets on the general settings page: phone numbers 1, 2 and 5, e-mail address 1.
const QByteArray kTargets = "[frm1]\r\ntxtFon1(1)=0170111\r\ntxtFon1(2)=0170222\r\ntxtFon1(5)=0170555\r\n"
                            "txtMail1(1)=info@example.de\r\n";

PageWindow *page(const QString &name)
{
    return WindowRegistry::instance().get<PageWindow>(name);
}

QCheckBox *checkBox(FormWindow *window, const QString &name, int index = -1)
{
    return window->controlAs<QCheckBox>(name, index);
}

QLineEdit *field(FormWindow *window, const QString &name, int index = -1)
{
    return window->controlAs<QLineEdit>(name, index);
}

QString labelText(FormWindow *window, const QString &name, int index)
{
    return window->controlAs<QLabel>(name, index)->text();
}

// Shown as far as the page decides it; the window itself may still be hidden.
bool shown(FormWindow *window, const QString &name, int index = -1)
{
    return !window->control(name, index)->isHidden();
}

// On the box or the round button itself: a check box or option button is wider than its caption, to leave
// room for the other languages, and takes clicks only on what it draws.
void click(QWidget *widget)
{
    const bool indicator = qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget);
    QTest::mouseClick(widget, Qt::LeftButton, {}, indicator ? QPoint(7, widget->height() / 2) : QPoint());
}

void clickTab(PageWindow *window, int tab)
{
    click(window->tab(tab));
}

bool showAndActivate(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Types each character as a key press carrying that character, umlauts included.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

// Clicks into a field and waits until its whole text is selected, as the user sees it before typing.
bool enter(QLineEdit *line)
{
    click(line);
    return QTest::qWaitFor([line] { return line->hasFocus() && line->selectedText() == line->text(); }, 1000);
}

// Every value the settings file keeps of a page, by key.
QMap<QString, QString> storedValues(FormWindow *window)
{
    QMap<QString, QString> values;
    for (const ControlRef &ref : window->controls()) {
        if (ref.kind == ControlKind::TextBox)
            values.insert(ref.key(), controlText(ref));
        else if (ref.kind != ControlKind::Other)
            values.insert(ref.key(), QString::number(controlState(ref)));
    }
    return values;
}

// Members of a set, one character each, the all box first: "x" ticked, "." unticked, "-" disabled.
QString states(NotifySet *set)
{
    QString s;
    for (int i = 0; i <= set->memberCount(); ++i)
        s += set->box(i)->isChecked() ? u'x' : (set->box(i)->isEnabled() ? u'.' : u'-');
    return s;
}

} // namespace

class TestOutputPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultsWithoutSettingsFile();
    void belegtShowsItsFrame_data();
    void belegtShowsItsFrame();
    void greyedBelegtIsNotInUse_data();
    void greyedBelegtIsNotInUse();
    void senderBlockFollowsLastChosenOutput();
    void anySenderHidesSenderSelection();
    void anyCallerHidesCallerSelection();
    void switchTextLabels_data();
    void switchTextLabels();
    void errorTextEditableOnlyWithErrorReply();
    void textFieldsFilterKeys_data();
    void textFieldsFilterKeys();
    void loadAppliesStoredValues();
    void pwmCliEndsEqualToInUse_data();
    void pwmCliEndsEqualToInUse();
    void targetsReachEveryPage();
    void hiddenMailSetIsSaved_data();
    void hiddenMailSetIsSaved();
    void saveRoundTrip_data();
    void saveRoundTrip();
    void configurationWithoutPageReturnsToDesign_data();
    void configurationWithoutPageReturnsToDesign();
    void captionTableFindsEveryControl_data();
    void captionTableFindsEveryControl();

private:
    void writeSettings(const QByteArray &text);
    void fillIn(PageWindow *window);
    QTemporaryDir m_dir;
};

void TestOutputPages::initTestCase()
{
    QVERIFY(m_dir.isValid());
    AppSetup::setUpApplication({ m_dir.path() });
}

void TestOutputPages::init()
{
    QFile::remove(IniFilePath());
    registerProgramWindows();
}

void TestOutputPages::cleanup()
{
    WindowRegistry::instance().reset();
}

void TestOutputPages::writeSettings(const QByteArray &text)
{
    QVERIFY(writeStartupSettings(text));
}

void TestOutputPages::defaultsWithoutSettingsFile()
{
    PageWindow *frm4 = page("frm4");
    for (int i = 1; i <= Frm4::kOutputCount; ++i) {
        QCOMPARE(field(frm4, "txtSMS", i)->text(), QStringLiteral("Relais%1").arg(i));
        QCOMPARE(labelText(frm4, "lblE", i), QStringLiteral("Relais%1*=1").arg(i));
        QCOMPARE(labelText(frm4, "lblA", i), QStringLiteral("Relais%1*=0").arg(i));
        QVERIFY(!checkBox(frm4, "chk4", i)->isChecked());
        QVERIFY(!shown(frm4, "fra4", i));
    }
    QVERIFY(!shown(frm4, "frawer"));

    PageWindow *frm6 = page("frm6");
    QVERIFY(!shown(frm6, "fra6"));
    QVERIFY(!checkBox(frm6, "chkCLI")->isChecked());

    PageWindow *frm7 = page("frm7");
    QVERIFY(!shown(frm7, "fra7"));
    QVERIFY(frm7->controlAs<QRadioButton>("optZ", 1)->isChecked());
    QVERIFY(!checkBox(frm7, "chkPsw7")->isChecked());

    PageWindow *frm9 = page("frm9");
    QCOMPARE(field(frm9, "txtZust")->text(), QStringLiteral("Antwort"));
    QCOMPARE(field(frm9, "txtErr")->text(), QStringLiteral("ERROR"));
    QVERIFY(!field(frm9, "txtErr")->isEnabled());

    // Without any target every sender box is disabled once the page is activated.
    for (PageWindow *window : { frm4, frm6, frm7, frm9 }) {
        window->formActivate();
        QCOMPARE(WindowRegistry::instance().currentPage(), window->pageNumber());
        QCOMPARE(states(window->notifySet(NotifyKind::Sms)), QString(13, u'-'));
    }
}

void TestOutputPages::belegtShowsItsFrame_data()
{
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("index");

    for (int i = 1; i <= Frm4::kOutputCount; ++i)
        QTest::addRow("frm4 output %d", i) << "frm4" << i << "chk4"
                                           << "fra4" << i;
    QTest::newRow("frm6") << "frm6" << 1 << "chk6"
                          << "fra6" << -1;
    QTest::newRow("frm7") << "frm7" << 1 << "chk7"
                          << "fra7" << -1;
}

void TestOutputPages::belegtShowsItsFrame()
{
    QFETCH(QString, pageName);
    QFETCH(int, tab);
    QFETCH(QString, box);
    QFETCH(QString, frame);
    QFETCH(int, index);

    PageWindow *window = page(pageName);
    QVERIFY(showAndActivate(window));
    clickTab(window, tab);
    QCheckBox *inUse = checkBox(window, box, index);
    QCOMPARE(inUse->text(), QStringLiteral("Belegt"));

    click(inUse);
    QVERIFY(inUse->isChecked());
    QVERIFY(window->control(frame, index)->isVisible());
    click(inUse);
    QVERIFY(!inUse->isChecked());
    QVERIFY(!shown(window, frame, index));
}

void TestOutputPages::greyedBelegtIsNotInUse_data()
{
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("index");
    QTest::newRow("frm4 output 1") << "frm4" << "chk4" << "fra4" << 1;
    QTest::newRow("frm4 output 3") << "frm4" << "chk4" << "fra4" << 3;
    QTest::newRow("frm7") << "frm7" << "chk7" << "fra7" << -1;
}

// A greyed "Belegt" box (only an edited settings file holds one) is not in use, as the record reads it:
// the page shows it unticked, and from then on it only ticks and unticks.
void TestOutputPages::greyedBelegtIsNotInUse()
{
    QFETCH(QString, pageName);
    QFETCH(QString, box);
    QFETCH(QString, frame);
    QFETCH(int, index);

    const QString key = index < 0 ? box : QStringLiteral("%1(%2)").arg(box).arg(index);
    writeSettings(QStringLiteral("[%1]\r\n%2=2\r\n").arg(pageName, key).toLatin1());
    PageWindow *window = page(pageName);
    QCheckBox *inUse = checkBox(window, box, index);
    QCOMPARE(inUse->checkState(), Qt::Unchecked);
    QVERIFY(!inUse->isTristate());
    QVERIFY(window->control(frame, index)->isHidden());

    // A ticked box that a configuration opened later greys keeps its tick, only its state changes: it ends
    // unticked all the same.
    inUse->setChecked(true);
    QVERIFY(!window->control(frame, index)->isHidden());
    window->loadConfiguration(
        IniDocument::fromBytes(QStringLiteral("[%1]\r\n%2=2\r\n").arg(pageName, key).toLatin1()));
    QCOMPARE(inUse->checkState(), Qt::Unchecked);
    QVERIFY(!inUse->isTristate());
    QVERIFY(window->control(frame, index)->isHidden());
}

void TestOutputPages::senderBlockFollowsLastChosenOutput()
{
    auto *frm4 = page("frm4");
    QVERIFY(showAndActivate(frm4));

    clickTab(frm4, 3);
    click(checkBox(frm4, "chk4", 3));
    QVERIFY(frm4->control("frawer")->isVisible());

    // Output 1 is not in use: its tab has no sender block; output 3 keeps its switch text shown.
    clickTab(frm4, 1);
    QVERIFY(!shown(frm4, "frawer"));
    QVERIFY(shown(frm4, "fra4", 3));

    click(checkBox(frm4, "chk4", 1));
    QVERIFY(frm4->control("frawer")->isVisible());
    clickTab(frm4, 2);
    QVERIFY(!shown(frm4, "frawer"));
    clickTab(frm4, 3);
    QVERIFY(frm4->control("frawer")->isVisible());
    QCOMPARE(static_cast<Frm4 *>(frm4)->chosenOutput(), 3);

    // Unticking the output on its own tab takes the block away with its switch text.
    click(checkBox(frm4, "chk4", 3));
    QVERIFY(!shown(frm4, "frawer"));
    QVERIFY(!shown(frm4, "fra4", 3));
}

void TestOutputPages::anySenderHidesSenderSelection()
{
    writeSettings(kTargets + "[frm4]\r\nchk4(1)=1\r\n");
    auto *frm4 = page("frm4");
    QVERIFY(showAndActivate(frm4));
    NotifySet *sms = frm4->notifySet(NotifyKind::Sms);
    click(sms->box(2));
    click(sms->box(5));

    click(checkBox(frm4, "chkCLI"));
    QVERIFY(!shown(frm4, "fraSenden"));
    click(checkBox(frm4, "chkCLI"));
    QVERIFY(frm4->control("fraSenden")->isVisible());
    QCOMPARE(states(sms), QStringLiteral("..x--x-------"));
}

void TestOutputPages::anyCallerHidesCallerSelection()
{
    writeSettings(kTargets + "[frm7]\r\nchk7=1\r\n");
    auto *frm7 = page("frm7");
    QVERIFY(showAndActivate(frm7));
    QVERIFY(frm7->control("fraWer7")->isVisible());
    NotifySet *sms = frm7->notifySet(NotifyKind::Sms);
    click(sms->box(1));

    QCheckBox *anyCaller = checkBox(frm7, "chkPsw7");
    QCOMPARE(anyCaller->text(), QStringLiteral("Jeder darf anrufen"));
    click(anyCaller);
    QVERIFY(!shown(frm7, "fraWer7"));
    // The column heading stands beside the selection, not in it.
    QVERIFY(frm7->control("Label2", 14)->isVisible());
    QCOMPARE(frm7->control("Label2", 14)->parentWidget(), frm7->control("fra7"));
    // The ticks stay for when the caller selection comes back.
    QVERIFY(sms->box(1)->isChecked());
    click(anyCaller);
    QVERIFY(frm7->control("fraWer7")->isVisible());
    QCOMPARE(states(sms), QStringLiteral(".x.--.-------"));
}

void TestOutputPages::switchTextLabels_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");

    QTest::newRow("short text filled up") << "Pumpe"
                                          << "Pumpe***";
    QTest::newRow("exactly 8 characters") << "Heizung1"
                                          << "Heizung1";
    QTest::newRow("typed blanks stay blanks") << "Tor 2"
                                              << "Tor 2***";
    QTest::newRow("empty") << ""
                           << "********";
}

void TestOutputPages::switchTextLabels()
{
    QFETCH(QString, typed);
    QFETCH(QString, command);

    writeSettings("[frm4]\r\nchk4(2)=1\r\n");
    auto *frm4 = page("frm4");
    QVERIFY(showAndActivate(frm4));
    clickTab(frm4, 2);
    QLineEdit *text = field(frm4, "txtSMS", 2);
    QVERIFY(enter(text));
    QTest::keyClick(text, Qt::Key_Delete);
    typeText(text, typed);
    QCOMPARE(labelText(frm4, "lblE", 2), QStringLiteral("Relais2*=1"));

    // Leaving the field shows the commands the module will obey.
    QTest::keyClick(text, Qt::Key_Tab);
    QVERIFY(!text->hasFocus());
    QCOMPARE(labelText(frm4, "lblE", 2), command + QStringLiteral("=1"));
    QCOMPARE(labelText(frm4, "lblA", 2), command + QStringLiteral("=0"));
    QCOMPARE(labelText(frm4, "lblE", 1), QStringLiteral("Relais1*=1"));
}

void TestOutputPages::errorTextEditableOnlyWithErrorReply()
{
    auto *frm9 = page("frm9");
    QVERIFY(showAndActivate(frm9));
    QLineEdit *txtErr = field(frm9, "txtErr");
    QCheckBox *chkAntw = checkBox(frm9, "chkAntw");
    QVERIFY(!txtErr->isEnabled());

    click(chkAntw);
    QVERIFY(txtErr->isEnabled());
    // Tabbing in from the box selects the whole text.
    chkAntw->setFocus();
    QTest::keyClick(chkAntw, Qt::Key_Tab);
    QVERIFY(txtErr->hasFocus());
    QCOMPARE(txtErr->selectedText(), QStringLiteral("ERROR"));
    typeText(txtErr, "FALSCH");

    click(chkAntw);
    QVERIFY(!txtErr->isEnabled());
    QCOMPARE(txtErr->text(), QStringLiteral("FALSCH"));
    click(chkAntw);
    QVERIFY(txtErr->isEnabled());
    QCOMPARE(txtErr->text(), QStringLiteral("FALSCH"));
}

void TestOutputPages::textFieldsFilterKeys_data()
{
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("enterPasses");

    QTest::newRow("frm4 txtSMS") << "frm4"
                                 << "txtSMS" << 1 << "ä*-.Ab= 9ß"
                                 << "Ab= 9" << true;
    QTest::newRow("frm4 txtSMS at most 8") << "frm4"
                                           << "txtSMS" << 1 << "ABCDEFGHIJ"
                                           << "ABCDEFGH" << true;
    QTest::newRow("frm9 txtZust") << "frm9"
                                  << "txtZust" << -1 << "*üJa=1"
                                  << "Ja=1" << false;
    QTest::newRow("frm9 txtErr") << "frm9"
                                 << "txtErr" << -1 << "Fehler*ü!"
                                 << "Fehler" << false;
    QTest::newRow("frm9 txtErr at most 8") << "frm9"
                                           << "txtErr" << -1 << "0123456789"
                                           << "01234567" << false;
}

void TestOutputPages::textFieldsFilterKeys()
{
    QFETCH(QString, pageName);
    QFETCH(QString, fieldName);
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(bool, enterPasses);

    writeSettings("[frm4]\r\nchk4(1)=1\r\n[frm9]\r\nchkAntw=1\r\n");
    PageWindow *window = page(pageName);
    QVERIFY(showAndActivate(window));
    QLineEdit *text = field(window, fieldName, index);
    QVERIFY(enter(text));
    typeText(text, typed);
    QCOMPARE(text->text(), expected);

    // The switch text lets Enter through to the field; the reply texts swallow it like any other
    // character outside their set.
    QSignalSpy returnPressed(text, &QLineEdit::returnPressed);
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(returnPressed.count(), enterPasses ? 1 : 0);
    QCOMPARE(text->text(), expected);
}

void TestOutputPages::loadAppliesStoredValues()
{
    // Targets: phone numbers 1, 2 and 5, e-mail address 1. Stored ticks for members without a target (3, 4,
    // 12, e-mail 2) come back unticked and disabled.
    writeSettings(kTargets
        + "[frm4]\r\nchk4(1)=1\r\nchk4(3)=1\r\ntxtSMS(3)=Pumpe\r\nchkCLI=1\r\nchksms1(1)=1\r\n"
          "chksms1(3)=1\r\nchkmail1(1)=1\r\nchkmail1(2)=1\r\n"
          "[frm6]\r\nchk6=1\r\nchkCLI=0\r\nchksms1(2)=1\r\nchksms1(4)=1\r\nchkPsw6=1\r\n"
          "[frm7]\r\nchk7=1\r\noptZ(1)=0\r\noptZ(11)=-1\r\nchkPsw7=1\r\nchksms1(5)=1\r\nchksms1(12)=1\r\n"
          "[frm9]\r\nchkAntw=1\r\ntxtErr=FALSCH\r\ntxtZust=Ja\r\nchkCLI=1\r\nchksms1(5)=1\r\n"
          "chksms1(4)=1\r\nchkmail1(1)=1\r\n");

    PageWindow *frm4 = page("frm4");
    QVERIFY(shown(frm4, "fra4", 1));
    QVERIFY(!shown(frm4, "fra4", 2));
    QVERIFY(shown(frm4, "fra4", 3));
    QVERIFY(shown(frm4, "frawer"));
    QVERIFY(!shown(frm4, "fraSenden"));
    QCOMPARE(labelText(frm4, "lblE", 3), QStringLiteral("Pumpe***=1"));
    QCOMPARE(states(frm4->notifySet(NotifyKind::Sms)), QStringLiteral(".x.--.-------"));
    QCOMPARE(states(frm4->notifySet(NotifyKind::Mail)), QStringLiteral(".x---"));

    PageWindow *frm6 = page("frm6");
    QVERIFY(shown(frm6, "fra6"));
    QVERIFY(checkBox(frm6, "chkCLI")->isChecked());
    QVERIFY(checkBox(frm6, "chkPsw6")->isChecked());
    QCOMPARE(states(frm6->notifySet(NotifyKind::Sms)), QStringLiteral("..x--.-------"));

    PageWindow *frm7 = page("frm7");
    QVERIFY(shown(frm7, "fra7"));
    QVERIFY(!shown(frm7, "fraWer7"));
    QVERIFY(frm7->controlAs<QRadioButton>("optZ", 11)->isChecked());
    QCOMPARE(frm7->controlAs<QRadioButton>("optZ", 11)->text(), QStringLiteral("12 h"));
    QVERIFY(!frm7->controlAs<QRadioButton>("optZ", 1)->isChecked());
    QCOMPARE(states(frm7->notifySet(NotifyKind::Sms)), QStringLiteral("...--x-------"));

    PageWindow *frm9 = page("frm9");
    QVERIFY(field(frm9, "txtErr")->isEnabled());
    QCOMPARE(field(frm9, "txtErr")->text(), QStringLiteral("FALSCH"));
    QCOMPARE(field(frm9, "txtZust")->text(), QStringLiteral("Ja"));
    QVERIFY(checkBox(frm9, "chkCLI")->isChecked());
    QCOMPARE(states(frm9->notifySet(NotifyKind::Sms)), QStringLiteral("...--x-------"));
    QCOMPARE(states(frm9->notifySet(NotifyKind::Mail)), QStringLiteral(".x---"));

    // After load the sender block follows output 1, not a tab the file chose.
    WindowRegistry::instance().reset();
    registerProgramWindows();
    writeSettings("[frm4]\r\nchk4(1)=0\r\nchk4(2)=1\r\nopt(2)=-1\r\n");
    QVERIFY(!shown(page("frm4"), "frawer"));
}

void TestOutputPages::pwmCliEndsEqualToInUse_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<Qt::CheckState>("expected");

    QTest::newRow("in use, CLI stored unticked") << QByteArray("chk6=1\r\nchkCLI=0\r\n") << Qt::Checked;
    QTest::newRow("not in use, CLI stored ticked") << QByteArray("chk6=0\r\nchkCLI=1\r\n") << Qt::Unchecked;
    QTest::newRow("only CLI stored") << QByteArray("chkCLI=1\r\n") << Qt::Unchecked;
    QTest::newRow("greyed in use") << QByteArray("chk6=2\r\nchkCLI=1\r\n") << Qt::Unchecked;
    QTest::newRow("not a number") << QByteArray("chk6=ja\r\nchkCLI=1\r\n") << Qt::Unchecked;
}

void TestOutputPages::pwmCliEndsEqualToInUse()
{
    QFETCH(QByteArray, stored);
    QFETCH(Qt::CheckState, expected);

    writeSettings("[frm6]\r\n" + stored);
    PageWindow *frm6 = page("frm6");
    QCOMPARE(checkBox(frm6, "chk6")->checkState(), expected);
    QCOMPARE(checkBox(frm6, "chkCLI")->checkState(), expected);
    QCOMPARE(shown(frm6, "fra6"), expected != Qt::Unchecked);
}

void TestOutputPages::targetsReachEveryPage()
{
    for (const char *name : { "frm4", "frm6", "frm7", "frm9" })
        QVERIFY2(!page(name)->notifySet(NotifyKind::Sms)->box(3)->isEnabled(), name);

    PropagateTarget(NotifyKind::Sms, 3, QStringLiteral("0170333"));
    PropagateTarget(NotifyKind::Mail, 4, QStringLiteral("x@example.de"));
    for (const char *name : { "frm4", "frm6", "frm7", "frm9" }) {
        PageWindow *window = page(name);
        QVERIFY2(window->notifySet(NotifyKind::Sms)->box(3)->isEnabled(), name);
        // Only the incall page has no e-mail set, and none of them a fax set.
        NotifySet *mail = window->notifySet(NotifyKind::Mail);
        QCOMPARE(mail != nullptr, QByteArray(name) != "frm7");
        if (mail)
            QVERIFY2(mail->box(4)->isEnabled(), name);
        QVERIFY2(!window->notifySet(NotifyKind::Fax), name);
    }
}

void TestOutputPages::hiddenMailSetIsSaved_data()
{
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QString>("inUse");

    QTest::newRow("frm4") << "frm4"
                          << "chk4(1)";
    QTest::newRow("frm6") << "frm6"
                          << "chk6";
    QTest::newRow("frm9") << "frm9"
                          << "";
}

void TestOutputPages::hiddenMailSetIsSaved()
{
    QFETCH(QString, pageName);
    QFETCH(QString, inUse);

    QByteArray settings = kTargets + "[" + pageName.toLatin1() + "]\r\nchkmail1(1)=1\r\n";
    if (!inUse.isEmpty())
        settings += inUse.toLatin1() + "=1\r\n";
    writeSettings(settings);
    PageWindow *window = page(pageName);
    QVERIFY(showAndActivate(window));
    NotifySet *mail = window->notifySet(NotifyKind::Mail);
    QVERIFY(window->notifySet(NotifyKind::Sms)->box(1)->isVisible());
    for (int i = 0; i <= mail->memberCount(); ++i)
        QVERIFY(!mail->box(i)->isVisible());
    QVERIFY(mail->box(1)->isChecked());

    QVERIFY(writeSettingsFile(documentOfWindows({ window })));
    QFile file(IniFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY(saved.contains("chkmail1(0)=0\r\n"));
    QVERIFY(saved.contains("chkmail1(1)=1\r\n"));
    QVERIFY(saved.contains("chkmail1(4)=0\r\n"));
}

void TestOutputPages::saveRoundTrip_data()
{
    QTest::addColumn<QString>("pageName");
    for (const char *name : { "frm4", "frm6", "frm7", "frm9" })
        QTest::newRow(name) << name;
}

// What a user fills in on each page before saving.
void TestOutputPages::fillIn(PageWindow *window)
{
    NotifySet *sms = window->notifySet(NotifyKind::Sms);
    const QString name = window->formName();
    if (name == u"frm4") {
        click(checkBox(window, "chk4", 1));
        QVERIFY(enter(field(window, "txtSMS", 1)));
        typeText(field(window, "txtSMS", 1), "Licht 1");
        clickTab(window, 4);
        click(checkBox(window, "chk4", 4));
        QVERIFY(enter(field(window, "txtSMS", 4)));
        typeText(field(window, "txtSMS", 4), "Tor");
        click(sms->box(5));
        click(checkBox(window, "chkCLI"));
        click(checkBox(window, "chkAnt4"));
    } else if (name == u"frm6") {
        click(checkBox(window, "chk6"));
        click(sms->allBox());
        click(sms->box(2));
        click(checkBox(window, "chkPsw6"));
    } else if (name == u"frm7") {
        click(checkBox(window, "chk7"));
        click(window->control("optZ", 11));
        click(sms->box(2));
        click(checkBox(window, "chkPsw7"));
    } else if (name == u"frm9") {
        QVERIFY(enter(field(window, "txtZust")));
        typeText(field(window, "txtZust"), "Ja");
        click(checkBox(window, "chkAntw"));
        QVERIFY(enter(field(window, "txtErr")));
        typeText(field(window, "txtErr"), "Falsch");
        click(sms->allBox());
        click(checkBox(window, "chkPsw9"));
    }
    // Leaves the last field.
    click(window->tab(1));
}

void TestOutputPages::saveRoundTrip()
{
    QFETCH(QString, pageName);

    writeSettings(kTargets);
    PageWindow *window = page(pageName);
    QVERIFY(showAndActivate(window));
    fillIn(window);
    if (QTest::currentTestFailed())
        return;
    const QMap<QString, QString> before = storedValues(window);
    QVERIFY(writeSettingsFile(documentOfWindows({ page("frm1"), window })));

    WindowRegistry::instance().reset();
    loadSettingsIntoConfiguration(IniFileReadPath()); // as the next start reads it
    window = page(pageName);
    QCOMPARE(storedValues(window), before);

    if (pageName == u"frm4") {
        QCOMPARE(before.value("txtSMS(1)"), QStringLiteral("Licht 1"));
        QCOMPARE(labelText(window, "lblE", 1), QStringLiteral("Licht 1*=1"));
        QCOMPARE(labelText(window, "lblA", 4), QStringLiteral("Tor*****=0"));
        QVERIFY(shown(window, "fra4", 1) && shown(window, "fra4", 4) && shown(window, "frawer"));
        QVERIFY(!shown(window, "fraSenden"));
        QCOMPARE(states(window->notifySet(NotifyKind::Sms)), QStringLiteral("...--x-------"));
    } else if (pageName == u"frm6") {
        QVERIFY(shown(window, "fra6"));
        QVERIFY(checkBox(window, "chkCLI")->isChecked());
        QCOMPARE(states(window->notifySet(NotifyKind::Sms)), QStringLiteral(".x.--x-------"));
    } else if (pageName == u"frm7") {
        QVERIFY(window->controlAs<QRadioButton>("optZ", 11)->isChecked());
        QVERIFY(shown(window, "fra7") && !shown(window, "fraWer7"));
    } else {
        QCOMPARE(field(window, "txtZust")->text(), QStringLiteral("Ja"));
        QCOMPARE(field(window, "txtErr")->text(), QStringLiteral("Falsch"));
        QVERIFY(field(window, "txtErr")->isEnabled());
        QCOMPARE(states(window->notifySet(NotifyKind::Sms)), QStringLiteral("xxx--x-------"));
    }
}

void TestOutputPages::configurationWithoutPageReturnsToDesign_data()
{
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("frm4") << "frm4"
                          << QByteArray("chk4(1)=1\r\ntxtSMS(1)=Licht\r\nchksms1(5)=1\r\nchkAnt4=1\r\n");
    QTest::newRow("frm6") << "frm6" << QByteArray("chk6=1\r\nchksms1(2)=1\r\nchkPsw6=1\r\n");
    QTest::newRow("frm7") << "frm7" << QByteArray("chk7=1\r\noptZ(1)=0\r\noptZ(11)=-1\r\nchkPsw7=1\r\n");
    QTest::newRow("frm9") << "frm9" << QByteArray("txtZust=Ja\r\nchkAntw=1\r\ntxtErr=Falsch\r\n");
}

// A configuration opened later that holds nothing of the page: every value goes back to the one a page
// without settings shows, and the page's own load rules follow, so nothing of the earlier values can reach
// the module with the new configuration.
void TestOutputPages::configurationWithoutPageReturnsToDesign()
{
    QFETCH(QString, pageName);
    QFETCH(QByteArray, stored);

    const auto frames = [&pageName](PageWindow *window) {
        QStringList states;
        if (pageName == u"frm7") {
            for (const char *frame : { "fra7", "fraWer7" })
                states << QString::fromLatin1(frame) + (shown(window, frame) ? "=shown" : "=hidden");
        }
        return states;
    };
    const QMap<QString, QString> design = storedValues(page(pageName));
    const QStringList designFrames = frames(page(pageName));
    WindowRegistry::instance().reset();

    writeSettings(kTargets + "[" + pageName.toLatin1() + "]\r\n" + stored);
    PageWindow *window = page(pageName);
    QVERIFY(storedValues(window) != design);

    window->loadConfiguration(IniDocument());
    QCOMPARE(storedValues(window), design);
    QCOMPARE(frames(window), designFrames);
}

void TestOutputPages::captionTableFindsEveryControl_data()
{
    QTest::addColumn<QString>("pageName");
    for (const char *name : { "frm4", "frm6", "frm7", "frm9" })
        QTest::newRow(name) << name;
}

void TestOutputPages::captionTableFindsEveryControl()
{
    QFETCH(QString, pageName);

    PageWindow *window = page(pageName);
    int entries = 0;
    for (const CaptionEntry &entry : captionTable()) {
        if (entry.window != pageName)
            continue;
        ++entries;
        const QString key = entry.controlKey();
        QWidget *widget = window->control(entry.control.toString(), entry.index);
        QVERIFY2(widget, qPrintable(key));
        if (entry.property == CaptionProperty::ToolTipText) {
            // The design tool tip is the German text of the table.
            QCOMPARE(widget->toolTip(), entry.text(kGerman));
            continue;
        }
        QCOMPARE(entry.property, CaptionProperty::Caption);
        QString caption;
        if (auto *label = qobject_cast<QLabel *>(widget))
            caption = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            caption = button->text();
        else if (auto *frame = qobject_cast<QGroupBox *>(widget))
            caption = frame->title();
        else
            QFAIL(qPrintable(key + QStringLiteral(" cannot show a caption")));
        QCOMPARE(caption, entry.text(kGerman));
    }
    QVERIFY(entries > 0);
}

QTEST_MAIN(TestOutputPages)
#include "tst_outputpages.moc"
