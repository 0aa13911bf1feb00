#include "core/appsetup.h"
#include "shell/frmstart.h"
#include "window/help.h"
#include "window/helpwindow.h"
#include "window/settingsfile.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

// The windows the start window shows belong to it, as the window manager must know to keep them above it
// and off the taskbar, and they move with it; the help window stays where the user put it.
class tst_OwnedWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pagesBelongToTheStartWindowAndMoveWithIt();
    void helpWindowComesBackWhereTheUserLeftIt();

private:
    QTemporaryDir m_dir;
    FrmStart *m_start = nullptr;
};

void tst_OwnedWindows::initTestCase()
{
    QVERIFY(m_dir.isValid());
    AppSetup::setUpApplication({ m_dir.path() });
    registerProgramWindows();
    m_start = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    m_start->move(20, 20);
    m_start->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_start));
}

void tst_OwnedWindows::cleanupTestCase()
{
    closeAllHelp();
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

void tst_OwnedWindows::pagesBelongToTheStartWindowAndMoveWithIt()
{
    for (const int index : { 1, 8, 12 }) {
        m_start->Check_Click(index);
        FormWindow *shown
            = WindowRegistry::instance().existing(index == 12 ? u"frmAbout"_s : u"frm%1"_s.arg(index));
        QVERIFY(shown);
        QTRY_VERIFY(shown->isVisible());
        QCOMPARE(shown->windowType(), Qt::Dialog);
        QVERIFY(shown->windowHandle());
        QCOMPARE(shown->windowHandle()->transientParent(), m_start->windowHandle());

        const QPoint offset = shown->pos() - m_start->pos();
        m_start->move(m_start->pos() + QPoint(37, 23));
        QTRY_COMPARE(shown->pos() - m_start->pos(), offset);
    }
}

void tst_OwnedWindows::helpWindowComesBackWhereTheUserLeftIt()
{
    showHelpTopic(555);
    HelpWindow *help = currentHelpWindow();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(!help->frameGeometry().contains(m_start->frameGeometry().topLeft()));

    help->move(123, 77); // the user moves it and makes it smaller
    help->resize(help->size() - QSize(40, 30));
    QTRY_COMPARE(help->pos(), QPoint(123, 77));
    const QSize size = help->size();
    closeAllHelp();
    QTRY_VERIFY(!currentHelpWindow());
    showHelpTopic(1040);
    QVERIFY(QTest::qWaitForWindowExposed(currentHelpWindow()));
    QCOMPARE(currentHelpWindow()->pos(), QPoint(123, 77));
    QCOMPARE(currentHelpWindow()->size(), size);
}

QTEST_MAIN(tst_OwnedWindows)
#include "tst_ownedwindows.moc"
