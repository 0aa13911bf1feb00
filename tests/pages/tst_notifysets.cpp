#include "core/appsetup.h"
#include "core/configurationmodel.h"
#include "pages/frm1.h"
#include "pages/notifysets.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"
#include "typing.h"

#include "support/startupsettings.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// An event page that has nothing but its notification sets.
class SetPage : public PageWindow
{
public:
    SetPage(const QString &name, int number, QList<NotifyKind> kinds)
        : PageWindow(name, number)
    {
        resize(400, 300);
        int top = 20;
        for (const NotifyKind kind : kinds) {
            NotifySet *set = addNotifySet(kind, this);
            set->allBox()->setGeometry(10, top, 20, 20);
            set->placeMembers(QPoint(600, top * 15), 330);
            top += 40;
        }
    }
};

struct PageSets
{
    const char *name;
    int number;
    QList<NotifyKind> kinds;
};

const QList<PageSets> kEventPages = {
    { "frm2", 2, { NotifyKind::Sms, NotifyKind::Mail, NotifyKind::Fax } },
    { "frm3", 3, { NotifyKind::Sms, NotifyKind::Mail, NotifyKind::Fax } },
    { "frm4", 4, { NotifyKind::Sms, NotifyKind::Mail } },
    { "frm5", 5, { NotifyKind::Sms, NotifyKind::Mail, NotifyKind::Fax } },
    { "frm6", 6, { NotifyKind::Sms, NotifyKind::Mail } },
    { "frm7", 7, { NotifyKind::Sms } },
    { "frm9", 9, { NotifyKind::Sms, NotifyKind::Mail } },
};

PageWindow *page(const char *name)
{
    return WindowRegistry::instance().get<PageWindow>(QString::fromLatin1(name));
}

Frm1 *frm1()
{
    return WindowRegistry::instance().get<Frm1>(QStringLiteral("frm1"));
}

NotifySet *setOf(const char *name, NotifyKind kind)
{
    return page(name)->notifySet(kind);
}

QLineEdit *target(const char *field, int index)
{
    return frm1()->controlAs<QLineEdit>(QString::fromLatin1(field), index);
}

void click(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton);
}

void showPage(QWidget *page)
{
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
}

QString states(NotifySet *set)
{
    QString s;
    for (int i = 0; i <= set->memberCount(); ++i)
        s += set->box(i)->isChecked() ? u'x' : (set->box(i)->isEnabled() ? u'.' : u'-');
    return s;
}

} // namespace

// States are written one character a member, the all box first: "x" ticked, "." unticked, "-" disabled and
// unticked.
class TestNotifySets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageLoadFollowsTargets();
    void leavingTargetFieldCarriesItToEveryPage();
    void pagesNotBuiltFollowInTheConfiguration();
    void allBoxSkipsMembersWithoutTarget();
    void unTickingOneMemberClearsOnlyTheAllBox();
    void spaceOnAMemberCountsAsAPress();
    void activationRefreshesAllBoxes();
    void activationAfterAllBoxPressClearsSmsMembers();
    void memberTooltipShowsTargetName_data();
    void memberTooltipShowsTargetName();

private:
    void writeSettings(const QByteArray &text);
    QTemporaryDir m_dir;
};

void TestNotifySets::initTestCase()
{
    QVERIFY(m_dir.isValid());
    AppSetup::setUpApplication({ m_dir.path() });
}

void TestNotifySets::init()
{
    QFile::remove(IniFilePath());
    registerProgramWindows();
    for (const PageSets &sets : kEventPages) {
        WindowRegistry::instance().registerFactory(QString::fromLatin1(sets.name),
            [sets] { return new SetPage(QString::fromLatin1(sets.name), sets.number, sets.kinds); });
    }
}

void TestNotifySets::cleanup()
{
    WindowRegistry::instance().reset();
}

void TestNotifySets::writeSettings(const QByteArray &text)
{
    QVERIFY(writeStartupSettings(text));
}

void TestNotifySets::pageLoadFollowsTargets()
{
    writeSettings(
        "[frm1]\r\ntxtFon1(1)=0170111\r\ntxtFon1(2)=0170222\r\ntxtMail1(4)=a@b.de\r\n"
        "[frm2]\r\nchksms1(0)=1\r\nchksms1(1)=1\r\nchksms1(3)=1\r\nchkmail1(4)=1\r\nchkfax1(1)=1\r\n");
    // Creating the event page reads the targets, which creates frm1 first.
    QCOMPARE(states(setOf("frm2", NotifyKind::Sms)), QStringLiteral("xx.----------"));
    QCOMPARE(states(setOf("frm2", NotifyKind::Mail)), QStringLiteral(".---x"));
    QCOMPARE(states(setOf("frm2", NotifyKind::Fax)), QStringLiteral(".----"));
}

void TestNotifySets::leavingTargetFieldCarriesItToEveryPage()
{
    writeSettings("[frm1]\r\ntxtFon1(5)=0170555\r\n"
                  "[frm3]\r\nchksms1(0)=1\r\nchksms1(5)=1\r\n[frm7]\r\nchksms1(0)=1\r\nchksms1(5)=1\r\n");
    for (const PageSets &sets : kEventPages)
        QCOMPARE(setOf(sets.name, NotifyKind::Sms)->box(3)->isEnabled(), false);

    Frm1 *page1 = frm1();
    showPage(page1);
    page1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page1));
    QTest::mouseClick(page1->tab(2), Qt::LeftButton);
    QVERIFY(typing::enter(target("txtFon1", 3)));
    QTest::keyClicks(target("txtFon1", 3), "+49170333");
    QTest::mouseClick(target("txtFon1", 4), Qt::LeftButton);

    for (const PageSets &sets : kEventPages) {
        NotifySet *sms = setOf(sets.name, NotifyKind::Sms);
        QVERIFY2(sms->box(3)->isEnabled(), sets.name);
        // Ticked where the all box is ticked.
        QCOMPARE(sms->box(3)->isChecked(), sms->allBox()->isChecked());
    }
    QVERIFY(setOf("frm3", NotifyKind::Sms)->box(3)->isChecked());

    // Emptying a number unticks and disables its member everywhere.
    QVERIFY(typing::enter(target("txtFon1", 5)));
    QTest::keyClick(target("txtFon1", 5), Qt::Key_Backspace);
    QTest::mouseClick(target("txtFon1", 6), Qt::LeftButton);
    for (const PageSets &sets : kEventPages) {
        QCheckBox *member = setOf(sets.name, NotifyKind::Sms)->box(5);
        QVERIFY2(!member->isEnabled() && !member->isChecked(), sets.name);
    }
}

void TestNotifySets::pagesNotBuiltFollowInTheConfiguration()
{
    // A page that is not built follows the target in the configuration: ticked where its all box is.
    writeSettings("[frm3]\r\nchkfax1(0)=1\r\n");
    frm1();
    PropagateTarget(NotifyKind::Fax, 2, QStringLiteral("0891234"));
    for (const char *name : { "frm2", "frm3", "frm4", "frm5", "frm6", "frm7", "frm9" })
        QVERIFY2(!WindowRegistry::instance().exists(QString::fromLatin1(name)), name);
    const Configuration &configuration = ConfigurationModel::program().configuration();
    QCOMPARE(configuration.state(u"frm2"_s, u"chkfax1"_s, 2), 0);
    QCOMPARE(configuration.state(u"frm3"_s, u"chkfax1"_s, 2), 1);
    QVERIFY(configuration.isEnabled(configurationFieldIndex(u"frm5", u"chkfax1(2)")));
    PropagateTarget(NotifyKind::Fax, 2, QString());
    QCOMPARE(configuration.state(u"frm3"_s, u"chkfax1"_s, 2), 0);
    QVERIFY(!configuration.isEnabled(configurationFieldIndex(u"frm5", u"chkfax1(2)")));

    PropagateTarget(NotifyKind::Mail, 1, QStringLiteral("x@y.de"));
    QVERIFY(configuration.isEnabled(configurationFieldIndex(u"frm9", u"chkmail1(1)")));
    QVERIFY(!WindowRegistry::instance().exists("frm9"));
}

void TestNotifySets::allBoxSkipsMembersWithoutTarget()
{
    writeSettings("[frm1]\r\ntxtFax1(1)=1\r\ntxtFax1(3)=3\r\ntxtFax1(4)=4\r\n");
    PageWindow *frm5 = page("frm5");
    showPage(frm5);
    NotifySet *fax = frm5->notifySet(NotifyKind::Fax);

    click(fax->allBox());
    QCOMPARE(states(fax), QStringLiteral("xx-xx"));
    click(fax->allBox());
    QCOMPARE(states(fax), QStringLiteral("..-.."));

    // Ticking every member one by one never ticks the all box.
    for (int i : { 1, 3, 4 })
        click(fax->box(i));
    QCOMPARE(states(fax), QStringLiteral(".x-xx"));
}

void TestNotifySets::unTickingOneMemberClearsOnlyTheAllBox()
{
    writeSettings("[frm1]\r\ntxtFon1(1)=1\r\ntxtFon1(2)=2\r\ntxtFon1(3)=3\r\n");
    PageWindow *frm4 = page("frm4");
    showPage(frm4);
    NotifySet *sms = frm4->notifySet(NotifyKind::Sms);

    click(sms->allBox());
    QCOMPARE(states(sms), QStringLiteral("xxxx---------"));
    click(sms->box(2));
    QCOMPARE(states(sms), QStringLiteral(".x.x---------"));
    // Only a press on the all box copies it: ticking it by program now leaves the members alone.
    sms->allBox()->setChecked(true);
    QCOMPARE(states(sms), QStringLiteral("xx.x---------"));
}

void TestNotifySets::spaceOnAMemberCountsAsAPress()
{
    writeSettings("[frm1]\r\ntxtFon1(1)=1\r\ntxtFon1(2)=2\r\ntxtFon1(3)=3\r\n");
    PageWindow *frm6 = page("frm6");
    showPage(frm6);
    frm6->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frm6));
    NotifySet *sms = frm6->notifySet(NotifyKind::Sms);

    click(sms->allBox());
    sms->box(2)->setFocus();
    QTest::keyClick(sms->box(2), Qt::Key_Space);
    QCOMPARE(states(sms), QStringLiteral(".x.x---------"));

    // Space on the all box copies it to the members, as a click does.
    sms->allBox()->setFocus();
    QTest::keyClick(sms->allBox(), Qt::Key_Space);
    QCOMPARE(states(sms), QStringLiteral("xxxx---------"));
}

void TestNotifySets::activationRefreshesAllBoxes()
{
    // SMS target 1 is empty, target 2 is not; no fax target at all; the all boxes were saved ticked.
    writeSettings("[frm1]\r\ntxtFon1(2)=2\r\ntxtMail1(3)=m@x.de\r\n"
                  "[frm2]\r\nchksms1(0)=1\r\nchksms1(2)=1\r\nchkfax1(0)=1\r\nchkmail1(0)=1\r\n");
    PageWindow *frm2 = page("frm2");
    frm2->formActivate();

    QCOMPARE(WindowRegistry::instance().currentPage(), 2);
    // The SMS all box loses its tick because member 1 is disabled, though member 2 is enabled; its members
    // keep theirs, since no press on the all box preceded.
    QCOMPARE(states(setOf("frm2", NotifyKind::Sms)), QStringLiteral(".-x----------"));
    QVERIFY(setOf("frm2", NotifyKind::Sms)->allBox()->isEnabled());
    // The fax all box ends disabled and still ticked; the e-mail one enabled and ticked.
    NotifySet *fax = setOf("frm2", NotifyKind::Fax);
    QVERIFY(!fax->allBox()->isEnabled());
    QVERIFY(fax->allBox()->isChecked());
    NotifySet *mail = setOf("frm2", NotifyKind::Mail);
    QVERIFY(mail->allBox()->isEnabled());
    QVERIFY(mail->allBox()->isChecked());
}

void TestNotifySets::activationAfterAllBoxPressClearsSmsMembers()
{
    writeSettings("[frm1]\r\ntxtFon1(1)=1\r\ntxtFon1(2)=2\r\n");
    PageWindow *frm9 = page("frm9");
    showPage(frm9);
    NotifySet *sms = frm9->notifySet(NotifyKind::Sms);
    click(sms->allBox());
    QCOMPARE(states(sms), QStringLiteral("xxx----------"));

    target("txtFon1", 1)->clear();
    PropagateTarget(NotifyKind::Sms, 1, QString());
    QCOMPARE(states(sms), QStringLiteral("x-x----------"));
    frm9->formActivate();
    QCOMPARE(states(sms), QStringLiteral(".-.----------"));
}

void TestNotifySets::memberTooltipShowsTargetName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("name") << QStringLiteral("Hausmeister") << QStringLiteral("0170")
                          << QStringLiteral(" Hausmeister ");
    QTest::newRow("number when no name") << QString() << QStringLiteral("0170") << QStringLiteral(" 0170 ");
    QTest::newRow("neither") << QString() << QString() << QStringLiteral("  ");
}

void TestNotifySets::memberTooltipShowsTargetName()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, tooltip);

    target("txtNamef1", 2)->setText(name);
    target("txtFax1", 2)->setText(number);
    PageWindow *frm3 = page("frm3");
    showPage(frm3);
    QCheckBox *member = frm3->notifySet(NotifyKind::Fax)->box(2);
    typing::hover(member);
    QCOMPARE(member->toolTip(), tooltip);
    QCOMPARE(frm3->notifySet(NotifyKind::Fax)->allBox()->toolTip(), QStringLiteral("  alle auswählen  "));
}

QTEST_MAIN(TestNotifySets)
#include "tst_notifysets.moc"
