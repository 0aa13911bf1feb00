#include "cli/argumentrules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace ArgumentRules;

class tst_ArgumentRules : public QObject
{
    Q_OBJECT

private slots:
    void windowTakesOnlyQtsOptions_data();
    void windowTakesOnlyQtsOptions();
    void quotedTextShowsWhatATerminalWouldHide_data();
    void quotedTextShowsWhatATerminalWouldHide();
    void spellingsOfOnePortAreOnePort();
    void qtsOwnNotesAreTold_data();
    void qtsOwnNotesAreTold();
};

void tst_ArgumentRules::windowTakesOnlyQtsOptions_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the program's name
    QTest::addColumn<QString>("refused"); // empty: the window starts
    QTest::addColumn<bool>("lacksValue");

    QTest::newRow("nothing") << QStringList() << QString() << false;
    QTest::newRow("platform and style")
        << QStringList { u"-platform"_s, u"xcb"_s, u"-style"_s, u"fusion"_s } << QString() << false;
    QTest::newRow("two dashes, joined values")
        << QStringList { u"--style=fusion"_s, u"--reverse"_s, u"-qmljsdebugger=port:1"_s } << QString()
        << false;
    QTest::newRow("X11's own") << QStringList { u"-display"_s, u":1"_s, u"-geometry"_s, u"10x10"_s,
        u"-nograb"_s } << QString()
                               << false;
    // A value that looks like an option is still the value.
    QTest::newRow("title --bogus") << QStringList { u"-qwindowtitle"_s, u"--bogus"_s } << QString() << false;
    QTest::newRow("unknown option") << QStringList { u"--bogus"_s } << u"--bogus"_s << false;
    QTest::newRow("after Qt's") << QStringList { u"-platform"_s, u"xcb"_s, u"-x"_s } << u"-x"_s << false;
    QTest::newRow("a file") << QStringList { u"-reverse"_s, u"kunde.ini"_s } << u"kunde.ini"_s << false;
    QTest::newRow("joined, not Qt's") << QStringList { u"--platform=xcb"_s } << u"--platform=xcb"_s << false;
    QTest::newRow("a flag with a value") << QStringList { u"-reverse=1"_s } << u"-reverse=1"_s << false;
    QTest::newRow("value missing") << QStringList { u"-style"_s } << u"-style"_s << true;
    QTest::newRow("lone dash") << QStringList { u"-"_s } << u"-"_s << false;
}

void tst_ArgumentRules::windowTakesOnlyQtsOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, refused);
    QFETCH(bool, lacksValue);

    const std::optional<NonQtArgument> wrong = firstNonQtArgument(QStringList { u"rm425t"_s } + arguments);
    QCOMPARE(wrong.has_value(), !refused.isEmpty());
    if (wrong) {
        QCOMPARE(wrong->argument, refused);
        QCOMPARE(wrong->lacksValue, lacksValue);
    }
}

void tst_ArgumentRules::quotedTextShowsWhatATerminalWouldHide_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shownText");

    QTest::newRow("plain, umlauts, backslash") << u"Tür C:\\x"_s << u"Tür C:\\x"_s;
    QTest::newRow("escape sequence") << u"a\x1b[2Jb"_s << u"a\\x1B[2Jb"_s;
    QTest::newRow("line breaks and tab") << u"a\r\n\tb"_s << u"a\\x0D\\x0A\\x09b"_s;
    QTest::newRow("delete and C1") << u"\x7f\u0085"_s << u"\\x7F\\u{0085}"_s;
    QTest::newRow("right-to-left override") << u"x\u202Ey"_s << u"x\\u{202E}y"_s;
    QTest::newRow("line separator") << u"a\u2028b"_s << u"a\\u{2028}b"_s;
    // A character beyond the first plane is two UTF-16 units: kept whole.
    QTest::newRow("emoji") << u"a😀b"_s << u"a😀b"_s;
    QTest::newRow("lone surrogates") << (u"a"_s + QChar(0xD83D) + u"b"_s + QChar(0xDE00))
                                     << u"a\\u{D83D}b\\u{DE00}"_s;
}

void tst_ArgumentRules::quotedTextShowsWhatATerminalWouldHide()
{
    QFETCH(QString, text);
    QFETCH(QString, shownText);
    QCOMPARE(shown(text), shownText);
    // Whatever came in, what goes out holds no control character and no half of a character.
    const QString out = shown(text);
    for (qsizetype i = 0; i < out.size(); ++i) {
        QVERIFY(out.at(i).category() != QChar::Other_Control);
        if (out.at(i).isHighSurrogate())
            QVERIFY(i + 1 < out.size() && out.at(++i).isLowSurrogate());
        else
            QVERIFY(!out.at(i).isLowSurrogate());
    }
}

void tst_ArgumentRules::spellingsOfOnePortAreOnePort()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(u"m"_s);
    QFile file(device);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(device, dir.filePath(u"link"_s)));
    const QString same = portIdentity(device);
    QCOMPARE(portIdentity(dir.path() + u"/../"_s + QDir(dir.path()).dirName() + u"/m"_s), same);
    QCOMPARE(portIdentity(dir.path() + u"//./m"_s), same);
    QCOMPARE(portIdentity(dir.filePath(u"link"_s)), same);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QCOMPARE(portIdentity(u"m"_s), same);
    // A port that does not exist (yet) is compared by its cleaned path.
    QCOMPARE(portIdentity(u"x/../gone"_s), portIdentity(dir.filePath(u"gone"_s)));
    QDir::setCurrent(previous);
    QVERIFY(portIdentity(dir.filePath(u"other"_s)) != same);
#endif
}

void tst_ArgumentRules::qtsOwnNotesAreTold_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("qtNote");

    const int warning = QtWarningMsg;
    QTest::newRow("file position") << warning << QByteArray("default")
                                   << u"QFile::at: Cannot set file position 0"_s << true;
    QTest::newRow("seek")
        << warning << QByteArray("default")
        << u"QIODevice::seek (QFile, \"GSM.DAT\"): Cannot call seek on a sequential device"_s << true;
    QTest::newRow("runtime folder") << warning << QByteArray("default")
                                    << u"QStandardPaths: XDG_RUNTIME_DIR not set"_s << true;
    QTest::newRow("platform category") << warning << QByteArray("qt.qpa.fonts") << u"no fonts"_s << true;
    QTest::newRow("debug") << int(QtDebugMsg) << QByteArray("default") << u"anything"_s << true;
    // Ours, and what is more than a note, are still said.
    QTest::newRow("our warning") << warning << QByteArray("default") << u"No window named frm12"_s << false;
    QTest::newRow("a word with Q") << warning << QByteArray("default") << u"Quit: 3 windows open"_s << false;
    QTest::newRow("critical from Qt")
        << int(QtCriticalMsg) << QByteArray("default") << u"QFile::x: bad"_s << false;
}

void tst_ArgumentRules::qtsOwnNotesAreTold()
{
    QFETCH(int, type);
    QFETCH(QByteArray, category);
    QFETCH(QString, message);
    QFETCH(bool, qtNote);
    QCOMPARE(isQtNote(QtMsgType(type), category.constData(), message), qtNote);
}

QTEST_GUILESS_MAIN(tst_ArgumentRules)
#include "tst_argumentrules.moc"
