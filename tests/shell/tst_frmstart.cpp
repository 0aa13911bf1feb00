#include "core/appsetup.h"
#include "pages/pagerules.h"
#include "window/formwindow.h"
#include "shell/frmstart.h"
#include "window/help.h"
#include "window/helpwindow.h"
#include "core/inifile.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A mouse move with no button held, as the window system delivers it to a widget with mouse tracking.
void hover(QWidget *widget, QPoint pos = QPoint(2, 2))
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// Counts how often a widget is restyled.
class StyleChangeCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::StyleChange)
            ++count;
        return false;
    }
};

QRgb bgr(unsigned value)
{
    return qRgb(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
} // namespace

// Receives the logo button's web address instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestFrmStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("https"); }
    void init();
    void cleanup();

    void startupSetsStatusLogAsideAndDressesLogo();
    void pageButtonActsOnceAndShowsSelectedLook();
    void reopeningCurrentPageKeepsButtonLooks();
    void pageButtonsKeepDesignTextUntilFirstReset();
    void hoverMarksAndTheirRemoval();
    void enterOnFocusedButtonRunsItsAction();
    void backgroundClickReopensCurrentWindowOrShowsPhoto();
    void saveWritesPagesInOrderAndCancelLeavesFile();
    void failedSaveIsShownAndKeepsProgramOpen();
    void saveKeepsFocusAndDrawsFailureOnCleanBackground();
    void okEndsOverlayWhicheverPageWasOpened_data();
    void okEndsOverlayWhicheverPageWasOpened();
    void quitSavesFirst();
    void helpButtonAndF1ShowStartTopic();
    void logoOpensMakerAddress();

private:
    FrmStart *start() { return static_cast<FrmStart *>(WindowRegistry::instance().window("frmStart")); }
    void click(int index) { QTest::mouseClick(start()->check(index), Qt::LeftButton); }

    QTemporaryDir m_dir;
    QString m_oldCwd;
    int m_quits = 0;
    UrlCatcher m_urls;
};

void TestFrmStart::initTestCase()
{
    QVERIFY(m_dir.isValid());
    registerProgramWindows();
    QDesktopServices::setUrlHandler("https", &m_urls, "open");
    m_oldCwd = QDir::currentPath();
}

void TestFrmStart::init()
{
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
    QDir::setCurrent(m_dir.path());
    AppSetup::setUpApplication({ m_dir.path() });
    m_quits = 0;
}

void TestFrmStart::cleanup()
{
    WindowRegistry::instance().reset();
    QDir::setCurrent(m_oldCwd);
}

void TestFrmStart::startupSetsStatusLogAsideAndDressesLogo()
{
    QFile log(m_dir.filePath("GSM.DAT"));
    QVERIFY(log.open(QIODevice::WriteOnly));
    log.write("old status\r\n");
    log.close();

    FrmStart *w = start();
    // The log of the earlier run is gone from GSM.DAT, and kept as GSM.DAT.old.
    QVERIFY(!QFile::exists(m_dir.filePath("GSM.DAT")));
    QFile previous(m_dir.filePath("GSM.DAT.old"));
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("old status\r\n"));
    QCOMPARE(WindowRegistry::instance().currentPage(), 0);
    // The logo button takes the logo picture's size, not its design size, and picSkin is never shown.
    QCOMPARE(w->check(0)->size(), QSize(175, 64));
    QVERIFY(!w->picSkin()->isVisible());
    // Start-up builds no page: each is built when it is first opened, from the configuration.
    for (const char *name : { "frm1", "frm2", "frm3", "frm4", "frm5", "frm6", "frm7", "frm8", "frm9" })
        QVERIFY2(!WindowRegistry::instance().exists(name), name);
    QVERIFY(!WindowRegistry::instance().exists("frmAbout"));
}

void TestFrmStart::pageButtonActsOnceAndShowsSelectedLook()
{
    FrmStart *w = start();
    w->show();
    click(2);
    FormWindow *frm2 = WindowRegistry::instance().existing("frm2");
    QVERIFY(frm2->isVisible());
    QCOMPARE(WindowRegistry::instance().currentPage(), 2);
    QVERIFY(!w->check(2)->isChecked());
    QCOMPARE(w->check(2)->background(), bgr(0xC0FFFF));
    QCOMPARE(w->check(2)->textColor(), bgr(0x800000));
    QCOMPARE(w->check(2)->geometry().left(), twips(260));
    QCOMPARE(w->check(2)->width(), twips(3800));
    QCOMPARE(w->check(1)->background(), bgr(0xFF8080));
    QCOMPARE(w->check(1)->geometry().left(), twips(360));

    click(4);
    QCOMPARE(WindowRegistry::instance().currentPage(), 4);
    QCOMPARE(w->check(2)->background(), bgr(0xFF8080));
    QCOMPARE(w->check(2)->textColor(), bgr(0xFFFFFF));
    QCOMPARE(w->check(4)->background(), bgr(0xC0FFFF));
}

void TestFrmStart::reopeningCurrentPageKeepsButtonLooks()
{
    FrmStart *w = start();
    w->show();
    click(3);
    // Something else changes a look; re-opening the current page must not reset it.
    w->check(5)->setBackground(qRgb(1, 2, 3));
    click(3);
    QCOMPARE(w->check(5)->background(), qRgb(1, 2, 3));
    QCOMPARE(w->check(3)->background(), bgr(0xC0FFFF));
    QVERIFY(WindowRegistry::instance().existing("frm3")->isVisible());
}

void TestFrmStart::pageButtonsKeepDesignTextUntilFirstReset()
{
    FrmStart *w = start();
    for (int i = 1; i <= 9; ++i)
        QCOMPARE(w->check(i)->textColor(), bgr(0xC0FFFF));
    w->Check_Click(0); // the logo resets the menu
    for (int i = 1; i <= 9; ++i)
        QCOMPARE(w->check(i)->textColor(), bgr(0xFFFFFF));
}

void TestFrmStart::hoverMarksAndTheirRemoval()
{
    FrmStart *w = start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    hover(w->check(11));
    QVERIFY(w->check(11)->isBold());
    QCOMPARE(w->check(11)->textColor(), bgr(0x0000FF));
    w->HighlightMenuButton(10);
    QVERIFY(!w->check(11)->isBold());
    QCOMPARE(w->check(10)->textColor(), bgr(0x004000));
    QCOMPARE(w->check(11)->textColor(), bgr(0xC0FFFF));

    // Moving over the background clears every mark, and the current page's tabs lose their bold mark.
    w->Check_Click(1);
    FormWindow *frm1 = WindowRegistry::instance().existing("frm1");
    auto *tab = frm1->controlAs<TwoStateButton>("opt", 1);
    QVERIFY(tab);
    HighlightTab(1, 4, frm1);
    QVERIFY(tab->isBold());
    hover(w, QPoint(w->width() - 5, w->height() - 5));
    QVERIFY(!w->check(10)->isBold());
    QCOMPARE(w->check(10)->textColor(), bgr(0xC0FFFF));
    QVERIFY(!tab->isBold());

    // Further moves change nothing, so nothing is restyled.
    StyleChangeCounter restyled;
    w->check(10)->installEventFilter(&restyled);
    w->check(11)->installEventFilter(&restyled);
    for (int i = 0; i < 3; ++i)
        hover(w, QPoint(w->width() - 5 - i, w->height() - 5));
    QCOMPARE(restyled.count, 0);
}

void TestFrmStart::enterOnFocusedButtonRunsItsAction()
{
    FrmStart *w = start();
    w->show();
    w->check(5)->setFocus();
    QTest::keyClick(w->check(5), Qt::Key_Return);
    QCOMPARE(WindowRegistry::instance().currentPage(), 5);
    QVERIFY(WindowRegistry::instance().existing("frm5")->isVisible());
}

void TestFrmStart::backgroundClickReopensCurrentWindowOrShowsPhoto()
{
    FrmStart *w = start();
    w->show();
    w->picMod()->hide();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() - 5, w->height() - 5));
    QVERIFY(w->picMod()->isVisible());
    // A click on the title does nothing while no window was opened.
    QTest::mouseClick(w->nPaneltit(), Qt::LeftButton);
    QVERIFY(w->picMod()->isVisible());

    click(12);
    FormWindow *about = WindowRegistry::instance().existing("frmAbout");
    QVERIFY(about);
    about->hide();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() - 5, w->height() - 5));
    QVERIFY(about->isVisible());
    QVERIFY(!w->picMod()->isVisible());
    QCOMPARE(WindowRegistry::instance().currentPage(), 12);

    // A click on the message, or a right click on the title, leaves a page behind its message.
    w->Check_Click(1);
    FormWindow *frm1 = WindowRegistry::instance().existing("frm1");
    QVERIFY(frm1);
    w->showPageMessage("check failed");
    w->showMessageOverlay(frm1, true);
    QTest::mouseClick(w->lblMeld(), Qt::LeftButton);
    QTest::mouseClick(w->nPaneltit(), Qt::RightButton);
    QVERIFY(!frm1->isVisible());
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() - 5, w->height() - 5));
    QVERIFY(frm1->isVisible());
}

void TestFrmStart::saveWritesPagesInOrderAndCancelLeavesFile()
{
    FrmStart *w = start();
    w->setQuitHandler([this] { ++m_quits; });
    w->show();
    auto *language = WindowRegistry::instance().window("frm1")->controlAs<QLineEdit>("language");
    language->setText("2");
    click(14);
    QVERIFY(!w->lblMeld()->isVisible());
    QVERIFY(!w->lblSp()->isVisible());
    QCOMPARE(w->lblSp()->geometry(), twipsRect(500, 1710, 3500, 135));
    for (int i = 1; i <= 14; ++i)
        QVERIFY(w->check(i)->isEnabled());

    const std::optional<IniDocument> saved = readIniFile(IniFilePath());
    QVERIFY(saved);
    QCOMPARE(saved->value("frm1", "language"), std::optional<QString>("2"));
    // Sections appear in save order, and the communication page is never written.
    QStringList sections = saved->sections();
    QVERIFY(!sections.contains("frm8"));
    QStringList expectedOrder { "frm1", "frm2", "frm3", "frm4", "frm5", "frm6", "frm7", "frm9" };
    QStringList present;
    for (const QString &name : expectedOrder) {
        if (sections.contains(name))
            present.append(name);
    }
    QCOMPARE(sections, present);

    QFile file(IniFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    language->setText("0");
    click(11); // "Abbrechen": ends without touching the file
    QCOMPARE(m_quits, 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestFrmStart::failedSaveIsShownAndKeepsProgramOpen()
{
    FrmStart *w = start();
    w->setQuitHandler([this] { ++m_quits; });
    w->show();
    FormWindow *frm1 = WindowRegistry::instance().window("frm1");
    w->Check_Click(1);
    SelectTab(2, 4, frm1);
    // A folder in place of the settings file: the save cannot replace it.
    QVERIFY(QDir().mkpath(IniFilePath()));
    click(10);
    QCOMPARE(m_quits, 0);
    QVERIFY(w->lblMeld()->isVisible());
    QCOMPARE(w->lblMeld()->text().count(QDir::toNativeSeparators(IniFilePath())), 1);
    QVERIFY(w->lblMeld()->text().startsWith("ERROR:")); // design language code 1 is English
    QVERIFY(w->check(15)->isVisible());
    // The open page would cover the message.
    QVERIFY(!frm1->isVisible());
    for (int i = 1; i <= 14; ++i)
        QVERIFY(w->check(i)->isEnabled());
    // OK answers the failure alone: the page comes back with its tab.
    click(15);
    QVERIFY(!w->lblMeld()->isVisible());
    QVERIFY(!w->check(15)->isVisible());
    QVERIFY(frm1->isVisible());
    QVERIFY(frm1->control("Pic", 2)->isVisible());

    // A page message that follows a failure is answered as a page message.
    click(14);
    QVERIFY(w->check(15)->isVisible());
    w->showPageMessage("check failed");
    w->showMessageOverlay(frm1, true);
    click(15);
    QVERIFY(frm1->isVisible());
    QVERIFY(!w->check(15)->isVisible());

    // A save that succeeds leaves no OK of an earlier failure behind.
    click(14);
    QVERIFY(w->check(15)->isVisible());
    QVERIFY(QDir().rmdir(IniFilePath()));
    click(14);
    QVERIFY(QFile::exists(IniFilePath()));
    QVERIFY(!w->lblMeld()->isVisible());
    QVERIFY(!w->check(15)->isVisible());
}

void TestFrmStart::saveKeepsFocusAndDrawsFailureOnCleanBackground()
{
    FrmStart *w = start();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->check(14)->setFocus();
    QTest::keyClick(w->check(14), Qt::Key_Return);
    QVERIFY(QFile::exists(IniFilePath()));
    // The focus stays on "Speichern", so Enter saves again rather than switching the language.
    QVERIFY(w->check(14)->hasFocus() && w->check(14)->isBold() && !w->check(16)->isBold());
    // With no page open, a failure is drawn without the module photo around it, which comes back on OK.
    QVERIFY(QFile::remove(IniFilePath()) && QDir().mkpath(IniFilePath()));
    QTest::keyClick(w->check(14), Qt::Key_Return);
    QVERIFY(w->lblMeld()->isVisible() && !w->picMod()->isVisible());
    click(15);
    QVERIFY(!w->lblMeld()->isVisible() && w->picMod()->isVisible());
}

void TestFrmStart::okEndsOverlayWhicheverPageWasOpened_data()
{
    QTest::addColumn<int>("opened");
    QTest::newRow("inputs page") << 2;
    QTest::newRow("optocoupler page") << 3;
}

void TestFrmStart::okEndsOverlayWhicheverPageWasOpened()
{
    QFETCH(int, opened);
    FrmStart *w = start();
    w->show();
    w->Check_Click(1);
    FormWindow *frm1 = WindowRegistry::instance().window("frm1");
    QVERIFY(frm1);
    w->showPageMessage("check failed");
    w->showMessageOverlay(frm1, true);
    // The user leaves the message for another page and acknowledges it there.
    click(opened);
    QCOMPARE(WindowRegistry::instance().currentPage(), opened);
    click(15);
    QVERIFY(!w->lblMeld()->isVisible());
    QVERIFY(!w->check(15)->isVisible());
    // The page that raised the message comes back, with the focus where its OK puts it.
    QVERIFY(frm1->isVisible());
    QCOMPARE(WindowRegistry::instance().currentPage(), 1);
    QCOMPARE(frm1->focusWidget(), frm1->control("txtPsw1"));
}

void TestFrmStart::quitSavesFirst()
{
    FrmStart *w = start();
    w->setQuitHandler([this] { ++m_quits; });
    click(10);
    QCOMPARE(m_quits, 1);
    QVERIFY(QFile::exists(IniFilePath()));
}

void TestFrmStart::helpButtonAndF1ShowStartTopic()
{
    FrmStart *w = start();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    click(13);
    QVERIFY(currentHelpWindow());
    QCOMPARE(currentHelpWindow()->shownTopic(), 555);
    closeAllHelp();
    QTRY_VERIFY(!currentHelpWindow());

    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_F1);
    QTRY_VERIFY(currentHelpWindow());
    QCOMPARE(currentHelpWindow()->shownTopic(), 555);
    // A topic that does not exist shows the topic list, not an error.
    showHelpTopic(4242);
    QCOMPARE(currentHelpWindow()->shownTopic(), 0);
    closeAllHelp();
}

void TestFrmStart::logoOpensMakerAddress()
{
    m_urls.urls.clear();
    click(0);
    QCOMPARE(m_urls.urls.size(), 1);
    QCOMPARE(m_urls.urls.first(), QUrl(QString::fromLatin1(kMakerWebAddress)));
}

QTEST_MAIN(TestFrmStart)
#include "tst_frmstart.moc"
