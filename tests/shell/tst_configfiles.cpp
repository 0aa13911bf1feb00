#include "core/appsetup.h"
#include "core/filekind.h"
#include "core/inifile.h"
#include "shell/configfiles.h"
#include "shell/configuration.h"
#include "shell/frmstart.h"
#include "shell/recentstore.h"
#include "shell/windowcatalog.h"
#include "support/filesizelimit.h"
#include "support/specialfile.h"
#include "support/testfiles.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QLineEdit *text(const char *page, const char *name, int index = -1)
{
    return WindowRegistry::instance()
        .window(QString::fromLatin1(page))
        ->controlAs<QLineEdit>(QString::fromLatin1(name), index);
}

QCheckBox *box(const char *page, const char *name, int index = -1)
{
    return WindowRegistry::instance()
        .window(QString::fromLatin1(page))
        ->controlAs<QCheckBox>(QString::fromLatin1(name), index);
}

} // namespace

class tst_ConfigFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openTakesTheFileAndDesignValuesForWhatItLacks();
    void saveAsRoundTripAndTheTitleMark();
    void refusedFileChangesNothing_data();
    void refusedFileChangesNothing();
    void oversizedWorkingFileIsNotLoadedAndNotTouched();
    void menuOffersBothEntriesAndTheLastFiveFiles();
    void droppedFileIsOpened();
    void noFileIsOpenedOrSavedOnto_data();
    void noFileIsOpenedOrSavedOnto();
    void recentStoreThatCannotBeUsedIsSaidOnce_data();
    void recentStoreThatCannotBeUsedIsSaidOnce();
    void recentStoreThatCannotBeWrittenSaysSo();

private:
    FrmStart *start();
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_messages;
    QStringList m_questions;
    QList<bool> m_answers; // the answers to the next questions; "no" when none is left
};

void tst_ConfigFiles::initTestCase()
{
    ProgramWindowOptions options;
    options.dialogs.showMessage
        = [this](QWidget *, const QString &, const QString &message) { m_messages.append(message); };
    options.dialogs.askQuestion = [this](QWidget *, const QString &question) {
        m_questions.append(question);
        return m_answers.isEmpty() ? false : m_answers.takeFirst();
    };
    registerProgramWindows(options);
}

void tst_ConfigFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    AppSetup::setUpApplication({ m_dir->path() });
    m_messages.clear();
    m_questions.clear();
    m_answers.clear();
}

void tst_ConfigFiles::cleanup()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

FrmStart *tst_ConfigFiles::start()
{
    auto *w = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    w->setQuitHandler([] {});
    return w;
}

void tst_ConfigFiles::openTakesTheFileAndDesignValuesForWhatItLacks()
{
    putFile(
        IniFilePath(), "[frm1]\r\ntxtbez=Working\r\nlanguage=1\r\n[frm2]\r\nchk2(1)=1\r\ntxtwert(1)=55\r\n");
    FrmStart *w = start();
    const QString designSim = text("frm1", "txtsim")->text();
    text("frm1", "txtsim")->setText(u"9999"_s);
    box("frm2", "chk2", 2)->setChecked(true);
    QCOMPARE(box("frm2", "chk2", 1)->checkState(), Qt::Checked);
    QCOMPARE(w->windowTitle(), u"GSM"_s);

    // German, a name, one phone number; nothing of frm2: its in-use box and limit go back to design.
    // A value that is no value for its control counts as missing, too.
    putFile(path(u"Kunde A.ini"_s),
        "[frm1]\r\nlanguage=0\r\ntxtbez=Kunde A\r\ntxtFon1(3)=+4917012\r\n[frm2]\r\nchk2(2)=ja\r\n");
    QVERIFY(w->configurationFiles()->openConfiguration(path(u"Kunde A.ini"_s)));
    QCOMPARE(text("frm1", "txtbez")->text(), u"Kunde A"_s);
    QCOMPARE(text("frm1", "txtFon1", 3)->text(), u"+4917012"_s);
    QCOMPARE(text("frm1", "txtsim")->text(), designSim);
    QCOMPARE(box("frm2", "chk2", 1)->checkState(), Qt::Unchecked);
    QCOMPARE(box("frm2", "chk2", 2)->checkState(), Qt::Unchecked);
    QVERIFY(text("frm2", "txtwert", 1)->text() != u"55"_s);
    // The captions follow the language of the file.
    QCOMPARE(w->check(14)->text(), u"Speichern"_s);
    QCOMPARE(w->windowTitle(), u"GSM - Kunde A.ini[*]"_s);
    // A save would write the design values the file lacks as well: the pages differ from the file.
    QVERIFY(w->isWindowModified());
    // Opening writes nothing.
    QCOMPARE(fileBytes(IniFilePath()),
        QByteArray("[frm1]\r\ntxtbez=Working\r\nlanguage=1\r\n[frm2]\r\nchk2(1)=1\r\ntxtwert(1)=55\r\n"));
    QVERIFY(m_messages.isEmpty());
}

void tst_ConfigFiles::saveAsRoundTripAndTheTitleMark()
{
    FrmStart *w = start();
    ConfigurationFiles *files = w->configurationFiles();
    text("frm1", "txtbez")->setText(u"Pumpe 3"_s);
    box("frm2", "chk2", 2)->setChecked(true);
    const QByteArray saved = documentOfPages().toBytes();

    QVERIFY(files->saveConfigurationAs(path(u"a.ini"_s)));
    QCOMPARE(fileBytes(path(u"a.ini"_s)), saved);
    QVERIFY(!QFile::exists(IniFilePath())); // "Speichern" alone writes the working file
    QCOMPARE(w->windowTitle(), u"GSM - a.ini[*]"_s);
    QVERIFY(!w->isWindowModified());

    // An edit marks the title once the pause has passed; undoing it clears the mark again.
    text("frm1", "txtbez")->setText(u"Pumpe 4"_s);
    QTRY_VERIFY(w->isWindowModified());
    text("frm1", "txtbez")->setText(u"Pumpe 3"_s);
    QTRY_VERIFY(!w->isWindowModified());

    // "Speichern" writes the working file and the configuration the title names, so the mark goes.
    text("frm1", "txtbez")->setText(u"Anders"_s);
    QTRY_VERIFY(w->isWindowModified());
    QVERIFY(w->SaveAllPages());
    const QByteArray edited = documentOfPages().toBytes();
    QCOMPARE(fileBytes(IniFilePath()), edited);
    QCOMPARE(fileBytes(path(u"a.ini"_s)), edited);
    QCOMPARE(w->windowTitle(), u"GSM - a.ini[*]"_s);
    QVERIFY(!w->isWindowModified());

    // Opening it again while the pages differ from it asks first; keeping the changes keeps them.
    text("frm1", "txtbez")->setText(u"Ungespeichert"_s);
    m_answers = { false };
    QVERIFY(!files->openConfiguration(path(u"a.ini"_s)));
    QCOMPARE(m_questions.size(), 1);
    QVERIFY2(
        m_questions.constFirst().contains(u"discard the changes"_s), qPrintable(m_questions.constFirst()));
    QCOMPARE(text("frm1", "txtbez")->text(), u"Ungespeichert"_s);
    QVERIFY(w->isWindowModified());
    m_answers = { true };
    QVERIFY(files->openConfiguration(path(u"a.ini"_s)));
    QCOMPARE(m_questions.size(), 2);
    QCOMPARE(text("frm1", "txtbez")->text(), u"Anders"_s);
    QVERIFY(!w->isWindowModified());
    QCOMPARE(documentOfPages().toBytes(), edited);
    // Nothing differs: opened without a question.
    QVERIFY(files->openConfiguration(path(u"a.ini"_s)));
    QCOMPARE(m_questions.size(), 2);

    // A file changed behind the program's back differs from the pages as well.
    putFile(path(u"a.ini"_s), "[frm1]\r\ntxtbez=Fremd\r\n");
    files->updateModifiedMark();
    QVERIFY(w->isWindowModified());
}

void tst_ConfigFiles::refusedFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");

    QByteArray huge = "[frm1]\r\ntxtbez=Riesig\r\n";
    huge += QByteArray(int(kMaxSettingsFileSize), ';');
    QTest::newRow("over 1 MB") << huge << u"larger than 1 MB"_s;
    QTest::newRow("binary") << QByteArray("[frm1]\r\ntxtbez=Bin\0\x01\x02\r\n", 22) << u"binary data"_s;
    QTest::newRow("no page section") << QByteArray("[Desktop Entry]\r\nName=Other\r\ntxtbez=X\r\n")
                                     << u"no section of any page"_s;
    QTest::newRow("empty") << QByteArray() << u"no section of any page"_s;
    QTest::newRow("missing") << QByteArray("-") << u"not found"_s;
}

void tst_ConfigFiles::refusedFileChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);

    FrmStart *w = start();
    ConfigurationFiles *files = w->configurationFiles();
    text("frm1", "txtbez")->setText(u"Vorher"_s);
    QVERIFY(files->saveConfigurationAs(path(u"before.ini"_s)));
    const QByteArray pages = documentOfPages().toBytes();

    const QString file = path(u"candidate.ini"_s);
    if (content != "-")
        putFile(file, content);
    QVERIFY(!files->openConfiguration(file));
    QCOMPARE(documentOfPages().toBytes(), pages);
    QCOMPARE(w->windowTitle(), u"GSM - before.ini[*]"_s);
    QCOMPARE(files->recentFiles().size(), 1);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.constFirst().contains(reason), qPrintable(m_messages.constFirst()));
    QVERIFY(m_messages.constFirst().contains(u"The pages are unchanged."_s));
}

void tst_ConfigFiles::oversizedWorkingFileIsNotLoadedAndNotTouched()
{
    QByteArray huge = "[frm1]\r\ntxtbez=Riesig\r\nlanguage=2\r\n";
    huge += QByteArray(int(kMaxSettingsFileSize), ';');
    putFile(IniFilePath(), huge);

    start();
    QVERIFY(text("frm1", "txtbez")->text() != u"Riesig"_s);
    // Said once the window is up, in the language of the design values.
    QTRY_COMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.constFirst().contains(u"was not loaded"_s), qPrintable(m_messages.constFirst()));
    QVERIFY(m_messages.constFirst().contains(u"larger than 1 MB"_s));
    QCOMPARE(fileBytes(IniFilePath()), huge);

#ifdef Q_OS_UNIX
    // A FIFO in its place: start-up neither waits for a writer nor lets a save replace it.
    WindowRegistry::instance().reset();
    QVERIFY(QFile::remove(IniFilePath()));
    const SpecialFile fifo(u"fifo"_s, IniFilePath());
    QVERIFY(fifo.isValid());
    FrmStart *w = start();
    QTRY_COMPARE(m_messages.size(), 2);
    QVERIFY2(m_messages.at(1).contains(u"not a regular file"_s), qPrintable(m_messages.at(1)));
    QVERIFY(!w->SaveAllPages());
    QCOMPARE(fileKindOf(IniFilePath()), FileKind::Fifo);
#endif
}

void tst_ConfigFiles::menuOffersBothEntriesAndTheLastFiveFiles()
{
    FrmStart *w = start();
    ConfigurationFiles *files = w->configurationFiles();
    for (int i = 1; i <= 6; ++i)
        QVERIFY(files->saveConfigurationAs(path(u"k%1.ini"_s.arg(i))));
    // Opening one again puts it first; the list keeps five and survives the window.
    QVERIFY(files->openConfiguration(path(u"k2.ini"_s)));
    WindowRegistry::instance().reset();
    files = start()->configurationFiles();
    QStringList names;
    for (const QString &file : files->recentFiles())
        names.append(QFileInfo(file).fileName());
    QCOMPARE(names, QStringList({ u"k2.ini"_s, u"k6.ini"_s, u"k5.ini"_s, u"k4.ini"_s, u"k3.ini"_s }));

    text("frm1", "language")->setText(u"0"_s);
    std::unique_ptr<QMenu> menu(files->createContextMenu(nullptr));
    QStringList entries;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            entries.append(action->text());
    }
    QCOMPARE(entries,
        QStringList({ u"Konfiguration öffnen…"_s, u"Konfiguration speichern unter…"_s, u"Serie…"_s,
            u"Mit Konfiguration vergleichen…"_s, u"&1 k2.ini"_s,
            u"&2 k6.ini"_s, u"&3 k5.ini"_s, u"&4 k4.ini"_s, u"&5 k3.ini"_s }));
    QCOMPARE(menu->actions().constFirst()->shortcut(), QKeySequence(u"Ctrl+O"_s));
}

void tst_ConfigFiles::droppedFileIsOpened()
{
    FrmStart *w = start();
    putFile(path(u"dropped.ini"_s), "[frm1]\r\ntxtbez=Abgelegt\r\n");
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(path(u"dropped.ini"_s)) });
    const QPoint where(10, 10);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &drop);
    QTRY_COMPARE(text("frm1", "txtbez")->text(), u"Abgelegt"_s);
    QCOMPARE(w->windowTitle(), u"GSM - dropped.ini[*]"_s);
}

void tst_ConfigFiles::noFileIsOpenedOrSavedOnto_data()
{
#ifdef Q_OS_UNIX
    SpecialFile::addRows();
#endif
}

void tst_ConfigFiles::noFileIsOpenedOrSavedOnto()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, kind);
    FrmStart *w = start();
    ConfigurationFiles *files = w->configurationFiles();
    text("frm1", "txtbez")->setText(u"Vorher"_s);
    QVERIFY(files->saveConfigurationAs(path(u"before.ini"_s)));
    const QByteArray pages = documentOfPages().toBytes();
    const SpecialFile node(kind, path(u"fifo.ini"_s));
    QVERIFY(node.isValid());
    const QString target = node.path();
    const FileKind before = fileKindOf(target);

    // Ctrl+O onto it: refused at once with the reason, the pages as they were.
    QVERIFY(!files->openConfiguration(target));
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.constFirst().contains(u"not a regular file"_s), qPrintable(m_messages.constFirst()));
    QCOMPARE(documentOfPages().toBytes(), pages);
    // Save as onto it (as the unprivileged user where it is a real device): refused, the node untouched,
    // and the title still names the file saved before.
    const bool root = kind == u"/dev/null"_s && getuid() == 0;
    if (root)
        QCOMPARE(setresuid(65534, 65534, 0), 0);
    const bool saved = files->saveConfigurationAs(target);
    if (root && setresuid(0, 0, 0) != 0)
        qFatal("could not return to root");
    QVERIFY(!saved);
    QCOMPARE(m_messages.size(), 2);
    QVERIFY2(m_messages.at(1).contains(u"not a regular file"_s), qPrintable(m_messages.at(1)));
    QCOMPARE(fileKindOf(target), before);
    QCOMPARE(w->windowTitle(), u"GSM - before.ini[*]"_s);
    // The open configuration turned into one meanwhile: the mark and "Speichern" neither hang nor write it.
    QVERIFY(QFile::remove(path(u"before.ini"_s)));
    QCOMPARE(mkfifo(QFile::encodeName(path(u"before.ini"_s)).constData(), 0600), 0);
    files->updateModifiedMark();
    QVERIFY(w->isWindowModified());
    QVERIFY(!w->SaveAllPages());
    QCOMPARE(fileKindOf(path(u"before.ini"_s)), FileKind::Fifo);
    QCOMPARE(fileBytes(IniFilePath()), pages); // the working file is saved all the same
    QVERIFY(node.lineIsQuiet());
#else
    QSKIP("FIFOs and terminals are Unix files");
#endif
}

void tst_ConfigFiles::recentStoreThatCannotBeUsedIsSaidOnce_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << u"fifo"_s << u"not a regular file"_s;
    QTest::newRow("over 64 KB") << u"large"_s << u"larger than 64 KB"_s;
    QTest::newRow("a folder") << u"folder"_s << u"not a regular file"_s;
}

void tst_ConfigFiles::recentStoreThatCannotBeUsedIsSaidOnce()
{
#ifdef Q_OS_UNIX
    QFETCH(QString, store);
    QFETCH(QString, reason);
    const QString storePath = RecentStorePath();
    QByteArray large;
    if (store == u"fifo"_s) {
        QCOMPARE(mkfifo(QFile::encodeName(storePath).constData(), 0600), 0);
    } else if (store == u"folder"_s) {
        QVERIFY(QDir().mkdir(storePath));
    } else {
        // Recent files the store would give if it were read.
        large = "[General]\nrecentFiles=" + QFile::encodeName(path(u"old.ini"_s)) + "\n";
        large += QByteArray(RecentStore::kMaxSize, ';');
        putFile(storePath, large);
        putFile(path(u"old.ini"_s), "[frm1]\r\ntxtbez=Alt\r\n");
    }
    FrmStart *w = start();
    ConfigurationFiles *files = w->configurationFiles();
    QVERIFY(files->recentFiles().isEmpty());
    QVERIFY(files->saveConfigurationAs(path(u"a.ini"_s)));
    QVERIFY(files->saveConfigurationAs(path(u"b.ini"_s)));
    QVERIFY(files->openConfiguration(path(u"a.ini"_s)));
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.constFirst().contains(reason), qPrintable(m_messages.constFirst()));
    QVERIFY(m_messages.constFirst().contains(QDir::toNativeSeparators(storePath)));
    // The store is left as it is.
    if (store == u"large"_s)
        QCOMPARE(fileBytes(storePath), large);
    else
        QCOMPARE(fileKindOf(storePath), store == u"fifo"_s ? FileKind::Fifo : FileKind::Directory);
    // No recent file: open, save as, and below a separator the series and the comparison.
    std::unique_ptr<QMenu> menu(files->createContextMenu(nullptr));
    QCOMPARE(menu->actions().size(), 5);
#else
    QSKIP("FIFOs are Unix files");
#endif
}

void tst_ConfigFiles::recentStoreThatCannotBeWrittenSaysSo()
{
#ifdef Q_OS_LINUX
    // A disk that takes no byte more.
    QString reason;
    const bool kept = withFileSizeLimit(1, [&] { return RecentStore::remember(path(u"a.ini"_s), &reason); });
    QVERIFY(!kept);
    QVERIFY2(reason.contains(u"cannot be written"_s), qPrintable(reason));
    QVERIFY(RecentStore::files().isEmpty());
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_MAIN(tst_ConfigFiles)
#include "tst_configfiles.moc"
