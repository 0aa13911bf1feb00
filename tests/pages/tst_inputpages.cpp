#include "core/appsetup.h"
#include "l10n/captiontable.h"
#include "pages/frm2.h"
#include "pages/frm3.h"
#include "pages/frm5.h"
#include "shell/frmstart.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"
#include "typing.h"

#include "support/startupsettings.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

// The three input pages: inputs T1/T2 (frm2), optocoupler inputs (frm3) and ADC input (frm5).
namespace {

FrmStart *start()
{
    return WindowRegistry::instance().get<FrmStart>(QStringLiteral("frmStart"));
}

PageWindow *page(const QString &name)
{
    return WindowRegistry::instance().get<PageWindow>(name);
}

int pageNumber(const QString &name)
{
    return name.mid(3).toInt();
}

// "name" or "name(index)", as the settings file writes it.
QWidget *control(PageWindow *window, const QString &key)
{
    const qsizetype open = key.indexOf(u'(');
    if (open < 0)
        return window->control(key);
    return window->control(key.left(open), key.mid(open + 1).chopped(1).toInt());
}

// What a user sees of a control: the text of a text box, the state of a box or option, whether a frame or
// label is shown (on its own; the page or its tab may be hidden).
QString describe(QWidget *widget)
{
    if (!widget)
        return QStringLiteral("missing");
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    if (auto *box = qobject_cast<QCheckBox *>(widget)) {
        const QString state = box->checkState() == Qt::Checked
            ? QStringLiteral("ticked")
            : (box->checkState() == Qt::PartiallyChecked ? QStringLiteral("greyed")
                                                         : QStringLiteral("unticked"));
        return box->isEnabled() ? state : QStringLiteral("disabled ") + state;
    }
    if (auto *option = qobject_cast<QRadioButton *>(widget))
        return option->isChecked() ? QStringLiteral("chosen") : QStringLiteral("not chosen");
    return widget->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown");
}

QStringList describe(PageWindow *window, const QStringList &keys)
{
    QStringList states;
    for (const QString &key : keys)
        states << key + u'=' + describe(control(window, key));
    return states;
}

// Every control of the page as "key=state".
QStringList snapshot(PageWindow *window)
{
    QStringList states;
    for (const ControlRef &ref : window->controls())
        states << ref.key() + u'=' + describe(ref.widget);
    return states;
}

QStringList keysOf(const QStringList &expected)
{
    QStringList keys;
    for (const QString &entry : expected)
        keys << entry.section(u'=', 0, 0);
    return keys;
}

// A click where the box or option button takes it: on its indicator.
void click(QWidget *widget)
{
    QVERIFY2(widget, "no such control");
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
}

void clickTab(PageWindow *window, int tab)
{
    QTest::mouseClick(window->tab(tab), Qt::LeftButton);
}

// The "Belegt" box of a tab.
QCheckBox *inUseBox(PageWindow *window, int tab)
{
    if (window->formName() == u"frm5")
        return window->controlAs<QCheckBox>(QStringLiteral("chk5"));
    return window->controlAs<QCheckBox>(
        window->formName() == u"frm2" ? QStringLiteral("chk2") : QStringLiteral("chk3"), tab);
}

// Shows the tab that holds the control and puts that tab's input in use, so its controls can be reached.
void reveal(PageWindow *window, QWidget *widget)
{
    for (int tab = 1; tab <= window->tabCount(); ++tab) {
        if (!window->tabPicture(tab)->isAncestorOf(widget))
            continue;
        clickTab(window, tab);
        if (!inUseBox(window, tab)->isChecked())
            click(inUseBox(window, tab));
    }
    QVERIFY(widget->isVisible());
}

} // namespace

class TestInputPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void limitChecks_data();
    void limitChecks();
    void recipientsFollowTheBoxOfTheTabInView_data();
    void recipientsFollowTheBoxOfTheTabInView();
    void loadRules_data();
    void loadRules();
    void fieldsTakeOnlyTheirCharacters_data();
    void fieldsTakeOnlyTheirCharacters();
    void everyValueSurvivesSaveAndRestart_data();
    void everyValueSurvivesSaveAndRestart();
    void designTextsAreTheGermanCaptions();

private:
    void writeSettings(const QByteArray &text);
    PageWindow *openPage(const QString &name);
    void fillIn(PageWindow *window);
    QTemporaryDir m_dir;
};

void TestInputPages::initTestCase()
{
    QVERIFY(m_dir.isValid());
    AppSetup::setUpApplication({ m_dir.path() });
}

void TestInputPages::init()
{
    QFile::remove(IniFilePath());
    registerProgramWindows();
}

void TestInputPages::cleanup()
{
    WindowRegistry::instance().reset();
}

void TestInputPages::writeSettings(const QByteArray &text)
{
    QVERIFY(writeStartupSettings(text));
}

// Starts the program's windows and opens the page from its menu button, as the user does.
PageWindow *TestInputPages::openPage(const QString &name)
{
    start()->show();
    if (!QTest::qWaitForWindowExposed(start()))
        return nullptr;
    const int number = pageNumber(name);
    QTest::mouseClick(start()->check(number), Qt::LeftButton);
    PageWindow *window = page(name);
    if (!QTest::qWaitForWindowActive(window) || WindowRegistry::instance().currentPage() != number)
        return nullptr;
    return window;
}

void TestInputPages::limitChecks_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("key");
    // The field's text before the user enters it, put there by the program: some of these texts no file
    // can bring, since a file's value goes through the digit filter first.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed"); // "<BS>": the text is deleted
    QTest::addColumn<int>("finishKey"); // Enter, or Tab to leave the field
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("keepsFocus");

    const int enter = Qt::Key_Return;
    const int leave = Qt::Key_Tab;
    QTest::newRow("T1: 150, leaving") << "frm2"
                                      << "txtwert(1)"
                                      << "50"
                                      << "150" << leave << "100" << false;
    QTest::newRow("T1: 150, Enter") << "frm2"
                                    << "txtwert(1)"
                                    << "50"
                                    << "150" << enter << "50" << true;
    QTest::newRow("T2: 100, leaving") << "frm2"
                                      << "txtwert(2)"
                                      << "50"
                                      << "100" << leave << "100" << false;
    QTest::newRow("T2: 0, Enter") << "frm2"
                                  << "txtwert(2)"
                                  << "50"
                                  << "0" << enter << "0" << true;
    QTest::newRow("T1: deleted, leaving") << "frm2"
                                          << "txtwert(1)"
                                          << "50"
                                          << "<BS>" << leave << "50" << false;
    QTest::newRow("T1: deleted, Enter") << "frm2"
                                        << "txtwert(1)"
                                        << "50"
                                        << "<BS>" << enter << "0" << true;
    QTest::newRow("T1: stored below 0, leaving") << "frm2"
                                                 << "txtwert(1)"
                                                 << "-5"
                                                 << "" << leave << "0" << false;
    QTest::newRow("T1: no number, leaving") << "frm2"
                                            << "txtwert(1)"
                                            << "7x"
                                            << "" << leave << "50" << false;
    QTest::newRow("T1: no number, Enter") << "frm2"
                                          << "txtwert(1)"
                                          << "7x"
                                          << "" << enter << "7x" << true;

    QTest::newRow("ADC: 101, Enter") << "frm5"
                                     << "txtwert"
                                     << "50"
                                     << "101" << enter << "50" << true;
    QTest::newRow("ADC: 101, leaving") << "frm5"
                                       << "txtwert"
                                       << "50"
                                       << "101" << leave << "50" << true;
    QTest::newRow("ADC: 100, leaving") << "frm5"
                                       << "txtwert"
                                       << "50"
                                       << "100" << leave << "100" << false;
    QTest::newRow("ADC: 0, Enter") << "frm5"
                                   << "txtwert"
                                   << "50"
                                   << "0" << enter << "0" << true;
    QTest::newRow("ADC: deleted, leaving") << "frm5"
                                           << "txtwert"
                                           << "50"
                                           << "<BS>" << leave << "50" << false;
    QTest::newRow("ADC: deleted, Enter") << "frm5"
                                         << "txtwert"
                                         << "50"
                                         << "<BS>" << enter << "0" << true;
    QTest::newRow("ADC: stored below 0, leaving") << "frm5"
                                                  << "txtwert"
                                                  << "-5"
                                                  << "" << leave << "50" << true;
    QTest::newRow("ADC: no number, leaving") << "frm5"
                                             << "txtwert"
                                             << "abc"
                                             << "" << leave << "50" << false;
    QTest::newRow("ADC: no number, Enter") << "frm5"
                                           << "txtwert"
                                           << "abc"
                                           << "" << enter << "abc" << true;
}

void TestInputPages::limitChecks()
{
    QFETCH(QString, form);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(int, finishKey);
    QFETCH(QString, after);
    QFETCH(bool, keepsFocus);

    PageWindow *window = openPage(form);
    QVERIFY(window);
    auto *field = qobject_cast<QLineEdit *>(control(window, key));
    reveal(window, field);
    field->setText(stored);

    QVERIFY(typing::enter(field));
    if (typed == u"<BS>")
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        typing::typeText(field, typed);
    QTest::keyClick(field, Qt::Key(finishKey));

    QCOMPARE(field->text(), after);
    if (keepsFocus) {
        QTRY_VERIFY(field->hasFocus());
    } else {
        // Time for a focus that would come back.
        QTest::qWait(20);
        QVERIFY(!field->hasFocus());
    }
}

void TestInputPages::recipientsFollowTheBoxOfTheTabInView_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("recipients");
    QTest::addColumn<QString>("line"); // shown and hidden with the recipients; empty: the page has none

    QTest::newRow("inputs T1/T2") << "frm2"
                                  << "chk2"
                                  << "fra2"
                                  << "fraWer"
                                  << "";
    QTest::newRow("optocoupler inputs") << "frm3"
                                        << "chk3"
                                        << "fra3"
                                        << "frawer"
                                        << "Line1(4)";
}

void TestInputPages::recipientsFollowTheBoxOfTheTabInView()
{
    QFETCH(QString, form);
    QFETCH(QString, box);
    QFETCH(QString, frame);
    QFETCH(QString, recipients);
    QFETCH(QString, line);

    PageWindow *window = openPage(form);
    QVERIFY(window);
    const auto boxOf = [&](int k) { return control(window, QStringLiteral("%1(%2)").arg(box).arg(k)); };
    // "frame 1, frame 2, recipients" as shown or hidden, "+" or "-".
    const auto states = [&] {
        QWidget *shared = control(window, recipients);
        if (!line.isEmpty() && control(window, line)->isHidden() != shared->isHidden())
            return QStringLiteral("line differs");
        QString s;
        for (QWidget *w : { control(window, frame + QStringLiteral("(1)")),
                 control(window, frame + QStringLiteral("(2)")), shared })
            s += w->isHidden() ? u'-' : u'+';
        return s;
    };
    QCOMPARE(states(), QStringLiteral("---"));

    click(boxOf(1));
    QCOMPARE(states(), QStringLiteral("+-+"));
    // Input 2 is not in use: the recipients go, input 1 keeps its frame on its hidden tab.
    clickTab(window, 2);
    QCOMPARE(states(), QStringLiteral("+--"));
    click(boxOf(2));
    QCOMPARE(states(), QStringLiteral("+++"));
    clickTab(window, 1);
    QCOMPARE(states(), QStringLiteral("+++"));
    click(boxOf(1));
    QCOMPARE(states(), QStringLiteral("-+-"));
    clickTab(window, 2);
    QCOMPARE(states(), QStringLiteral("-++"));
    click(boxOf(2));
    QCOMPARE(states(), QStringLiteral("---"));
    // Clicking the tab in view again changes nothing.
    clickTab(window, 2);
    QCOMPARE(states(), QStringLiteral("---"));
}

void TestInputPages::loadRules_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("then"); // then the user clicks this tab number or control (empty: nothing)
    QTest::addColumn<QStringList>("expectedThen");

    QTest::newRow("T1/T2 without settings file")
        << "frm2" << QByteArray()
        << QStringList { "chk2(1)=unticked", "chk2(2)=unticked", "fra2(1)=hidden", "fra2(2)=hidden",
               "fraWer=hidden", "txtwert(1)=50", "txtwert(2)=50", "OptO(1)=chosen", "OptU(2)=not chosen" }
        << "" << QStringList();
    QTest::newRow("T1/T2: input 1 in use")
        << "frm2" << QByteArray("[frm2]\r\nchk2(1)=1\r\ntxtwert(1)=75\r\nOptO(1)=0\r\nOptU(1)=-1\r\n")
        << QStringList { "chk2(1)=ticked", "fra2(1)=shown", "fraWer=shown", "txtwert(1)=75",
               "OptO(1)=not chosen", "OptU(1)=chosen", "fra2(2)=hidden" }
        << "2" << QStringList { "fraWer=hidden" };
    // The recipients follow input 1 after loading, whatever input 2 holds.
    QTest::newRow("T1/T2: only input 2 in use")
        << "frm2" << QByteArray("[frm2]\r\nchk2(2)=1\r\n")
        << QStringList { "chk2(2)=ticked", "fra2(2)=shown", "fraWer=hidden" } << "2"
        << QStringList { "fraWer=shown", "fra2(2)=shown" };
    QTest::newRow("optocoupler without settings file")
        << "frm3" << QByteArray()
        << QStringList { "txt3(1)=DIGITAL1", "txt3(2)=DIGITAL2", "OptL(1)=chosen", "OptH(2)=not chosen",
               "fra3(1)=hidden", "frawer=hidden", "Line1(4)=hidden" }
        << "" << QStringList();
    QTest::newRow("optocoupler: only input 2 in use")
        << "frm3" << QByteArray("[frm3]\r\nchk3(2)=1\r\ntxt3(2)=Tor auf\r\nOptH(2)=-1\r\nOptL(2)=0\r\n")
        << QStringList { "fra3(2)=shown", "frawer=hidden", "Line1(4)=hidden", "txt3(2)=Tor auf",
               "OptH(2)=chosen", "OptL(2)=not chosen" }
        << "2" << QStringList { "frawer=shown", "Line1(4)=shown" };
    QTest::newRow("ADC without settings file") << "frm5" << QByteArray()
                                               << QStringList { "chk5=unticked", "fra5=hidden", "txt5=ADC IN",
                                                      "txtwert=50", "OptO=chosen", "OptU=not chosen" }
                                               << "" << QStringList();
    // A stored tick counts only where the target exists.
    QTest::newRow("members without target")
        << "frm5"
        << QByteArray(
               "[frm1]\r\ntxtFon1(1)=0170\r\ntxtFax1(4)=089\r\n"
               "[frm5]\r\nchksms1(1)=1\r\nchksms1(3)=1\r\nchkfax1(2)=1\r\nchkfax1(4)=1\r\nchkmail1(1)=1\r\n")
        << QStringList { "chksms1(1)=ticked", "chksms1(3)=disabled unticked", "chkfax1(2)=disabled unticked",
               "chkfax1(4)=ticked", "chkmail1(1)=disabled unticked" }
        << "" << QStringList();
    // An edited file: values that are no numbers are ignored, a greyed box is not in use.
    QTest::newRow("no numbers for boxes and options")
        << "frm2" << QByteArray("[frm2]\r\nchk2(1)=ja\r\nOptO(1)=x\r\nOptU(1)=y\r\n")
        << QStringList { "chk2(1)=unticked", "fra2(1)=hidden", "OptO(1)=chosen", "OptU(1)=not chosen" } << ""
        << QStringList();
    QTest::newRow("greyed in-use box")
        << "frm5" << QByteArray("[frm5]\r\nchk5=2\r\n") << QStringList { "chk5=unticked", "fra5=hidden" }
        << "chk5" << QStringList { "chk5=ticked", "fra5=shown" };
    QTest::newRow("greyed in-use box, optocoupler")
        << "frm3" << QByteArray("[frm3]\r\nchk3(1)=2\r\n")
        << QStringList { "chk3(1)=unticked", "fra3(1)=hidden", "frawer=hidden" } << "chk3(1)"
        << QStringList { "chk3(1)=ticked", "fra3(1)=shown", "frawer=shown" };
}

void TestInputPages::loadRules()
{
    QFETCH(QString, form);
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, expected);
    QFETCH(QString, then);
    QFETCH(QStringList, expectedThen);

    if (!settings.isEmpty())
        writeSettings(settings);
    PageWindow *window = page(form);
    QCOMPARE(describe(window, keysOf(expected)), expected);
    // Input 2 of the T1/T2 page can be put in use once the page has loaded.
    if (form == u"frm2")
        QVERIFY(window->control(QStringLiteral("chk2"), 2)->isEnabled());
    if (then.isEmpty())
        return;
    window = openPage(form);
    QVERIFY(window);
    bool isTab = false;
    const int tab = then.toInt(&isTab);
    if (isTab)
        clickTab(window, tab);
    else
        click(control(window, then));
    QCOMPARE(describe(window, keysOf(expectedThen)), expectedThen);
}

void TestInputPages::fieldsTakeOnlyTheirCharacters_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");

    QTest::newRow("limit T2: digits, three at most") << "frm2"
                                                     << "txtwert(2)"
                                                     << "1a2-3 4"
                                                     << "123";
    QTest::newRow("optocoupler text, 16 at most")
        << "frm3"
        << "txt3(2)" << QStringLiteral("Tür 1=!ABCDEFGHIJKLMN") << "Tr 1=ABCDEFGHIJK";
    QTest::newRow("ADC text") << "frm5"
                              << "txt5" << QStringLiteral("a-b ä=") << "ab =";
    QTest::newRow("ADC limit") << "frm5"
                               << "txtwert"
                               << "x9."
                               << "9";
}

void TestInputPages::fieldsTakeOnlyTheirCharacters()
{
    QFETCH(QString, form);
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(QString, after);

    PageWindow *window = openPage(form);
    QVERIFY(window);
    auto *field = qobject_cast<QLineEdit *>(control(window, key));
    reveal(window, field);
    QVERIFY(typing::enter(field));
    typing::typeText(field, typed);
    QCOMPARE(field->text(), after);
}

void TestInputPages::everyValueSurvivesSaveAndRestart_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("expected"); // besides every control being as it was

    QTest::newRow("inputs T1/T2") << "frm2"
                                  << QStringList { "chk2(1)=ticked", "txtwert(1)=75", "OptU(1)=chosen",
                                         "chk2(2)=ticked", "txtwert(2)=5", "chksms1(2)=ticked",
                                         "chkfax1(1)=ticked", "fraWer=shown" };
    QTest::newRow("optocoupler inputs")
        << "frm3"
        << QStringList { "chk3(1)=ticked", "txt3(1)=Tor offen", "OptH(1)=chosen", "chk3(2)=ticked",
               "txt3(2)=Fenster", "chkmail1(1)=ticked", "frawer=shown" };
    QTest::newRow("ADC input") << "frm5"
                               << QStringList { "chk5=ticked", "txt5=Pegel", "txtwert=80", "OptU=chosen",
                                      "chksms1(0)=ticked", "chksms1(1)=ticked", "chksms1(2)=ticked",
                                      "chksms1(3)=disabled unticked" };
}

// What the user enters on each page for the round trip.
void TestInputPages::fillIn(PageWindow *window)
{
    const auto field
        = [window](const QString &key) { return qobject_cast<QLineEdit *>(control(window, key)); };
    const auto type = [&](const QString &key, const QString &text) {
        reveal(window, field(key));
        QVERIFY(typing::enter(field(key)));
        typing::typeText(field(key), text);
        QTest::keyClick(field(key), Qt::Key_Return);
    };
    if (window->formName() == u"frm2") {
        type(QStringLiteral("txtwert(1)"), QStringLiteral("75"));
        click(control(window, QStringLiteral("OptU(1)")));
        type(QStringLiteral("txtwert(2)"), QStringLiteral("5"));
        click(control(window, QStringLiteral("chksms1(2)")));
        click(control(window, QStringLiteral("chkfax1(1)")));
    } else if (window->formName() == u"frm3") {
        type(QStringLiteral("txt3(1)"), QStringLiteral("Tor offen"));
        click(control(window, QStringLiteral("OptH(1)")));
        type(QStringLiteral("txt3(2)"), QStringLiteral("Fenster"));
        click(control(window, QStringLiteral("chkmail1(1)")));
    } else {
        type(QStringLiteral("txt5"), QStringLiteral("Pegel"));
        click(control(window, QStringLiteral("OptU")));
        type(QStringLiteral("txtwert"), QStringLiteral("80"));
        click(control(window, QStringLiteral("chksms1(0)")));
    }
    clickTab(window, 1);
}

void TestInputPages::everyValueSurvivesSaveAndRestart()
{
    QFETCH(QString, form);
    QFETCH(QStringList, expected);

    writeSettings(
        "[frm1]\r\ntxtFon1(1)=0170111\r\ntxtFon1(2)=0170222\r\ntxtFax1(1)=089\r\ntxtMail1(1)=a@b.de\r\n");
    PageWindow *window = openPage(form);
    QVERIFY(window);
    fillIn(window);
    QCOMPARE(describe(window, keysOf(expected)), expected);
    const QStringList before = snapshot(window);

    QTest::mouseClick(start()->check(14), Qt::LeftButton); // "Speichern"
    WindowRegistry::instance().reset();
    registerProgramWindows();

    window = openPage(form);
    QVERIFY(window);
    QCOMPARE(snapshot(window), before);
}

// Without the caption table the pages show their German design texts, and every control the table names
// is there to take the other languages.
void TestInputPages::designTextsAreTheGermanCaptions()
{
    int entries = 0;
    for (const CaptionEntry &entry : captionTable()) {
        if (entry.window != u"frm2" && entry.window != u"frm3" && entry.window != u"frm5")
            continue;
        ++entries;
        const QString where = entry.window.toString() + u' ' + entry.controlKey();
        QWidget *widget = page(entry.window.toString())->control(entry.control.toString(), entry.index);
        QVERIFY2(widget, qPrintable(where));
        QString shown;
        if (entry.property == CaptionProperty::ToolTipText) {
            shown = widget->toolTip();
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            shown = button->text();
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            shown = label->text();
        } else {
            QFAIL(qPrintable(where + QStringLiteral(" takes no caption")));
        }
        QVERIFY2(shown == entry.text(kGerman), qPrintable(where + QStringLiteral(": ") + shown));
    }
    QCOMPARE(entries, 16 + 14 + 14);
}

QTEST_MAIN(TestInputPages)
#include "tst_inputpages.moc"
