#include "core/appsetup.h"
#include "shell/frmabout.h"
#include "shell/frmstart.h"
#include "window/help.h"
#include "window/helpwindow.h"
#include "window/settingsfile.h"
#include "shell/sysinfo.h"
#include "window/twostatebutton.h"
#include "shell/windowcatalog.h"
#include "window/windowregistry.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {
void hover(QWidget *widget, QPoint pos)
{
    QMouseEvent move(
        QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// UTF-16LE bytes of a text, as the registry query fills them in.
QByteArray utf16Bytes(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

const QString kGermanDescription
    = QStringLiteral("Beschreibung:\r\n\r\nSoftware zum Übertragen der Parameter zum GSM- Modul RM425T");
const QString kGermanWarning
    = QStringLiteral("Warnung:\r\n\r\nNur geeignet für das GSM- Modul RM425T mit dem TELIT- Modul !");
const QString kEnglishDescription
    = QStringLiteral("Description:\r\n\r\nSoftware to send parameter to GSM- module RM425T");
const QString kEnglishWarning = QStringLiteral(
    "Warning:\r\n\r\nThis software is only suitable for the GSM- module RM425T with the TELIT- module");
const QString kFrenchDescription = QStringLiteral(
    "Description:\r\n\r\nLogiciel pour la transmission des paramètres vers le module GSM-RM425T");
const QString kFrenchWarning = QStringLiteral(
    "Avertissement:\r\n\r\nNe convient que pour le module GSM-RM425T avec le module TELIT !");
} // namespace

class TestFrmAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void textsFollowLanguageCode_data();
    void textsFollowLanguageCode();
    void unknownCodeKeepsPreviousTexts();
    void versionHasBuildNumbersWithoutLeadingZeros_data();
    void versionHasBuildNumbersWithoutLeadingZeros();
    void infoButtonPlacesBoxAndMakesItCurrent();
    void clickStartsToolOnceAndLeavesButtonUnpressed();
    void firstProgramFoundOnPathIsStarted_data();
    void firstProgramFoundOnPathIsStarted();
    void failedStartShowsGermanMessage();
    void registryTextValueSize_data();
    void registryTextValueSize();
    void registryValueTypes();
    void hoverMarksButtonAndBackgroundClearsIt();
    void f1ShowsAboutTopic();
    void pathsAreShownWhole_data();
    void pathsAreShownWhole();
    void escapeClosesAboutBoxOnly();

private:
    FrmAbout *about() { return WindowRegistry::instance().get<FrmAbout>(QStringLiteral("frmAbout")); }
    void setLanguage(const QString &code)
    {
        WindowRegistry::instance()
            .window(QStringLiteral("frm1"))
            ->controlAs<QLineEdit>("language")
            ->setText(code);
    }
    // Puts executable stand-ins for the named programs into a folder that is then the only one on PATH.
    QString installPrograms(const QStringList &names);

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    QStringList m_started;
    QStringList m_messages;
    bool m_startSucceeds = true;
};

void TestFrmAbout::initTestCase()
{
    QVERIFY(m_dir.isValid());
    ProgramWindowOptions options;
    options.dialogs.startProgram = [this](const QString &program) {
        m_started.append(program);
        return m_startSucceeds;
    };
    options.dialogs.showMessage
        = [this](QWidget *, const QString &, const QString &text) { m_messages.append(text); };
    registerProgramWindows(options);
    AppSetup::setUpApplication({ m_dir.path() });
    m_oldPath = qgetenv("PATH");
}

void TestFrmAbout::cleanupTestCase()
{
    AppSetup::setUpApplication();
}

void TestFrmAbout::init()
{
    m_started.clear();
    m_messages.clear();
    m_startSucceeds = true;
    installPrograms({});
}

void TestFrmAbout::cleanup()
{
    closeAllHelp();
    WindowRegistry::instance().reset();
    qputenv("PATH", m_oldPath);
}

QString TestFrmAbout::installPrograms(const QStringList &names)
{
    const QString bin = m_dir.filePath(QStringLiteral("bin-%1").arg(QTest::currentTestFunction()));
    QDir(bin).removeRecursively();
    QDir().mkpath(bin);
    for (const QString &name : names) {
        QFile file(QDir(bin).filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(bin));
    return bin;
}

void TestFrmAbout::textsFollowLanguageCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("warning");
    QTest::newRow("German") << "0" << kGermanDescription << kGermanWarning;
    QTest::newRow("English") << "1" << kEnglishDescription << kEnglishWarning;
    QTest::newRow("French") << "2" << kFrenchDescription << kFrenchWarning;
}

void TestFrmAbout::textsFollowLanguageCode()
{
    QFETCH(QString, code);
    QFETCH(QString, description);
    QFETCH(QString, warning);
    setLanguage(code);
    about()->formActivate();
    QVERIFY(about()->lblVersion()->text().startsWith(QStringLiteral("Version: ")));
    QCOMPARE(about()->lblVersion()->text(), versionLine());
    QCOMPARE(about()->lblDescription()->text(), description);
    QCOMPARE(about()->lblDisclaimer()->text(), warning);
    QCOMPARE(about()->chkInfo()->text(), QStringLiteral("System - Info"));
}

void TestFrmAbout::unknownCodeKeepsPreviousTexts()
{
    setLanguage(QStringLiteral("7"));
    about()->formActivate();
    QCOMPARE(about()->lblVersion()->text(), QStringLiteral("Version"));
    QCOMPARE(about()->lblDescription()->text(), QStringLiteral("Beschreibung"));
    QVERIFY(about()->lblDisclaimer()->text().startsWith(QStringLiteral("Warnung:")));

    setLanguage(QStringLiteral("2"));
    about()->formActivate();
    for (const char *code : { "3", "x", "" }) {
        setLanguage(QString::fromLatin1(code));
        about()->formActivate();
        QCOMPARE(about()->lblDescription()->text(), kFrenchDescription);
        QCOMPARE(about()->lblDisclaimer()->text(), kFrenchWarning);
        QCOMPARE(about()->lblVersion()->text(), versionLine());
    }
}

void TestFrmAbout::versionHasBuildNumbersWithoutLeadingZeros_data()
{
    QTest::addColumn<QString>("major");
    QTest::addColumn<QString>("minor");
    QTest::addColumn<QString>("revision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "5"
                           << "0"
                           << "0"
                           << "5.0.0";
    // "010" must not turn into 8, as a number literal with a leading zero would.
    QTest::newRow("leading zeros") << "05"
                                   << "00"
                                   << "010"
                                   << "5.0.10";
    QTest::newRow("several digits") << "12"
                                    << "3"
                                    << "1024"
                                    << "12.3.1024";
}

void TestFrmAbout::versionHasBuildNumbersWithoutLeadingZeros()
{
    QFETCH(QString, major);
    QFETCH(QString, minor);
    QFETCH(QString, revision);
    QFETCH(QString, expected);
    QCOMPARE(versionNumberText(major, minor, revision), expected);

    // The line of this build: its own numbers, each without leading zeros.
    const QRegularExpression line(
        QStringLiteral("^Version: (0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$"));
    const QRegularExpressionMatch match = line.match(versionLine());
    QVERIFY2(match.hasMatch(), qPrintable(versionLine()));
    QCOMPARE(match.captured(1).toInt(), RM425T_VERSION_MAJOR);
    QCOMPARE(match.captured(2).toInt(), RM425T_VERSION_MINOR);
    QCOMPARE(match.captured(3).toInt(), RM425T_VERSION_PATCH);
}

void TestFrmAbout::infoButtonPlacesBoxAndMakesItCurrent()
{
    auto *start = WindowRegistry::instance().get<FrmStart>(QStringLiteral("frmStart"));
    start->move(40, 30);
    start->show();
    QVERIFY(QTest::qWaitForWindowExposed(start));
    setLanguage(QStringLiteral("1"));
    // Somewhere else first: activation must bring it back to its place beside the start window.
    about()->move(700, 600);

    QTest::mouseClick(start->check(12), Qt::LeftButton);
    // The window system's activation arrives with the next events, after the platform reports it active.
    QTRY_COMPARE(QApplication::activeWindow(), about());
    QCOMPARE(WindowRegistry::instance().currentPage(), 12);
    QCOMPARE(about()->pos(), start->frameGeometry().topLeft() + QPoint(twips(4597), twips(1800)));
    QCOMPARE(about()->lblDescription()->text(), kEnglishDescription);
    QVERIFY(!start->check(12)->isChecked());
}

void TestFrmAbout::clickStartsToolOnceAndLeavesButtonUnpressed()
{
#ifdef Q_OS_WIN
    QSKIP("The tool is looked up in the registry on Windows.");
#endif
    const QString bin = installPrograms({ QStringLiteral("hardinfo") });
    const QString tool = QDir(bin).filePath(QStringLiteral("hardinfo"));
    TwoStateButton *button = about()->chkInfo();

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_started, QStringList { tool });
    QVERIFY(!button->isChecked());

    about()->show();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(m_started, QStringList({ tool, tool }));
    QVERIFY(!button->isChecked());
    QVERIFY(m_messages.isEmpty());
}

void TestFrmAbout::firstProgramFoundOnPathIsStarted_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("expected"); // empty: the message box
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("unrelated programs only") << QStringList { "ls", "sysinfo32" } << QString();
    QTest::newRow("desktop monitor") << QStringList { "gnome-system-monitor" } << "gnome-system-monitor";
    QTest::newRow("viewer before monitor")
        << QStringList { "gnome-system-monitor", "kinfocenter" } << "kinfocenter";
    QTest::newRow("newer viewer first") << QStringList { "hardinfo", "hardinfo2" } << "hardinfo2";
}

void TestFrmAbout::firstProgramFoundOnPathIsStarted()
{
#ifdef Q_OS_WIN
    QSKIP("The tool is looked up in the registry on Windows.");
#endif
    QFETCH(QStringList, installed);
    QFETCH(QString, expected);
    const QString bin = installPrograms(installed);
    setLanguage(QStringLiteral("1"));

    QTest::mouseClick(about()->chkInfo(), Qt::LeftButton);
    if (expected.isEmpty()) {
        QVERIFY(m_started.isEmpty());
        QCOMPARE(m_messages,
            QStringList { QStringLiteral("System-Informationen sind augenblicklich nicht verfügbar.") });
    } else {
        QCOMPARE(m_started, QStringList { QDir(bin).filePath(expected) });
        QVERIFY(m_messages.isEmpty());
    }
}

void TestFrmAbout::failedStartShowsGermanMessage()
{
#ifdef Q_OS_WIN
    QSKIP("The tool is looked up in the registry on Windows.");
#endif
    installPrograms({ QStringLiteral("kinfocenter") });
    // A file that is no longer executable is not taken for the tool.
    const QString stale = m_dir.filePath(QStringLiteral("bin-%1/hardinfo").arg(QTest::currentTestFunction()));
    QFile file(stale);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    m_startSucceeds = false;

    for (const char *code : { "0", "1", "2" }) {
        m_messages.clear();
        setLanguage(QString::fromLatin1(code));
        about()->formActivate();
        QTest::mouseClick(about()->chkInfo(), Qt::LeftButton);
        QCOMPARE(m_messages,
            QStringList { QStringLiteral("System-Informationen sind augenblicklich nicht verfügbar.") });
        QVERIFY(!about()->chkInfo()->isChecked());
    }
    QCOMPARE(m_started.size(), 3);
    QVERIFY(m_started.first().endsWith(QStringLiteral("/kinfocenter")));
}

void TestFrmAbout::registryTextValueSize_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<quint32>("size");
    QTest::addColumn<QString>("expected");
    const QString path = QStringLiteral("C:\\Programme\\Gemeinsame Dateien\\MSINFO32.EXE");
    QByteArray filled = utf16Bytes(path);
    filled.append(QByteArray(2048 - filled.size(), '\0'));
    const quint32 textBytes = quint32(path.size() * 2);

    QTest::newRow("size counts the NUL") << filled << textBytes + 2 << path;
    QTest::newRow("size without the NUL") << filled << textBytes << path;
    QTest::newRow("empty value, only the NUL") << QByteArray(2048, '\0') << 2u << QString();
    QTest::newRow("nothing stored") << QByteArray(2048, '\0') << 0u << QString();
    QTest::newRow("last character is kept when not NUL") << utf16Bytes(QStringLiteral("ab")) << 4u << "ab";
    QTest::newRow("size beyond the buffer") << utf16Bytes(QStringLiteral("abc")) << 4096u << "abc";
    QTest::newRow("odd size ends on a whole character") << utf16Bytes(QStringLiteral("abc")) << 5u << "ab";
    QTest::newRow("non-ASCII path") << utf16Bytes(QStringLiteral("C:\\Büro\\x.exe") + QChar(0)) << 28u
                                    << QStringLiteral("C:\\Büro\\x.exe");
}

void TestFrmAbout::registryTextValueSize()
{
    QFETCH(QByteArray, buffer);
    QFETCH(quint32, size);
    QFETCH(QString, expected);
    QCOMPARE(registryText(buffer, size), expected);
    QString text;
    QVERIFY(registryValueText(RegistryType::Text, buffer, size, &text));
    QCOMPARE(text, expected);
}

void TestFrmAbout::registryValueTypes()
{
    QString text = QStringLiteral("old");
    QVERIFY(registryValueText(RegistryType::Number, QByteArray("\x39\x30\x00\x00", 4), 4, &text));
    QCOMPARE(text, QStringLiteral("12345"));
    QVERIFY(!registryValueText(RegistryType::Number, QByteArray("\x39\x30", 2), 2, &text));
    QCOMPARE(text, QString());

    qputenv("RM425T_TEST_TOOLS", "D:\\Tools");
    const QByteArray expandable
        = utf16Bytes(QStringLiteral("%RM425T_TEST_TOOLS%\\x.exe %RM425T_UNSET_NAME% 100%"));
    QVERIFY(registryValueText(RegistryType::ExpandText, expandable, quint32(expandable.size()), &text));
    QCOMPARE(text, QStringLiteral("D:\\Tools\\x.exe %RM425T_UNSET_NAME% 100%"));
    qunsetenv("RM425T_TEST_TOOLS");

    text = QStringLiteral("old");
    const quint32 binaryType = 3;
    QVERIFY(!registryValueText(binaryType, utf16Bytes(QStringLiteral("x")), 2, &text));
    QCOMPARE(text, QString());
}

void TestFrmAbout::hoverMarksButtonAndBackgroundClearsIt()
{
    FrmAbout *w = about();
    TwoStateButton *button = w->chkInfo();
    hover(button, QPoint(5, 5));
    QVERIFY(button->isBold());

    // Over a label the mark stays, as the label is not the background.
    hover(w->lblDescription(), QPoint(5, 5));
    QVERIFY(button->isBold());

    // A line is drawn on the background.
    hover(w, QPoint(twips(2000), twips(1080)));
    QVERIFY(!button->isBold());

    hover(button, QPoint(5, 5));
    QVERIFY(button->isBold());
    hover(w, QPoint(twips(2000), twips(60)));
    QVERIFY(!button->isBold());
}

void TestFrmAbout::f1ShowsAboutTopic()
{
    setLanguage(QStringLiteral("1"));
    FrmAbout *w = about();
    w->show();
    w->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), w);
    QTest::keyClick(w, Qt::Key_F1);
    QTRY_VERIFY(currentHelpWindow());
    QCOMPARE(currentHelpWindow()->shownTopic(), 1080);
}

void TestFrmAbout::pathsAreShownWhole_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("depth"); // folders of 40 characters below the test's folder
    for (const char *code : { "0", "1", "2" }) {
        QTest::addRow("short, %s", code) << code << 0;
        QTest::addRow("deep, %s", code) << code << 6;
    }
    // More than any screen has room for: the strip scrolls and stays on the screen.
    QTest::newRow("beyond the screen") << "0" << 90;
}

void TestFrmAbout::pathsAreShownWhole()
{
    QFETCH(QString, code);
    QFETCH(int, depth);
    QString deep = m_dir.filePath(QStringLiteral("paths"));
    for (int i = 0; i < depth; ++i)
        deep += QStringLiteral("/folder-%1-with-a-name-long-enough-to-wrap").arg(i, 2, 10, QChar(u'0'));
    QVERIFY(QDir().mkpath(deep));
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(deep));
    AppSetup::setUpApplication({ deep });
    setLanguage(code);

    FrmAbout *w = about();
    w->show();
    w->formActivate();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTextEdit *strip = w->filesStrip();
    const QString settings = QDir::toNativeSeparators(IniFilePath());
    const QString log = QDir::toNativeSeparators(QDir(deep).absoluteFilePath(QStringLiteral("GSM.DAT")));
    const QString text = strip->toPlainText();
    QVERIFY2(text.contains(settings) && text.contains(log), qPrintable(text));
    QCOMPARE(strip->toolTip(), text);
    QVERIFY(strip->textInteractionFlags() & Qt::TextSelectableByMouse);

    // The written box keeps its controls where they were; the strip lies below them, inside the window.
    QCOMPARE(w->lblDisclaimer()->geometry(), twipsRect(240, 3360, 3735, 1185));
    QCOMPARE(w->chkInfo()->geometry(), twipsRect(1800, 4800, 2040, 465));
    QVERIFY(strip->geometry().top() >= twips(5430));
    QVERIFY(w->rect().contains(strip->geometry()));
    const QRect screen = w->screen()->availableGeometry();
    const bool fits = depth < 90;
    if (fits) {
        // Nothing to scroll to: every line of both paths is in view.
        QCOMPARE(strip->verticalScrollBar()->maximum(), 0);
        QVERIFY(strip->document()->size().height() <= strip->viewport()->height());
    } else {
        QVERIFY(strip->verticalScrollBar()->maximum() > 0);
        QVERIFY(w->height() < screen.height());
    }
    QVERIFY(w->height() >= twips(5430 + 840));

    AppSetup::setUpApplication({ m_dir.path() });
    QDir::setCurrent(oldCurrent);
}

void TestFrmAbout::escapeClosesAboutBoxOnly()
{
    setLanguage(QStringLiteral("1"));
    auto *start = WindowRegistry::instance().get<FrmStart>(QStringLiteral("frmStart"));
    start->show();
    QVERIFY(QTest::qWaitForWindowExposed(start));

    // Wherever the focus is in the box, even in the selectable paths.
    for (QWidget *focus :
        { static_cast<QWidget *>(about()->filesStrip()), static_cast<QWidget *>(about()->chkInfo()) }) {
        QTest::mouseClick(start->check(12), Qt::LeftButton);
        QTRY_COMPARE(QApplication::activeWindow(), about());
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape);
        QTRY_VERIFY(!about()->isVisible());
        QVERIFY(start->isVisible());
        QVERIFY(m_started.isEmpty());
    }

    // The start window and a page stay open; the box keeps its place under the start window, and steps
    // aside for a page, which it would stick out below.
    QTest::mouseClick(start->check(12), Qt::LeftButton);
    QTRY_COMPARE(QApplication::activeWindow(), about());
    start->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), start);
    QVERIFY(about()->isVisible());
    QTest::keyClick(start->check(14), Qt::Key_Escape);
    QTest::mouseClick(start->check(1), Qt::LeftButton);
    FormWindow *page = WindowRegistry::instance().window(QStringLiteral("frm1"));
    QTRY_COMPARE(QApplication::activeWindow(), page);
    QTRY_VERIFY(!about()->isVisible());
    QWidget *field = page->control(QStringLiteral("txtbez"));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    QTest::keyClick(page, Qt::Key_Escape);
    QCoreApplication::processEvents();
    QVERIFY(page->isVisible());
    QVERIFY(start->isVisible());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
