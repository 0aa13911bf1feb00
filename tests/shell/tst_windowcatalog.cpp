#include "comm/frm8.h"
#include "comm/history.h"
#include "comm/historywindow.h"
#include "core/appsetup.h"
#include "shell/configfiles.h"
#include "shell/frmabout.h"
#include "shell/frmstart.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The windows the catalog builds ask the user and start programs through the options it was given, never
// past them: a test that gives its own answers sees no box and no dialog.
class tst_WindowCatalog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyWindowAsksThroughTheOptions();

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    QStringList m_asked; // what was asked, and of which window, in order
    QString m_fileName; // the answer of the next file dialog
};

void tst_WindowCatalog::initTestCase()
{
    QVERIFY(m_dir.isValid());
    AppSetup::setUpApplication({ m_dir.path() });

    ProgramWindowOptions options;
    const auto note = [this](const char *what, const QWidget *parent) {
        m_asked << QString::fromLatin1(what) + u' ' + (parent ? parent->objectName() : u"-"_s);
    };
    options.dialogs.showMessage
        = [note](QWidget *parent, const QString &, const QString &) { note("message", parent); };
    options.dialogs.askQuestion = [note](QWidget *parent, const QString &) {
        note("question", parent);
        return false;
    };
    options.dialogs.openFileName
        = [this, note](QWidget *parent, const QString &, const QString &, const QString &) {
              note("open", parent);
              return m_fileName;
          };
    options.dialogs.saveFileName
        = [this, note](QWidget *parent, const QString &, const QString &, const QString &) {
              note("save", parent);
              return m_fileName;
          };
    options.dialogs.startProgram = [note](const QString &) {
        note("start", nullptr);
        return false;
    };
    options.frm8.historyBound = 77;
    registerProgramWindows(options);

    // A system information tool to be found, so that the about box tries to start it.
    m_oldPath = qgetenv("PATH");
    const QString bin = m_dir.filePath(u"bin"_s);
    QVERIFY(QDir().mkpath(bin));
    QFile tool(QDir(bin).filePath(u"hardinfo2"_s));
    QVERIFY(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\nexit 0\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner);
    qputenv("PATH", QFile::encodeName(bin));
}

void tst_WindowCatalog::cleanupTestCase()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
    qputenv("PATH", m_oldPath);
}

void tst_WindowCatalog::everyWindowAsksThroughTheOptions()
{
    WindowRegistry &registry = WindowRegistry::instance();
    auto *start = registry.get<FrmStart>(u"frmStart"_s);
    start->setQuitHandler([] {});
    ConfigurationFiles *files = start->configurationFiles();

    // Open: the dialog's file is opened, and one that is not there said so.
    m_fileName = m_dir.filePath(u"missing.ini"_s);
    files->chooseAndOpen();
    // Save as: written where the dialog says.
    const QString saved = m_dir.filePath(u"saved.ini"_s);
    m_fileName = saved;
    files->chooseAndSaveAs();
    QVERIFY(QFile::exists(saved));
    // Opened again over edits: asked first; "no" keeps the edits.
    registry.window(u"frm1"_s)->controlAs<QLineEdit>(u"txtbez"_s)->setText(u"Geändert"_s);
    QVERIFY(!files->openConfiguration(saved));

    // The about box starts the tool it found, and says that it could not.
    registry.get<FrmAbout>(u"frmAbout"_s)->StartSysInfo();

    // The communication page takes its own options as well, and hands the dialogs to its history window.
    auto *frm8 = registry.get<Frm8>(u"frm8"_s);
    QCOMPARE(frm8->history()->bound(), 77);
    frm8->showHistory();
    HistoryWindow *history = frm8->historyWindow();
    QVERIFY(history);
    m_fileName.clear(); // the user cancels
    history->chooseAndSave();
    QVERIFY(!history->saveAs(m_dir.filePath(u"no/such/folder/run.csv"_s)));

    const QStringList expected { u"open frmStart"_s, u"message frmStart"_s, u"save frmStart"_s,
        u"question frmStart"_s, u"start -"_s, u"message frmAbout"_s, u"save historyWindow"_s,
        u"message historyWindow"_s };
    QCOMPARE(m_asked, expected);
}

QTEST_MAIN(tst_WindowCatalog)
#include "tst_windowcatalog.moc"
