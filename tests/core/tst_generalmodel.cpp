#include "core/configfields.h"
#include "core/configuration.h"
#include "core/inifile.h"
#include "support/randomsettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The rules of the general settings, incall output and reply pages as the configuration runs them without a
// window. Expectations: "key=value" in the stored form, "+key" takes input, "-key" locked.
class tst_GeneralModel : public QObject
{
    Q_OBJECT

private slots:
    void pageLoadsFile_data();
    void pageLoadsFile();
    void editsFollowThePageRules();
    void invariantsHoldForDamagedFiles();
};

namespace {

int selectedProvider(const Configuration &c)
{
    int selected = -1;
    for (int member = 0; member <= 4; ++member)
        selected = c.state(u"frm1"_s, u"optAnb"_s, member) == 0 ? selected : selected == -1 ? member : -2;
    return selected;
}

bool isEnabled(const Configuration &c, QStringView section, QStringView key)
{
    return c.isEnabled(configurationFieldIndex(section, key));
}

} // namespace

void tst_GeneralModel::pageLoadsFile_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("lines"); // "|" between the lines of the page
    QTest::addColumn<QString>("expected");
    // A provider the file chooses runs as a click, in the page's order whatever the file's: its numbers
    // replace those read. Without one, D 1 comes back and the numbers stay as read.
    const QString own = u"txtAnr=555|txtFAxPref=7|"_s;
    const auto row
        = [](const char *name, const QString &section, const QString &lines, const char *expected) {
              QTest::newRow(name) << section << lines << QString::fromUtf8(expected);
          };
    row("no file", u"frm1"_s, {}, "optAnb(1)=-1 txtAnr=8000 txtFAxPref=99 language=1 -txtAnr -txtFAxPref");
    row("E +", u"frm1"_s, own + u"optAnb(0)=0|optAnb(1)=0|optAnb(3)=-1"_s,
        "optAnb(3)=-1 optAnb(1)=0 txtAnr=7676245 txtFAxPref=1551 -txtAnr -txtFAxPref");
    row("D 1 stored", u"frm1"_s, own + u"optAnb(1)=-1"_s, "optAnb(1)=-1 txtAnr=8000 txtFAxPref=99 -txtAnr");
    row("other", u"frm1"_s, own + u"optAnb(0)=-1|optAnb(1)=0"_s,
        "optAnb(0)=-1 optAnb(1)=0 txtAnr=555 txtFAxPref=7 +txtAnr +txtFAxPref");
    row("no provider key", u"frm1"_s, own, "optAnb(1)=-1 txtAnr=555 txtFAxPref=7 -txtAnr -txtFAxPref");
    row("all 0", u"frm1"_s, own + u"optAnb(0)=0|optAnb(1)=0|optAnb(3)=-0.5"_s, "optAnb(1)=-1 txtAnr=555");
    row("not a number", u"frm1"_s, own + u"optAnb(1)=ja|optAnb(2)=x"_s,
        "optAnb(1)=-1 optAnb(2)=0 txtAnr=555");
    row("two: the later", u"frm1"_s, own + u"optAnb(4)=-1|optAnb(2)=-1"_s,
        "optAnb(2)=0 txtAnr=6245 txtFAxPref=329");
    row("D 1 and other", u"frm1"_s, own + u"optAnb(1)=-1|optAnb(0)=-1"_s, "optAnb(0)=0 txtAnr=8000 -txtAnr");
    // One duration always selected; a greyed "Belegt" is not in use.
    row("incall, no file", u"frm7"_s, {}, "chk7=0 optZ(1)=-1 chkPsw7=0");
    row("incall, 12 h", u"frm7"_s, u"chk7=1|optZ(1)=0|optZ(11)=-1"_s, "chk7=1 optZ(1)=0 optZ(11)=-1");
    row("incall, greyed", u"frm7"_s, u"chk7=2|chkPsw7=2"_s, "chk7=0 chkPsw7=2");
    // The error text takes input exactly while the error reply is ticked, greyed included.
    row("reply, no file", u"frm9"_s, {}, "txtZust=Antwort txtErr=ERROR chkAntw=0 -txtErr");
    row("reply, error reply", u"frm9"_s, u"chkAntw=1|txtErr=FALSCH|chkCLI=1"_s,
        "txtErr=FALSCH chkCLI=1 +txtErr");
    row("reply, greyed", u"frm9"_s, u"chkAntw=2"_s, "chkAntw=2 +txtErr");
    row("reply, locked text", u"frm9"_s, u"chkAntw=0|txtErr=FALSCH"_s, "txtErr=FALSCH -txtErr");
}

void tst_GeneralModel::pageLoadsFile()
{
    QFETCH(QString, section);
    QFETCH(QString, lines);
    QFETCH(QString, expected);
    const QString text = u"[%1]\r\n%2\r\n"_s.arg(section, QString(lines).replace(u'|', u"\r\n"_s));
    const Configuration c = Configuration::fromDocument(IniDocument::fromBytes(text.toUtf8()));
    for (const QString &item : expected.split(u' ')) {
        if (item.front() == u'+' || item.front() == u'-')
            QVERIFY2(isEnabled(c, section, item.mid(1)) == (item.front() == u'+'), qPrintable(item));
        else
            QCOMPARE(c.value(section, item.section(u'=', 0, 0)), item.section(u'=', 1));
    }
}

// The handlers' rules after loading, as the editor runs them.
void tst_GeneralModel::editsFollowThePageRules()
{
    Configuration c;
    ConfigurationEditor editor(c);
    const QStringList numbers[] = { {}, { u"8000"_s, u"99"_s }, { u"3400"_s, u"88"_s },
        { u"7676245"_s, u"1551"_s }, { u"6245"_s, u"329"_s } };
    for (int member = 1; member <= 4; ++member) {
        editor.setState(u"frm1", u"optAnb", 0, 1);
        editor.setText(u"frm1", u"txtAnr", -1, u"12"_s);
        editor.setState(u"frm1", u"optAnb", member, 1);
        QCOMPARE(
            QStringList({ c.value(u"frm1", u"txtAnr"), c.value(u"frm1", u"txtFAxPref") }), numbers[member]);
        QVERIFY(!isEnabled(c, u"frm1", u"txtAnr") && !isEnabled(c, u"frm1", u"txtFAxPref"));
        // "Andere Anbieter" unlocks both with the numbers in place, and cannot be cleared by itself.
        editor.setState(u"frm1", u"optAnb", 0, 1);
        editor.setState(u"frm1", u"optAnb", 0, 0);
        QVERIFY(isEnabled(c, u"frm1", u"txtAnr") && isEnabled(c, u"frm1", u"txtFAxPref"));
        QCOMPARE(c.value(u"frm1", u"txtAnr"), numbers[member].at(0));
        QCOMPARE(selectedProvider(c), 0);
    }
    // The error text follows the error reply; a "Belegt" greyed from ticked ends unticked.
    for (const int state : { 1, 0, 2, 0 }) {
        editor.setState(u"frm9", u"chkAntw", -1, state);
        QCOMPARE(isEnabled(c, u"frm9", u"txtErr"), state != 0);
        editor.setState(u"frm7", u"chk7", -1, state == 0 ? 1 : state);
        QCOMPARE(c.state(u"frm7"_s, u"chk7"_s), state == 2 ? 0 : 1);
    }
}

// Whatever a file holds: one provider and one duration, the numbers locked unless "Andere Anbieter" is
// chosen, the error text locked unless the error reply is ticked, "Belegt" never greyed; and these pages read
// back what they saved, except the numbers under a D 1 no file chose (read as they stood; the saved D 1 then
// runs).
void tst_GeneralModel::invariantsHoldForDamagedFiles()
{
    for (quint32 seed = 1; seed <= 400; ++seed) {
        const Configuration c = Configuration::fromDocument(randomSettings(seed));
        const QByteArray context = "seed " + QByteArray::number(seed);
        const int provider = selectedProvider(c);
        QVERIFY2(provider >= 0 && isEnabled(c, u"frm1", u"txtAnr") == (provider == 0)
                && isEnabled(c, u"frm1", u"txtFAxPref") == (provider == 0),
            context);
        int durations = 0;
        for (int k = 1; k <= 12; ++k)
            durations += c.state(u"frm7"_s, u"optZ"_s, k);
        QVERIFY2(durations == 1 && c.state(u"frm7"_s, u"chk7"_s) != 2, context);
        QVERIFY2(isEnabled(c, u"frm9", u"txtErr") == (c.state(u"frm9"_s, u"chkAntw"_s) != 0), context);

        const bool unchosenD1 = provider == 1
            && (c.value(u"frm1", u"txtAnr") != u"8000" || c.value(u"frm1", u"txtFAxPref") != u"99");
        const Configuration again = Configuration::fromDocument(c.toDocument());
        for (int i = 0; i < int(configurationFields().size()); ++i) {
            const ConfigField &field = configurationFields()[size_t(i)];
            const bool number = field.key() == u"txtAnr"_s || field.key() == u"txtFAxPref"_s;
            if (!QStringList({ u"frm1"_s, u"frm7"_s, u"frm9"_s }).contains(field.section)
                || (unchosenD1 && number))
                continue;
            QVERIFY2(again.value(i) == c.value(i) && again.isEnabled(i) == c.isEnabled(i),
                context + ' ' + field.settingsKey().toUtf8());
        }
    }
}

QTEST_GUILESS_MAIN(tst_GeneralModel)
#include "tst_generalmodel.moc"
