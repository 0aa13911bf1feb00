#include "core/configfields.h"
#include "core/configuration.h"
#include "core/inifile.h"
#include "support/randomsettings.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The rules of the input and output pages (inputs T1/T2, optocoupler inputs, SMS outputs, ADC input, PWM
// output) as the configuration applies them to a settings file and to later edits, without any window.
namespace {

const QStringList kInUseBoxes
    = { u"frm2/chk2(1)"_s, u"frm2/chk2(2)"_s, u"frm3/chk3(1)"_s, u"frm3/chk3(2)"_s, u"frm4/chk4(1)"_s,
          u"frm4/chk4(2)"_s, u"frm4/chk4(3)"_s, u"frm4/chk4(4)"_s, u"frm5/chk5"_s, u"frm6/chk6"_s };

int fieldOf(const QString &settingsKey)
{
    const int field = configurationFieldIndex(settingsKey.section(u'/', 0, 0), settingsKey.section(u'/', 1));
    if (field < 0)
        qFatal("no stored value %s", qPrintable(settingsKey));
    return field;
}

// "frm5/chksms1(3)=0 (disabled)": the stored form, and whether the control takes input.
QString describe(const Configuration &configuration, const QString &settingsKey)
{
    const int field = fieldOf(settingsKey);
    return settingsKey + u'=' + configuration.value(field)
        + (configuration.isEnabled(field) ? QString() : u" (disabled)"_s);
}

} // namespace

class tst_EventModel : public QObject
{
    Q_OBJECT

private slots:
    void loadAndEdit_data();
    void loadAndEdit();
    void randomFilesKeepThePageRules();
};

void tst_EventModel::loadAndEdit_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("edits"); // "frm6/chk6=2;…": states or texts set after loading, in this order
    QTest::addColumn<QString>("expected"); // "key=value;…"

    // Without a file: input 2 can be put in use, and no member has a target.
    QTest::newRow("no file") << QByteArray() << u""_s
                             << u"frm2/chk2(2)=0;frm6/chkCLI=0;frm5/chkfax1(1)=0 (disabled)"_s;
    // An option cannot be cleared on its own; of two selected, the later one stays.
    QTest::newRow("option groups in a damaged file")
        << QByteArray("[frm2]\nOptO(1)=0\nOptU(1)=0\nOptO(2)=-1\nOptU(2)=-1\n[frm3]\nOptL(2)=x\nOptH(2)=1.5")
        << u""_s
        << u"frm2/OptO(1)=-1;frm2/OptU(1)=0;frm2/OptO(2)=0;frm2/OptU(2)=-1;frm3/OptL(2)=0;frm3/OptH(2)=-1"_s;
    QTest::newRow("members follow the targets")
        << QByteArray("[frm1]\ntxtFon1(1)=0170\ntxtFax1(4)=089\n[frm5]\nchksms1(1)=1\nchksms1(3)=1\n"
                      "chkfax1(2)=1\nchkfax1(4)=1\nchkmail1(1)=1\n[frm4]\nchksms1(5)=1")
        << u""_s
        << u"frm5/chksms1(1)=1;frm5/chksms1(3)=0 (disabled);frm5/chkfax1(2)=0 (disabled);frm5/chkfax1(4)=1;"
           "frm5/chkmail1(1)=0 (disabled);frm4/chksms1(5)=0 (disabled)"_s;
    // Greyed "Belegt" boxes are not in use; the PWM page's hidden box ends as its "Belegt" box.
    QTest::newRow("greyed in-use boxes")
        << QByteArray("[frm2]\nchk2(1)=2\nchk2(2)=2.7\n[frm3]\nchk3(1)=2\n[frm4]\nchk4(3)=2\n[frm5]\nchk5=2\n"
                      "[frm6]\nchk6=2\nchkCLI=1")
        << u""_s
        << u"frm2/chk2(1)=0;frm2/chk2(2)=0;frm3/chk3(1)=0;frm4/chk4(3)=0;frm5/chk5=0;frm6/chk6=0;frm6/chkCLI=0"_s;
    QTest::newRow("numbers and names as an edit leaves them")
        << QByteArray("[FRM4]\nCHK4(1)=1.9\nchk4(2)= 1 \nchk4(3)=-1\nchk4(4)=3\n[frm5]\nchk5=1\nchk5=2\n"
                      "[frm6]\nchk6=1e1\nchkCLI=1")
        << u""_s
        << u"frm4/chk4(1)=1;frm4/chk4(2)=1;frm4/chk4(3)=0;frm4/chk4(4)=0;frm5/chk5=1;frm6/chkCLI=0"_s;
    QTest::newRow("CLI stored apart from in use")
        << QByteArray("[frm6]\nchk6=1\nchkCLI=0") << u""_s << u"frm6/chk6=1;frm6/chkCLI=1"_s;
    QTest::newRow("CLI greyed in the file")
        << QByteArray("[frm6]\nchk6=1\nchkCLI=2") << u""_s << u"frm6/chkCLI=1"_s;
    QTest::newRow("CLI without in use")
        << QByteArray("[frm6]\nchk6=ja\nchkCLI=1") << u""_s << u"frm6/chk6=0;frm6/chkCLI=0"_s;
    // Clamped on the inputs T1/T2 page, reset to 50 on the ADC page; only digits, three at most.
    QTest::newRow("limits")
        << QByteArray(
               "[frm2]\ntxtwert(1)=1234\ntxtwert(2)=-7\n[frm5]\ntxtwert=101\n[frm4]\ntxtSMS(1)=Relais=1x!")
        << u""_s << u"frm2/txtwert(1)=100;frm2/txtwert(2)=7;frm5/txtwert=50;frm4/txtSMS(1)=Relais=1"_s;
    QTest::newRow("edits: in use") << QByteArray()
                                   << u"frm6/chk6=1;frm4/chk4(2)=2;frm2/chk2(2)=1;frm2/chk2(2)=2"_s
                                   << u"frm6/chkCLI=1;frm4/chk4(2)=0;frm2/chk2(2)=0"_s;
    QTest::newRow("edits: greyed after ticked")
        << QByteArray("[frm6]\nchk6=1") << u"frm6/chk6=2"_s << u"frm6/chk6=0;frm6/chkCLI=0"_s;
}

void tst_EventModel::loadAndEdit()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, edits);
    QFETCH(QString, expected);

    Configuration configuration = Configuration::fromDocument(IniDocument::fromBytes(file));
    ConfigurationEditor editor(configuration);
    for (const QString &edit : edits.split(u';', Qt::SkipEmptyParts)) {
        const int field = fieldOf(edit.section(u'=', 0, 0));
        const QString value = edit.section(u'=', 1);
        if (configurationFields()[size_t(field)].kind == ValueKind::Text)
            editor.setText(field, value);
        else
            editor.setState(field, value.toInt());
    }
    QStringList found;
    for (const QString &entry : expected.split(u';'))
        found << describe(configuration, entry.section(u'=', 0, 0));
    QCOMPARE(found, expected.split(u';'));
}

// Whatever a file holds: no "Belegt" box stays greyed, the PWM page's hidden box equals its "Belegt" box,
// each option group has one choice, the limits lie in 0..100, and the file the configuration writes reads
// back as the same configuration.
void tst_EventModel::randomFilesKeepThePageRules()
{
    const QStringList pages = { u"frm2"_s, u"frm3"_s, u"frm4"_s, u"frm5"_s, u"frm6"_s };
    for (quint32 seed = 1; seed <= 400; ++seed) {
        const Configuration model = Configuration::fromDocument(randomSettings(seed));
        const QString where = u"seed %1"_s.arg(seed);
        for (const QString &box : kInUseBoxes)
            QVERIFY2(model.state(fieldOf(box)) <= 1, qPrintable(where + u' ' + box));
        QCOMPARE(model.value(u"frm6", u"chkCLI"), model.value(u"frm6", u"chk6"));
        QVERIFY(model.isEnabled(fieldOf(u"frm2/chk2(2)"_s)));
        for (const QString &limit : { u"frm2/txtwert(1)"_s, u"frm2/txtwert(2)"_s, u"frm5/txtwert"_s }) {
            bool number = false;
            const int value = model.value(fieldOf(limit)).toInt(&number);
            QVERIFY2(number && value >= 0 && value <= 100, qPrintable(where + u' ' + describe(model, limit)));
        }
        const Configuration reread = Configuration::fromDocument(model.toDocument());
        const std::span<const ConfigField> fields = configurationFields();
        QHash<QString, int> chosen; // option group -> options selected
        for (int i = 0; i < int(fields.size()); ++i) {
            const ConfigField &field = fields[size_t(i)];
            if (!pages.contains(QString::fromUtf16(field.section)))
                continue;
            QVERIFY2(
                reread.value(i) == model.value(i), qPrintable(where + u" reread "_s + field.settingsKey()));
            if (field.kind == ValueKind::Option)
                chosen[field.settingsKey().section(u'/', 0, 0) + QString::number(field.group)]
                    += model.state(i);
        }
        for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
            QVERIFY2(it.value() == 1, qPrintable(where + u" group "_s + it.key()));
    }
}

QTEST_GUILESS_MAIN(tst_EventModel)
#include "tst_eventmodel.moc"
