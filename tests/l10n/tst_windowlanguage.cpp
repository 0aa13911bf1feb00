#include "comm/uploadlog.h"
#include "core/appsetup.h"
#include "l10n/applylanguage.h"
#include "shell/frmabout.h"
#include "shell/frmstart.h"
#include "window/settingsfile.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include <QCoreApplication>
#include <QDir>
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
    AppSetup::setUpApplication({ m_dir.path() });
    registerProgramWindows();
    WindowRegistry::instance().window(u"frmStart"_s);
}

void tst_WindowLanguage::cleanupTestCase()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

void tst_WindowLanguage::titlesAndQtTextsFollowTheLanguage_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("communication");
    QTest::addColumn<QString>("general");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("undo");
    QTest::addColumn<QString>("files");

    QTest::newRow("German") << u"0"_s << u"GSM - Kommunikation"_s << u"GSM - Allgemeine Einstellungen"_s
                            << u"Abbrechen"_s << u"&Rückgängig"_s
                            << u"Einstellungen: %1\nStatusprotokoll: %2\nSendeprotokoll: %3"_s;
    QTest::newRow("French") << u"2"_s << u"GSM - Communication"_s << u"GSM - Réglages principaux"_s
                            << u"Annuler"_s << u"&Annuler"_s << u"Paramètres : %1\nJournal d'état : %2\nJournal des envois : %3"_s;
    QTest::newRow("English") << u"1"_s << u"GSM - Communication"_s << u"GSM - General Settings"_s
                             << u"Cancel"_s << u"&Undo"_s << u"Settings: %1\nStatus log: %2\nUpload log: %3"_s;
}

void tst_WindowLanguage::titlesAndQtTextsFollowTheLanguage()
{
    QFETCH(QString, code);
    QFETCH(QString, communication);
    QFETCH(QString, general);
    QFETCH(QString, cancel);
    QFETCH(QString, undo);
    QFETCH(QString, files);

    WindowRegistry &windows = WindowRegistry::instance();
    windows.window(u"frm1"_s)->controlAs<QLineEdit>(u"language"_s)->setText(code);
    ApplyLanguage();

    QCOMPARE(windows.window(u"frm8"_s)->windowTitle(), communication);
    QCOMPARE(windows.window(u"frm1"_s)->windowTitle(), general);
    QCOMPARE(windows.window(u"frmStart"_s)->windowTitle(), u"GSM"_s);
    // A window created later is titled in the language in force too.
    QVERIFY(!windows.exists(u"frmAbout"_s) || code != u"0"_s);
    auto *about = static_cast<FrmAbout *>(windows.window(u"frmAbout"_s));
    QCOMPARE(about->windowTitle(), u"GSM - Info"_s);
    // The about box says where this run keeps its files.
    QCOMPARE(about->filesText(),
        files.arg(QDir::toNativeSeparators(IniFilePath()),
            QDir::toNativeSeparators(QDir::current().absoluteFilePath(u"GSM.DAT"_s)),
            QDir::toNativeSeparators(UploadLog::logPath())));

    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), undo);
}

QTEST_MAIN(tst_WindowLanguage)
#include "tst_windowlanguage.moc"
