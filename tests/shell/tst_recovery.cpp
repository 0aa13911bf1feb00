// What survives an unexpected end: the recovery copy of unsaved edits and the copy of a settings file that
// was being rewritten in place. The end is real: a child process (this test program started again in a
// child mode) is killed with SIGKILL, and the next start in this process finds what it left.
#include "core/appsetup.h"
#include "core/inifile.h"
#include "shell/configfiles.h"
#include "shell/configuration.h"
#include "shell/frmstart.h"
#include "shell/recoverycopy.h"
#include "shell/windowcatalog.h"
#include "support/testfiles.h"
#include "window/settingsfile.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const char *const kChildMode = "RM425T_RECOVERY_CHILD";
const char *const kChildDir = "RM425T_RECOVERY_DIR";
#ifdef Q_OS_UNIX
constexpr uid_t kUser = 65534;
#endif

QLineEdit *name()
{
    return WindowRegistry::instance().window(u"frm1"_s)->controlAs<QLineEdit>(u"txtbez"_s);
}

void say(const char *line)
{
    std::puts(line);
    std::fflush(stdout);
}

// The child: "edit" starts the program, types into a page and runs until it is killed; "inplace" saves
// the settings file into a folder closed to new files and stops in the middle of the write.
int runChild(int argc, char **argv, const QByteArray &mode)
{
    QApplication app(argc, argv);
    AppSetup::setUpApplication({ qEnvironmentVariable(kChildDir) });
    if (mode == "edit") {
        ProgramWindowOptions options;
        options.dialogs.askQuestion = [](QWidget *, const QString &) { return false; };
        registerProgramWindows(options);
        auto *start = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
        start->show();
        QTest::keyClicks(name(), u" neu"_s);
        say("edited");
        return app.exec();
    }
#ifdef Q_OS_UNIX
    if (getuid() == 0 && setresuid(kUser, kUser, kUser) != 0)
        return 2;
#endif
    IniDocument document;
    document.setValue(u"frm1"_s, u"txtbez"_s, u"Gespeichert"_s);
    document.setValue(u"frm1"_s, u"txtsim"_s, QString(2000, u'1'));
    writeSettingsFile(document, nullptr, [] {
        say("writing");
        for (;;)
            QThread::sleep(60); // until the test kills us
    });
    return 3;
}

} // namespace

class tst_Recovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void copyIsComparedOnlyWhenThereIsOne();
    void editsSurviveAKill_data();
    void editsSurviveAKill();
    void cancelDiscardsTheCopyClosingAndSavingDoNot();
    void inPlaceSaveKilledMidWriteIsOfferedForRestore_data();
    void inPlaceSaveKilledMidWriteIsOfferedForRestore();

private:
    FrmStart *start();
    // Starts the child and waits for its line; the test kills it.
    void startChild(QProcess &child, const char *mode, const QByteArray &line);

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_questions;
    QStringList m_messages;
    bool m_answer = false;
};

void tst_Recovery::initTestCase()
{
    ProgramWindowOptions options;
    options.dialogs.askQuestion = [this](QWidget *, const QString &question) {
        m_questions.append(question);
        return m_answer;
    };
    options.dialogs.showMessage
        = [this](QWidget *, const QString &, const QString &message) { m_messages.append(message); };
    registerProgramWindows(options);
}

void tst_Recovery::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    AppSetup::setUpApplication({ m_dir->path() });
    m_questions.clear();
    m_messages.clear();
}

void tst_Recovery::cleanup()
{
    WindowRegistry::instance().reset();
    AppSetup::setUpApplication();
}

FrmStart *tst_Recovery::start()
{
    auto *w = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    w->setQuitHandler([] {});
    return w;
}

void tst_Recovery::startChild(QProcess &child, const char *mode, const QByteArray &line)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildMode), QString::fromLatin1(mode));
    env.insert(QString::fromLatin1(kChildDir), m_dir->path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    QByteArray out;
    while (!out.contains(line) && child.waitForReadyRead(10000))
        out += child.readAllStandardOutput();
    QVERIFY2(out.contains(line), out.constData());
}

// Writing out every page is what a start without a copy must not pay for; a copy that holds nothing new
// goes, one that differs is offered.
void tst_Recovery::copyIsComparedOnlyWhenThereIsOne()
{
    IniDocument pages;
    pages.setValue(u"frm1"_s, u"txtbez"_s, u"Pumpe"_s);
    int asked = 0;
    const auto document = [&] {
        ++asked;
        return pages;
    };
    RecoveryCopy copy([&] { return pages; }, nullptr);

    QVERIFY(!copy.leftOver(document));
    QCOMPARE(asked, 0);

    QVERIFY(copy.writeNow());
    QVERIFY(!copy.leftOver(document));
    QCOMPARE(asked, 1);
    QVERIFY(!QFile::exists(RecoveryFilePath()));

    QVERIFY(copy.writeNow());
    pages.setValue(u"frm1"_s, u"txtbez"_s, u"Pumpe 2"_s);
    const std::optional<IniDocument> left = copy.leftOver(document);
    QCOMPARE(asked, 2);
    QVERIFY(left);
    QCOMPARE(left->value(u"frm1"_s, u"txtbez"_s).value_or(QString()), u"Pumpe"_s);
}

void tst_Recovery::editsSurviveAKill_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("restore") << true;
    QTest::newRow("discard") << false;
}

void tst_Recovery::editsSurviveAKill()
{
    QFETCH(bool, restore);
    const QByteArray saved = "[frm1]\r\ntxtbez=Pumpe\r\nlanguage=1\r\n";
    putFile(IniFilePath(), saved);

    QProcess child;
    startChild(child, "edit", "edited");
    // Shortly after the edit the copy is in the state folder, not in the settings file.
    QTRY_VERIFY_WITH_TIMEOUT(fileBytes(RecoveryFilePath()).contains("Pumpe neu"), 5000);
    child.kill();
    QVERIFY(child.waitForFinished());
    QCOMPARE(fileBytes(IniFilePath()), saved);

    m_answer = restore;
    start();
    QTRY_COMPARE(m_questions.size(), 1);
    QVERIFY2(m_questions.constFirst().contains(u"Restore the unsaved changes?"_s),
        qPrintable(m_questions.constFirst()));
    QCOMPARE(name()->text(), restore ? u"Pumpe neu"_s : u"Pumpe"_s);
    // Restored into the pages only: the settings file waits for a save.
    QCOMPARE(fileBytes(IniFilePath()), saved);
    QCOMPARE(QFile::exists(RecoveryFilePath()), restore);
    QCoreApplication::processEvents();
    QCOMPARE(m_questions.size(), 1);
    QVERIFY(m_messages.isEmpty());
}

void tst_Recovery::cancelDiscardsTheCopyClosingAndSavingDoNot()
{
    // Closing the start window writes a copy still waiting for its pause at once and keeps it.
    FrmStart *w = start();
    name()->setText(u"Offen"_s);
    w->close();
    QVERIFY(fileBytes(RecoveryFilePath()).contains("txtbez=Offen"));
    WindowRegistry::instance().reset();

    // The next start offers it; "Abbrechen" then ends as the user chose, without the copy.
    m_answer = true;
    w = start();
    QTRY_COMPARE(m_questions.size(), 1);
    QCOMPARE(name()->text(), u"Offen"_s);
    QVERIFY(!QFile::exists(IniFilePath()));
    QTest::mouseClick(w->check(11), Qt::LeftButton);
    QVERIFY(!QFile::exists(RecoveryFilePath()));
    QVERIFY(!QFile::exists(IniFilePath()));

    // A copy that holds what the file holds is not offered, and a save lets the copy go.
    name()->setText(u"Gespeichert"_s);
    QTRY_VERIFY(QFile::exists(RecoveryFilePath()));
    QVERIFY(w->SaveAllPages());
    QVERIFY(!QFile::exists(RecoveryFilePath()));
    name()->setText(u"Zurück"_s);
    name()->setText(u"Gespeichert"_s);
    QTRY_VERIFY(QFile::exists(RecoveryFilePath()));
    WindowRegistry::instance().reset();
    start();
    QCoreApplication::processEvents();
    QCOMPARE(m_questions.size(), 1);
    QVERIFY(!QFile::exists(RecoveryFilePath()));
}

void tst_Recovery::inPlaceSaveKilledMidWriteIsOfferedForRestore_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("restore") << true;
    QTest::newRow("keep the file") << false;
}

void tst_Recovery::inPlaceSaveKilledMidWriteIsOfferedForRestore()
{
#ifdef Q_OS_UNIX
    QFETCH(bool, restore);
    const QString file = IniFilePath();
    const QByteArray old = "[frm1]\r\ntxtbez=Alt\r\ntxtsim=" + QByteArray(2000, '0') + "\r\n";
    putFile(file, old);
    QVERIFY(QDir().mkpath(StateFolderPath()));
    // The settings folder takes no new files from the saving user, its file and the state folder do.
    const auto rx = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::ExeOther;
    if (getuid() == 0) {
        for (const QString &path : { file, StateFolderPath() })
            QCOMPARE(chown(QFile::encodeName(path).constData(), kUser, kUser), 0);
        QVERIFY(QFile::setPermissions(m_dir->path(), rx | QFile::WriteOwner));
    } else {
        QVERIFY(QFile::setPermissions(m_dir->path(), rx));
    }

    QProcess child;
    startChild(child, "inplace", "writing");
    child.kill();
    QVERIFY(child.waitForFinished());
    QVERIFY(QFile::setPermissions(m_dir->path(), rx | QFile::WriteOwner));
    // Half new, half old: the write stopped in the middle.
    const QByteArray damaged = fileBytes(file);
    QVERIFY(damaged.startsWith("[frm1]\r\ntxtbez=Gespeichert\r\ntxtsim=1111"));
    QVERIFY(damaged.endsWith("0000\r\n"));

    m_answer = restore;
    start();
    QTRY_COMPARE(m_questions.size(), 1);
    QVERIFY2(m_questions.constFirst().contains(u"did not end"_s), qPrintable(m_questions.constFirst()));
    QVERIFY(m_questions.constFirst().contains(QDir::toNativeSeparators(file)));
    if (restore) {
        QCOMPARE(name()->text(), u"Gespeichert"_s);
        // The file is what the interrupted save was writing, to the byte.
        QCOMPARE(fileBytes(file), "[frm1]\r\ntxtbez=Gespeichert\r\ntxtsim=" + QByteArray(2000, '1') + "\r\n");
    } else {
        QCOMPARE(fileBytes(file), damaged);
    }
    // Asked once: the copy is gone either way, and no other offer follows.
    QCOMPARE(QDir(StateFolderPath()).entryList(QDir::Files), QStringList());
    QCoreApplication::processEvents();
    QCOMPARE(m_questions.size(), 1);
#else
    QSKIP("needs a user the folder is closed to");
#endif
}

int main(int argc, char **argv)
{
    const QByteArray mode = qgetenv(kChildMode);
    if (!mode.isEmpty())
        return runChild(argc, argv, mode);
    QApplication app(argc, argv);
    tst_Recovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
