// The series window and the comparison window as a user drives them: a units file opened through the file
// dialog, each unit sent through the communication page's port to the module simulator on a pseudo-terminal,
// and the upload log that every upload from the window writes.

#include "cli/commandline.h"
#include "comm/frm8.h"
#include "comm/uploadlog.h"
#include "comm/uploadreport.h"
#include "core/appsetup.h"
#include "core/configfields.h"
#include "core/configurationmodel.h"
#include "core/cp1252.h"
#include "core/inifile.h"
#include "core/parameterrecord.h"
#include "core/recordtable.h"
#include "core/unitsfile.h"
#include "l10n/unitstexts.h"
#include "shell/comparewindow.h"
#include "shell/configfiles.h"
#include "shell/configuration.h"
#include "shell/frmstart.h"
#include "shell/serieswindow.h"
#include "shell/windowcatalog.h"
#include "support/fasttimeouts.h"
#include "support/testfiles.h"
#include "support/testsupport.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

QStringList simArguments(const QStringList &extra = {})
{
    return QStringList { u"--announce-ms"_s, u"30"_s, u"--abandon-ms"_s, u"0"_s, u"--quiet-log"_s } + extra;
}

// Three units, each with its own name and PIN.
const QByteArray kThreeUnits = "unit;frm1/txtbez;frm1/txtsim\r\n"
                               "Pumpe 1;Nord 1;1111\r\n"
                               "Pumpe 2;Nord 2;2222\r\n"
                               "Pumpe 3;Nord 3;3333\r\n";

QLineEdit *pageText(const char *page, const char *name)
{
    return WindowRegistry::instance()
        .window(QString::fromLatin1(page))
        ->controlAs<QLineEdit>(QString::fromLatin1(name));
}

void setLanguage(const QString &code)
{
    pageText("frm1", "language")->setText(code);
}

// The field's text in a record, by its place in the record table.
QString recordField(const QString &record, const QString &section, const QString &field)
{
    for (const RecordField &f : parameterRecordFields()) {
        if (f.section == section && f.field == field)
            return record.mid(f.offset, f.width);
    }
    return {};
}

// The lines of the upload log after its header, each split into its columns.
QList<QStringList> logLines(const QString &path)
{
    QList<QStringList> lines;
    const QStringList all = QString::fromUtf8(fileBytes(path)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < all.size(); ++i)
        lines.append(all.at(i).split(u','));
    return lines;
}

QString sha256(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

enum LogColumn { Time, Version, Port, Unit, Settings, Hash, Outcome, Exit, Seconds };

} // namespace

class tst_SeriesWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unitAfterUnitEachGetsItsOwnRecord();
    void refusedFileListsItsProblemsAndSendsNothing();
    void failedUploadStaysOnTheUnit_data();
    void failedUploadStaysOnTheUnit();
    void pageUploadIsLoggedWithoutUnit();
    void unwritableLogIsSaidOnceAndUploadsGoOn();
    void outcomesGiveTheCommandsExitStatus();
    void comparisonListsExactlyTheFieldsThatDiffer();
    void unusableFileIsRefusedAsOpenRefusesIt();
    void menuOffersBothEntriesInEveryLanguage();

private:
    void setUpWindows(const LinkTimeouts &timeouts = fastTimeouts());
    FrmStart *start();
    Frm8 *page() { return WindowRegistry::instance().get<Frm8>(u"frm8"_s); }
    SeriesWindow *openSeries(const QByteArray &units);
    bool startSim(const QStringList &extra = {}) { return m_sim->start(simArguments(extra)); }
    // The record the unit of that row must receive: its row over the pages' configuration.
    QString expectedRecord(const SeriesWindow *series, int row) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SimProcess> m_sim;
    QString m_log;
    QString m_nextFile; // what the file dialog answers next
    QStringList m_messages;
};

void tst_SeriesWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    AppSetup::setUpApplication({ m_dir->path() });
    m_log = m_dir->filePath(u"uploads.csv"_s);
    m_messages.clear();
    m_nextFile.clear();
    m_sim = std::make_unique<SimProcess>();
}

void tst_SeriesWindow::cleanup()
{
    WindowRegistry::instance().reset();
    m_sim.reset();
    AppSetup::setUpApplication();
}

void tst_SeriesWindow::setUpWindows(const LinkTimeouts &timeouts)
{
    ProgramWindowOptions options;
    options.dialogs.showMessage
        = [this](QWidget *, const QString &, const QString &text) { m_messages.append(text); };
    options.dialogs.openFileName
        = [this](QWidget *, const QString &, const QString &, const QString &) { return m_nextFile; };
    options.frm8.timeouts = timeouts;
    options.frm8.uploadLogPath = m_log;
    const QString device = m_sim->devicePath();
    options.frm8.discoverPorts = [device] {
        return device.isEmpty() ? QList<PortEntry> {} : QList<PortEntry> { PortCatalog::entryFor(device) };
    };
    registerProgramWindows(options);
}

FrmStart *tst_SeriesWindow::start()
{
    auto *w = WindowRegistry::instance().get<FrmStart>(u"frmStart"_s);
    w->setQuitHandler([] {});
    if (!w->isVisible()) {
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            qWarning("the start window did not become active");
    }
    return w;
}

SeriesWindow *tst_SeriesWindow::openSeries(const QByteArray &units)
{
    m_nextFile = m_dir->filePath(u"units.csv"_s);
    putFile(m_nextFile, units);
    FrmStart *w = start();
    QTest::keySequence(w, FrmStart::seriesShortcut());
    SeriesWindow *series = w->seriesWindow();
    if (!series || !series->isVisible())
        return nullptr;
    QTest::mouseClick(series->openButton(), Qt::LeftButton);
    return series;
}

QString tst_SeriesWindow::expectedRecord(const SeriesWindow *series, int row) const
{
    return BuildParameterRecord(unitConfiguration(
        ConfigurationModel::program().configuration().toDocument(), series->unitsFile().rows.at(row)));
}

void tst_SeriesWindow::unitAfterUnitEachGetsItsOwnRecord()
{
    QVERIFY(startSim());
    setUpWindows();
    SeriesWindow *series = openSeries(kThreeUnits);
    QVERIFY(series);
    setLanguage(u"1"_s);
    pageText("frm1", "txtbez")->setText(u"Pages"_s);
    QCOMPARE(series->unitsTable()->rowCount(), 3);
    QCOMPARE(series->unitsTable()->item(1, 0)->text(), u"Pumpe 2"_s);
    QCOMPARE(series->unitsTable()->item(1, 2)->text(), u"waiting"_s);
    QVERIFY(series->portLine()->text().contains(m_sim->devicePath()));
    QCOMPARE(series->selectedRow(), 0);

    QByteArray received;
    for (int row = 0; row < 2; ++row) {
        const QString record = expectedRecord(series, row);
        QCOMPARE(record.size(), kParameterRecordLength);
        QVERIFY(series->sendButton()->isEnabled());
        // The first by the button, the next by Enter in the list, as a technician goes on.
        if (row == 0)
            QTest::mouseClick(series->sendButton(), Qt::LeftButton);
        else
            QTest::keyClick(series->unitsTable(), Qt::Key_Return);
        QVERIFY(series->sending());
        QVERIFY(!series->sendButton()->isEnabled());
        QCOMPARE(series->unitsTable()->item(row, 2)->text(), u"sending"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!series->sending(), 10000);

        received += "D" + toCp1252(record);
        QVERIFY(m_sim->waitForRecorded(received.size()));
        QCOMPARE(m_sim->recordedBytes(), received);
        // The unit's own values, never the pages' or another unit's.
        QCOMPARE(recordField(record, u"frm1"_s, u"txtbez"_s).trimmed(), u"Nord %1"_s.arg(row + 1));
        QCOMPARE(series->states().at(row).state, SeriesWindow::State::Programmed);
        QVERIFY(series->states().at(row).time.isValid());
        QCOMPARE(series->unitsTable()->item(row, 2)->text(), u"programmed"_s);
        QCOMPARE(series->unitsTable()->item(row, 3)->text(), series->states().at(row).time.toString(u"HH:mm:ss"_s));
        QCOMPARE(series->selectedRow(), row + 1);

        const QList<QStringList> lines = logLines(m_log);
        QCOMPARE(lines.size(), row + 1);
        const QStringList &line = lines.last();
        QCOMPARE(line.at(Unit), u"Pumpe %1"_s.arg(row + 1));
        QCOMPARE(line.at(Port), m_sim->devicePath());
        QCOMPARE(line.at(Hash), sha256(toCp1252(record)));
        QCOMPARE(line.at(Outcome), u"success"_s);
        QCOMPARE(line.at(Exit), u"0"_s);
        QCOMPARE(line.at(Settings), QFileInfo(IniFilePath()).absoluteFilePath());
    }
    QCOMPARE(series->unitsTable()->item(2, 2)->text(), u"waiting"_s);
    // The pages keep their own configuration.
    QCOMPARE(pageText("frm1", "txtbez")->text(), u"Pages"_s);

    // The window follows the language.
    setLanguage(u"0"_s);
    QCOMPARE(series->unitsTable()->item(0, 2)->text(), u"programmiert"_s);
    QCOMPARE(series->unitsTable()->horizontalHeaderItem(0)->text(), u"Einheit"_s);
    QCOMPARE(series->sendButton()->text(), u"Senden"_s);
    setLanguage(u"2"_s);
    QCOMPARE(series->unitsTable()->item(2, 2)->text(), u"en attente"_s);
    QCOMPARE(series->windowTitle(), u"GSM - Série"_s);
}

void tst_SeriesWindow::refusedFileListsItsProblemsAndSendsNothing()
{
    QVERIFY(startSim());
    setUpWindows();
    // An unknown column, a PIN with a letter, and a unit named twice.
    SeriesWindow *series = openSeries("unit;frm1/txtsim;frm1/nosuch\r\n"
                                      "A;12x4;1\r\n"
                                      "B;1234;2\r\n"
                                      "a;1234;3\r\n");
    QVERIFY(series);
    const UnitsFile &units = series->unitsFile();
    QVERIFY(units.problems.size() >= 3);
    QVERIFY(series->problemsTable()->isVisible());
    QVERIFY(!series->unitsTable()->isVisible());
    QCOMPARE(series->problemsTable()->rowCount(), units.problems.size());
    for (int row = 0; row < units.problems.size(); ++row)
        QCOMPARE(series->problemsTable()->item(row, 0)->text(), unitsProblemText(units.problems.at(row)));
    QVERIFY(!series->sendButton()->isEnabled());
    series->sendSelected();
    QVERIFY(!series->sending());
    QVERIFY(!page()->uploadRunning());
    QTest::qWait(200);
    QVERIFY(m_sim->recordedBytes().isEmpty());
    QVERIFY(!QFile::exists(m_log));

    // The same file put right is taken, with the units listed instead.
    putFile(m_nextFile, kThreeUnits);
    QTest::mouseClick(series->openButton(), Qt::LeftButton);
    QVERIFY(!series->problemsTable()->isVisible());
    QCOMPARE(series->unitsTable()->rowCount(), 3);
    QVERIFY(series->sendButton()->isEnabled());
}

void tst_SeriesWindow::failedUploadStaysOnTheUnit_data()
{
    QTest::addColumn<QStringList>("scenario");
    QTest::addColumn<bool>("closePage");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<int>("exit");

    QTest::newRow("wrong version") << QStringList { u"--scenario"_s, u"wrong-version"_s } << false
                                   << u"Wrong version !"_s << u"wrong-version"_s << 6;
    QTest::newRow("no module") << QStringList { u"--scenario"_s, u"silent"_s } << false
                               << u"No response from module !"_s << u"no-answer"_s << 5;
    QTest::newRow("page closed while searching") << QStringList { u"--scenario"_s, u"silent"_s } << true
                                                 << u"cancelled"_s << u"cancelled"_s << 130;
    QTest::newRow("block not acknowledged")
        << QStringList { u"--scenario"_s, u"wrong-ack"_s, u"--block"_s, u"2"_s } << false
        << u"Data not sent complete ! Switch module off and send data again !"_s << u"incomplete"_s << 7;
}

void tst_SeriesWindow::failedUploadStaysOnTheUnit()
{
    QFETCH(QStringList, scenario);
    QFETCH(bool, closePage);
    QFETCH(QString, reason);
    QFETCH(QString, outcome);
    QFETCH(int, exit);

    QVERIFY(startSim(scenario));
    LinkTimeouts timeouts = fastTimeouts();
    timeouts.uploadSearch = closePage ? 10s : 300ms;
    setUpWindows(timeouts);
    SeriesWindow *series = openSeries(kThreeUnits);
    QVERIFY(series);
    setLanguage(u"1"_s);
    series->selectRow(1);
    const QString record = expectedRecord(series, 1);
    QTest::mouseClick(series->sendButton(), Qt::LeftButton);
    QVERIFY(series->sending());
    // Nothing else is sent while it runs, from the window or the page.
    QVERIFY(!series->sendButton()->isEnabled());
    QVERIFY(!page()->startUnitUpload(u"other"_s, [] { return QString(kParameterRecordLength, u'x'); }));
    if (closePage) {
        // The user closes the communication page while it searches.
        page()->show();
        page()->close();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!series->sending(), 10000);

    QCOMPARE(series->states().at(1).state, SeriesWindow::State::Failed);
    QCOMPARE(series->unitsTable()->item(1, 2)->text(), u"failed"_s);
    QCOMPARE(series->unitsTable()->item(1, 3)->text(), reason);
    QVERIFY(series->statusLine()->text().contains(reason));
    QCOMPARE(series->selectedRow(), 1);
    QVERIFY(series->sendButton()->isEnabled());
    const QList<QStringList> lines = logLines(m_log);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).at(Unit), u"Pumpe 2"_s);
    QCOMPARE(lines.at(0).at(Hash), sha256(toCp1252(record)));
    QCOMPARE(lines.at(0).at(Outcome), outcome);
    QCOMPARE(lines.at(0).at(Exit), QString::number(exit));
}

void tst_SeriesWindow::pageUploadIsLoggedWithoutUnit()
{
    QVERIFY(startSim());
    setUpWindows();
    FrmStart *w = start();
    // With a configuration named in the title, the log names that file.
    const QString configuration = m_dir->filePath(u"Kunde A.ini"_s);
    putFile(configuration, "[frm1]\r\ntxtbez=Kunde A\r\nlanguage=1\r\n");
    QVERIFY(w->configurationFiles()->openConfiguration(configuration));
    Frm8 *communication = page();
    communication->controlAs<QPushButton>(u"cmd"_s)->click();
    QTRY_VERIFY_WITH_TIMEOUT(!communication->uploadRunning(), 10000);
    QVERIFY(m_sim->waitForRecorded(1 + kParameterRecordLength));
    const QList<QStringList> lines = logLines(m_log);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).at(Unit), QString());
    QCOMPARE(lines.at(0).at(Settings), QFileInfo(configuration).absoluteFilePath());
    QCOMPARE(lines.at(0).at(Hash), sha256(m_sim->recordedBytes().mid(1)));
    QCOMPARE(lines.at(0).at(Outcome), u"success"_s);
    QCOMPARE(lines.at(0).count(), Seconds + 1);
    bool number = false;
    QVERIFY(lines.at(0).at(Seconds).toDouble(&number) >= 0 && number);
}

void tst_SeriesWindow::unwritableLogIsSaidOnceAndUploadsGoOn()
{
    QVERIFY(startSim());
    // A folder where the log should be: it can never be written.
    QVERIFY(QDir().mkpath(m_log));
    setUpWindows();
    SeriesWindow *series = openSeries(kThreeUnits);
    QVERIFY(series);
    setLanguage(u"1"_s);
    QTest::mouseClick(series->sendButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!series->sending(), 10000);
    QCOMPARE(series->states().at(0).state, SeriesWindow::State::Programmed);
    const QString note = u"Note: the upload log cannot be written"_s;
    QVERIFY2(page()->meldText().contains(note), qPrintable(page()->meldText()));
    QVERIFY(page()->meldText().contains(QDir::toNativeSeparators(m_log)));
    QVERIFY(series->statusLine()->text().contains(note));
    QVERIFY(m_messages.isEmpty());

    // Said once a run: the next upload goes on without the note.
    QTest::mouseClick(series->sendButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!series->sending(), 10000);
    QCOMPARE(series->states().at(1).state, SeriesWindow::State::Programmed);
    QVERIFY(!page()->meldText().contains(note));
    QVERIFY(!series->statusLine()->text().contains(note));
    QVERIFY(m_sim->waitForRecorded(2 * (1 + kParameterRecordLength)));
}

void tst_SeriesWindow::outcomesGiveTheCommandsExitStatus()
{
    using S = UploadSession::Outcome;
    using L = UploadLog::Outcome;
    const struct
    {
        S session;
        L log;
        int exit;
    } table[] = {
        { S::Success, L::Success, ExitCode::kSuccess },
        { S::NoAnswer, L::NoAnswer, ExitCode::kNoAnswer },
        { S::PortOpenFailed, L::PortOpenFailed, ExitCode::kNoPort },
        { S::WrongVersion, L::WrongVersion, ExitCode::kWrongVersion },
        { S::IncompleteTransfer, L::IncompleteTransfer, ExitCode::kIncompleteTransfer },
        { S::PortLost, L::PortLost, ExitCode::kPortLost },
    };
    for (const auto &row : table) {
        QCOMPARE(UploadOutcome::forSession(row.session, false), row.log);
        QCOMPARE(UploadOutcome::exitStatus(row.log), row.exit);
        // Stopped by the user, whatever the session saw, unless it had already succeeded.
        QCOMPARE(UploadOutcome::forSession(row.session, true), row.session == S::Success ? L::Success : L::Cancelled);
    }
    QCOMPARE(UploadOutcome::exitStatus(L::Cancelled), ExitCode::kInterrupted);
}

void tst_SeriesWindow::comparisonListsExactlyTheFieldsThatDiffer()
{
    setUpWindows();
    FrmStart *w = start();
    setLanguage(u"1"_s);
    pageText("frm1", "txtbez")->setText(u"Pumpe 3"_s);
    // The file differs in the name (a record field) and in the language (stored, not sent).
    IniDocument file = ConfigurationModel::program().configuration().toDocument();
    file.setValue(u"frm1"_s, u"txtbez"_s, u"Pumpe 4"_s);
    file.setValue(u"frm1"_s, u"language"_s, u"2"_s);
    m_nextFile = m_dir->filePath(u"other.ini"_s);
    putFile(m_nextFile, file.toBytes());

    QTest::keySequence(w, FrmStart::compareShortcut());
    CompareWindow *compare = w->compareWindow();
    QVERIFY(compare && compare->isVisible());
    QTableWidget *record = compare->recordTable();
    QCOMPARE(record->rowCount(), 1);
    const int offset = record->item(0, 2)->text().toInt();
    const int width = record->item(0, 3)->text().toInt();
    QCOMPARE(record->item(0, 0)->text(), u"General Settings"_s);
    QCOMPARE(record->item(0, 1)->text(), u"txtbez"_s);
    const QString pages = BuildParameterRecord(ConfigurationModel::program().configuration());
    QCOMPARE(record->item(0, 4)->text(), u"\""_s + pages.mid(offset, width) + u"\""_s);
    QVERIFY(record->item(0, 5)->text().contains(u"Pumpe 4"_s));
    QTableWidget *stored = compare->storedTable();
    QCOMPARE(stored->rowCount(), 1);
    QCOMPARE(stored->item(0, 1)->text(), u"language"_s);
    QCOMPARE(stored->item(0, 2)->text(), u"1"_s);
    QCOMPARE(stored->item(0, 3)->text(), u"2"_s);
    QCOMPARE(compare->summary()->text(), u"1 record fields and 1 further stored values differ."_s);

    // The page names follow the language.
    setLanguage(u"0"_s);
    QCOMPARE(record->item(0, 0)->text(), u"Allgemeine Einstellungen"_s);
    QCOMPARE(record->horizontalHeaderItem(5)->text(), u"In der Datei"_s);
    setLanguage(u"2"_s);
    QCOMPARE(record->item(0, 0)->text(), u"Réglages principaux"_s);

    // The pages made equal to the file: no differences, said as such.
    pageText("frm1", "txtbez")->setText(u"Pumpe 4"_s);
    QTest::mouseClick(compare->findChild<QPushButton *>(u"compareAgain"_s), Qt::LeftButton);
    QCOMPARE(compare->recordTable()->rowCount(), 0);
    QCOMPARE(compare->storedTable()->rowCount(), 0);
    QCOMPARE(compare->summary()->text(), u"Aucune différence."_s);
}

void tst_SeriesWindow::unusableFileIsRefusedAsOpenRefusesIt()
{
    setUpWindows();
    FrmStart *w = start();
    setLanguage(u"1"_s);
    m_nextFile = m_dir->filePath(u"notes.ini"_s);
    putFile(m_nextFile, "just some notes\r\n");
    w->chooseComparison();
    QCOMPARE(m_messages, QStringList { configurationRefusedText(SettingsFileProblem::NoKnownSection, m_nextFile) });
    QVERIFY(!w->compareWindow()->isVisible());
    m_nextFile = m_dir->filePath(u"missing.ini"_s);
    w->chooseComparison();
    QCOMPARE(m_messages.size(), 2);
    QCOMPARE(m_messages.at(1), configurationRefusedText(SettingsFileProblem::Missing, m_nextFile));
}

void tst_SeriesWindow::menuOffersBothEntriesInEveryLanguage()
{
    setUpWindows();
    FrmStart *w = start();
    const struct
    {
        const char *code;
        QString series;
        QString compare;
    } languages[] = {
        { "0", u"Serie…"_s, u"Mit Konfiguration vergleichen…"_s },
        { "1", u"Series…"_s, u"Compare with configuration…"_s },
        { "2", u"Série…"_s, u"Comparer avec une configuration…"_s },
    };
    for (const auto &language : languages) {
        setLanguage(QString::fromLatin1(language.code));
        std::unique_ptr<QMenu> menu(w->configurationFiles()->createContextMenu(w));
        QAction *series = menu->findChild<QAction *>(u"series"_s);
        QAction *compare = menu->findChild<QAction *>(u"compare"_s);
        QVERIFY(series && compare);
        QCOMPARE(series->text(), language.series);
        QCOMPARE(series->shortcut(), FrmStart::seriesShortcut());
        QCOMPARE(compare->text(), language.compare);
        QCOMPARE(compare->shortcut(), FrmStart::compareShortcut());
        // Below the entries for configurations, as their neighbours.
        const QList<QAction *> actions = menu->actions();
        QVERIFY(actions.indexOf(series) > 1 && actions.indexOf(compare) == actions.indexOf(series) + 1);
    }
    std::unique_ptr<QMenu> menu(w->configurationFiles()->createContextMenu(w));
    menu->findChild<QAction *>(u"series"_s)->trigger();
    QVERIFY(w->seriesWindow() && w->seriesWindow()->isVisible());
    QCOMPARE(w->seriesWindow()->parentWidget(), w);
    QVERIFY(!w->seriesWindow()->sendButton()->isEnabled());
}

QTEST_MAIN(tst_SeriesWindow)
#include "tst_serieswindow.moc"
