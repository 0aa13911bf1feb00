#include "comm/registrycontrolvalues.h"
#include "core/appsetup.h"
#include "core/configfields.h"
#include "core/configurationmodel.h"
#include "core/inifile.h"
#include "core/parameterrecord.h"
#include "shell/windowcatalog.h"
#include "support/controldump.h"
#include "support/randomsettings.h"
#include "window/formwindow.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// What the program shows, saves and sends for a settings file stays what it was when every page was built at
// start-up and the file was read control by control: tests/data/pageequality holds that program's answers
// for the design values and 59 random files (the saved file and the record of each, and every control of
// every page for the first four). RM425T_WRITE_PAGE_EQUALITY=FOLDER writes this program's answers there.
namespace {

constexpr int kSeeds = 60;
constexpr int kDumpedSeeds = 4;

struct Answers
{
    QByteArray saved;
    QByteArray controls;
};

Answers answersOf(const QString &settingsPath)
{
    Answers answers;
    for (int seed = 0; seed < kSeeds; ++seed) {
        const IniDocument document = seed == 0 ? IniDocument() : randomSettings(quint32(seed));
        if (!writeIniFileAtomically(settingsPath, document, nullptr, {}))
            qFatal("cannot write %s", qPrintable(settingsPath));
        WindowRegistry::instance().reset();
        registerProgramWindows();
        // A start of the program, then every page opened once.
        WindowRegistry::instance().window(u"frmStart"_s);
        const IniDocument configuration = ConfigurationModel::program().configuration().toDocument();
        const QString modelRecord = BuildParameterRecord(ConfigurationModel::program().configuration());
        QList<FormWindow *> pages;
        for (const QString &name : configurationSections())
            pages.append(WindowRegistry::instance().window(name));
        const QByteArray saved = documentOfWindows(pages).toBytes();
        const QString record = BuildParameterRecord(RegistryControlValues());
        // The configuration held the same before any page was built, and still does.
        if (configuration.toBytes() != saved || modelRecord != record
            || ConfigurationModel::program().configuration().toDocument().toBytes() != saved)
            qWarning("seed %d: the pages differ from the configuration they were built from", seed);
        const QByteArray header = "== seed " + QByteArray::number(seed) + "\n";
        answers.saved += header + saved + "record: " + record.toUtf8() + "\n";
        if (seed < kDumpedSeeds) {
            answers.controls += header;
            for (FormWindow *page : pages)
                answers.controls += controlDump(page).join(u'\n').toUtf8() + "\n";
        }
    }
    WindowRegistry::instance().reset();
    return answers;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The first line that differs, for a readable failure.
QString firstDifference(const QByteArray &actual, const QByteArray &expected)
{
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (int i = 0; i < qMax(a.size(), e.size()); ++i) {
        if (a.value(i) != e.value(i))
            return u"line %1:\n  now:    %2\n  before: %3"_s.arg(i + 1).arg(
                QString::fromUtf8(a.value(i)), QString::fromUtf8(e.value(i)));
    }
    return {};
}

} // namespace

class tst_PageEquality : public QObject
{
    Q_OBJECT

private slots:
    void sameAsBefore();
};

void tst_PageEquality::sameAsBefore()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    AppSetup::setUpApplication({ dir.path() });
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(dir.path()); // GSM.DAT and its predecessor stay in here
    const Answers answers = answersOf(dir.filePath(u"ZERiruze.ini"_s));
    QDir::setCurrent(oldCwd);
    AppSetup::setUpApplication();

    const QString write = qEnvironmentVariable("RM425T_WRITE_PAGE_EQUALITY");
    if (!write.isEmpty()) {
        QDir().mkpath(write);
        QFile saved(write + u"/saved.txt"_s), controls(write + u"/controls.txt"_s);
        QVERIFY(saved.open(QIODevice::WriteOnly) && controls.open(QIODevice::WriteOnly));
        saved.write(answers.saved);
        controls.write(answers.controls);
        QSKIP("answers written");
    }
    const QByteArray savedBefore = fileBytes(QStringLiteral(RM425T_PAGE_EQUALITY_DATA "/saved.txt"));
    const QByteArray controlsBefore = fileBytes(QStringLiteral(RM425T_PAGE_EQUALITY_DATA "/controls.txt"));
    QVERIFY(!savedBefore.isEmpty() && !controlsBefore.isEmpty());
    QVERIFY2(answers.saved == savedBefore, qPrintable(firstDifference(answers.saved, savedBefore)));
    QVERIFY2(answers.controls == controlsBefore, qPrintable(firstDifference(answers.controls, controlsBefore)));
}

QTEST_MAIN(tst_PageEquality)
#include "tst_pageequality.moc"
