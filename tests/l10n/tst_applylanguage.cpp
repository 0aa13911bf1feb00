#include "l10n/applylanguage.h"
#include "l10n/captiontable.h"
#include "window/formwindow.h"
#include "window/settingsfile.h"
#include "window/help.h"
#include "window/windowregistry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

namespace {

const QStringList kWindows = { QStringLiteral("frmStart"), QStringLiteral("frm1"), QStringLiteral("frm2"),
    QStringLiteral("frm3"), QStringLiteral("frm4"), QStringLiteral("frm5"), QStringLiteral("frm6"),
    QStringLiteral("frm7"), QStringLiteral("frm8"), QStringLiteral("frm9") };

QStringList g_created; // windows in the order they were created

// A window holding a control of a fitting kind for every entry the table has for it, with its design text.
class CaptionedWindow : public FormWindow
{
public:
    explicit CaptionedWindow(const QString &name, const QString &skip)
        : FormWindow(name)
    {
        g_created.append(name);
        if (name == u"frm1")
            add(new QLineEdit(QStringLiteral("1"), this), QStringLiteral("language"));
        for (const CaptionEntry &entry : captionTable()) {
            const QString control = entry.control.toString();
            if (entry.window != name || control == skip || findRef(control, entry.index))
                continue;
            add(makeControl(entry), control, entry.index);
        }
    }

private:
    QWidget *makeControl(const CaptionEntry &entry)
    {
        const QString design = QStringLiteral("design");
        if (entry.property == CaptionProperty::Text || entry.control.startsWith(u"txt"))
            return new QLineEdit(design, this);
        if (entry.control.startsWith(u"Frame"))
            return new QGroupBox(design, this);
        if (entry.control.startsWith(u"chk"))
            return new QCheckBox(design, this);
        if (entry.control.startsWith(u"opt", Qt::CaseInsensitive))
            return new QRadioButton(design, this);
        if (entry.control.startsWith(u"Check") || entry.control.startsWith(u"cmd"))
            return new QPushButton(design, this);
        return new QLabel(design, this);
    }
};

QString g_skipped; // "window/control" the next windows are built without

void registerWindows()
{
    for (const QString &name : kWindows) {
        WindowRegistry::instance().registerFactory(name, [name] {
            const QStringList skip = g_skipped.split(u'/');
            auto *window = new CaptionedWindow(name, skip.value(0) == name ? skip.value(1) : QString());
            // As a page does: the language box is the configuration's.
            bindToConfiguration(window);
            return window;
        });
    }
    // As the program does: a window built later takes the captions of the language in force.
    WindowRegistry::instance().setCreationHook([](FormWindow *window) { applyLanguageTo(window); });
}

// The control, its window built on the way when it is not yet.
QWidget *controlOf(const CaptionEntry &entry)
{
    FormWindow *window = WindowRegistry::instance().window(entry.window.toString());
    return window ? window->control(entry.control.toString(), entry.index) : nullptr;
}

QString shownText(const CaptionEntry &entry)
{
    QWidget *widget = controlOf(entry);
    switch (entry.property) {
    case CaptionProperty::ToolTipText:
        return widget->toolTip();
    case CaptionProperty::Text:
        return qobject_cast<QLineEdit *>(widget)->text();
    case CaptionProperty::Caption:
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            return button->text();
        if (auto *frame = qobject_cast<QGroupBox *>(widget))
            return frame->title();
        return qobject_cast<QLabel *>(widget)->text();
    case CaptionProperty::HelpFile:
        return helpFile();
    }
    return {};
}

QLineEdit *languageBox()
{
    return WindowRegistry::instance()
        .window(QStringLiteral("frm1"))
        ->controlAs<QLineEdit>(QStringLiteral("language"));
}

// Every entry shows the text of that language (later entries for the same control and property win).
void verifyLanguage(int code)
{
    QHash<QString, QString> expected;
    for (const CaptionEntry &entry : captionTable()) {
        expected.insert(
            entry.window.toString() + u'/' + entry.controlKey() + u'/' + QString::number(int(entry.property)),
            entry.text(code));
    }
    for (const CaptionEntry &entry : captionTable()) {
        const QString id = entry.window.toString() + u'/' + entry.controlKey() + u'/'
            + QString::number(int(entry.property));
        QVERIFY2(entry.isHelpFile() || controlOf(entry), qPrintable(id));
        QCOMPARE(shownText(entry), expected.value(id));
    }
}

} // namespace

class tst_ApplyLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerWindows(); }
    void init()
    {
        g_created.clear();
        g_skipped.clear();
        setHelpFile(QStringLiteral("unchanged"), QStringLiteral("unchanged"));
    }
    void cleanup() { WindowRegistry::instance().reset(); }

    void designCodeAppliesEnglishToEveryWindowBuilt();
    void languageButtonCyclesThroughAllThree();
    void applyingTwiceLeavesTheSameTexts();
    void unknownCodeWritesAndCreatesNothing_data();
    void unknownCodeWritesAndCreatesNothing();
    void languageButtonMendsUnknownCodes_data();
    void languageButtonMendsUnknownCodes();
    void missingControlDoesNotStopTheRest();
};

void tst_ApplyLanguage::designCodeAppliesEnglishToEveryWindowBuilt()
{
    // Applying the language builds no window; each one built afterwards shows the language in force.
    ApplyLanguage();
    QVERIFY(g_created.isEmpty());
    QCOMPARE(helpFile(), QStringLiteral("\\GSM_HELP.CHM"));
    verifyLanguage(1);
    QCOMPARE(g_created.size(), kWindows.size());
}

void tst_ApplyLanguage::languageButtonCyclesThroughAllThree()
{
    languageBox()->setText(QStringLiteral("0"));
    ApplyLanguage();
    verifyLanguage(0);
    QCOMPARE(helpFile(), QStringLiteral("\\GSM_HILFE.CHM"));

    for (int expected : { 1, 2, 0 }) {
        NextLanguage();
        QCOMPARE(languageBox()->text(), QString::number(expected));
        verifyLanguage(expected);
        QCOMPARE(
            helpFile(), expected == 1 ? QStringLiteral("\\GSM_HELP.CHM") : QStringLiteral("\\GSM_HILFE.CHM"));
    }
}

void tst_ApplyLanguage::applyingTwiceLeavesTheSameTexts()
{
    languageBox()->setText(QStringLiteral("2"));
    ApplyLanguage();
    ApplyLanguage();
    verifyLanguage(2);
}

void tst_ApplyLanguage::unknownCodeWritesAndCreatesNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("3") << "3";
    QTest::newRow("negative") << "-1";
    QTest::newRow("not a number") << "x";
    QTest::newRow("empty") << "";
}

void tst_ApplyLanguage::unknownCodeWritesAndCreatesNothing()
{
    QFETCH(QString, code);
    languageBox()->setText(code);
    ApplyLanguage();
    QCOMPARE(g_created, QStringList { QStringLiteral("frm1") });
    QCOMPARE(helpFile(), QStringLiteral("unchanged"));
    QCOMPARE(languageBox()->text(), code);

    // Windows that exist keep what they show.
    FormWindow *start = WindowRegistry::instance().window(QStringLiteral("frmStart"));
    ApplyLanguage();
    QCOMPARE(start->controlAs<QPushButton>(QStringLiteral("Check"), 1)->text(), QStringLiteral("design"));
}

void tst_ApplyLanguage::languageButtonMendsUnknownCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("next");
    QTest::newRow("2 or more gives German") << "7" << 0;
    QTest::newRow("negative gives German") << "-3" << 0;
    QTest::newRow("not a number gives English") << "x" << 1;
}

void tst_ApplyLanguage::languageButtonMendsUnknownCodes()
{
    QFETCH(QString, code);
    QFETCH(int, next);
    languageBox()->setText(code);
    NextLanguage();
    QCOMPARE(languageBox()->text(), QString::number(next));
    verifyLanguage(next);
}

void tst_ApplyLanguage::missingControlDoesNotStopTheRest()
{
    g_skipped = QStringLiteral("frm8/Text4");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("frm8.*Text4")));
    ApplyLanguage();
    WindowRegistry::instance().window(QStringLiteral("frm8"));

    FormWindow *frm9 = WindowRegistry::instance().window(QStringLiteral("frm9"));
    QVERIFY(frm9);
    QCOMPARE(frm9->controlAs<QLineEdit>(QStringLiteral("txtErr"))->toolTip(),
        QStringLiteral(" content of SMS if command is wrong"));
}

QTEST_MAIN(tst_ApplyLanguage)
#include "tst_applylanguage.moc"
