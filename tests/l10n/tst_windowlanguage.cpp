#include "l10n/applylanguage.h"
#include "shell/frmstart.h"
#include "shell/settingsfile.h"
#include "shell/windowregistry.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// What the interface language reaches beyond the caption table: the windows' titles and Qt's own texts
// (standard buttons, context menus), switched together with "D/E/F".
class tst_WindowLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void titlesAndQtTextsFollowTheLanguage_data();
    void titlesAndQtTextsFollowTheLanguage();

private:
    QTemporaryDir m_dir;
};

void tst_WindowLanguage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    setSettingsDirectory(m_dir.path());
    registerProgramWindows();
    WindowRegistry::instance().window(u"frmStart"_s);
}

void tst_WindowLanguage::cleanupTestCase()
{
    WindowRegistry::instance().reset();
    setSettingsDirectory(QString());
}

void tst_WindowLanguage::titlesAndQtTextsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("communication");
    QTest::addColumn<QString>("general");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("undo");

    QTest::newRow("German") << u"0"_s << u"GSM - Kommunikation"_s << u"GSM - Allgemeine Einstellungen"_s
                            << u"Abbrechen"_s << u"&Rückgängig"_s;
    QTest::newRow("French") << u"2"_s << u"GSM - Communication"_s << u"GSM - Réglages principaux"_s
                            << u"Annuler"_s << u"&Annuler"_s;
    QTest::newRow("English") << u"1"_s << u"GSM - Communication"_s << u"GSM - General Settings"_s
                             << u"Cancel"_s << u"&Undo"_s;
}

void tst_WindowLanguage::titlesAndQtTextsFollowTheLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, communication);
    QFETCH(QString, general);
    QFETCH(QString, cancel);
    QFETCH(QString, undo);

    WindowRegistry &windows = WindowRegistry::instance();
    windows.window(u"frm1"_s)->controlAs<QLineEdit>(u"language"_s)->setText(code);
    ApplyLanguage();

    QCOMPARE(windows.window(u"frm8"_s)->windowTitle(), communication);
    QCOMPARE(windows.window(u"frm1"_s)->windowTitle(), general);
    QCOMPARE(windows.window(u"frmStart"_s)->windowTitle(), u"GSM"_s);
    // A window created later is titled in the language in force too.
    QVERIFY(!windows.exists(u"frmAbout"_s) || code != u"0"_s);
    QCOMPARE(windows.window(u"frmAbout"_s)->windowTitle(), u"GSM - Info"_s);

    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), undo);
}

QTEST_MAIN(tst_WindowLanguage)
#include "tst_windowlanguage.moc"
