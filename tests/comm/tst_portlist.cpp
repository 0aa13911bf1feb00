#include "comm/frm8.h"
#include "comm/history.h"
#include "comm/portcatalog.h"
#include "comm/portdiagnosis.h"
#include "comm/portselection.h"
#include "comm/porttexts.h"
#include "comm/seriallink.h"
#include "core/appsetup.h"
#include "l10n/language.h"
#include "l10n/runtimelanguage.h"
#include "shell/windowcatalog.h"
#include "support/fakelink.h"
#include "support/simprocess.h"
#include "support/testfiles.h"
#include "window/settingsfile.h"
#include "window/windowregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The communication page's port list as the user meets it: adapters that come and go while the page is
// shown, ports in use left alone, and ports the user may not open named as such, with what to do.
class tst_PortList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void portsComeAndGoWhileThePageIsShown();
    void thePortInUseIsNeverProbed();
    void refusedPortIsListedAndExplained_data();
    void refusedPortIsListedAndExplained();
    void refusedByTheSystem_data();
    void refusedByTheSystem();
    void portHeldByAnotherProgramIsNeverWritten_data();
    void portHeldByAnotherProgramIsNeverWritten();
    void monitoringGoesOnThroughAReplug();
    void servicesThatGrabAdaptersAreNamed();

private:
    Frm8 *showPage(Frm8Options options);
    QStringList listedPorts() const;
    bool startSim(SimProcess &sim, const QString &link);
    void setExtraPorts(const QStringList &paths);

    QTemporaryDir m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_savedExtraPorts;
    Frm8 *m_page = nullptr;
    QComboBox *m_list = nullptr;
};

namespace {

constexpr auto kRefresh = 100ms;
// What the page promises: a port plugged in or pulled out shows within two seconds.
constexpr int kWithinTwoSeconds = 2000;

const char *accessName(PortCatalog::Access access)
{
    switch (access) {
    case PortCatalog::Access::Usable:
        return "usable";
    case PortCatalog::Access::PermissionDenied:
        return "denied";
    case PortCatalog::Access::Held:
        return "held";
    case PortCatalog::Access::Unusable:
        break;
    }
    return "unusable";
}

} // namespace

void tst_PortList::initTestCase()
{
    QVERIFY(m_settings.isValid());
    AppSetup::setUpApplication({ m_settings.path() });
    m_savedExtraPorts = qgetenv(PortCatalog::kExtraPortsVariable);
}

void tst_PortList::cleanupTestCase()
{
    qputenv(PortCatalog::kExtraPortsVariable, m_savedExtraPorts);
    AppSetup::setUpApplication();
}

void tst_PortList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    registerProgramWindows();
}

void tst_PortList::cleanup()
{
    WindowRegistry::instance().reset();
    m_page = nullptr;
    m_list = nullptr;
    m_dir.reset();
}

Frm8 *tst_PortList::showPage(Frm8Options options)
{
    options.timeouts.search = 2s;
    options.portRefreshInterval = kRefresh;
    WindowRegistry::instance().registerFactory(u"frm8"_s, [options] { return new Frm8(nullptr, options); });
    m_page = WindowRegistry::instance().get<Frm8>(u"frm8"_s);
    m_list = m_page->controlAs<QComboBox>(u"cmbCOM"_s);
    m_page->show();
    m_page->activateWindow();
    if (!QTest::qWaitForWindowActive(m_page))
        return nullptr;
    return m_page;
}

QStringList tst_PortList::listedPorts() const
{
    // The machine's own serial ports are listed too; only the test's count.
    QStringList ports;
    for (int i = 0; i < m_list->count(); ++i) {
        const QString port = m_list->itemData(i).toString();
        if (port.startsWith(m_dir->path()))
            ports << port;
    }
    return ports;
}

bool tst_PortList::startSim(SimProcess &sim, const QString &link)
{
    return sim.start({ u"--link"_s, link, u"--quiet-log"_s, u"--announce-ms"_s, u"50"_s });
}

void tst_PortList::setExtraPorts(const QStringList &paths)
{
    qputenv(PortCatalog::kExtraPortsVariable, paths.join(u':').toLocal8Bit());
}

void tst_PortList::portsComeAndGoWhileThePageIsShown()
{
    const QString a = m_dir->filePath(u"module-a"_s);
    const QString b = m_dir->filePath(u"module-b"_s);
    setExtraPorts({ a, b });
    SimProcess simA;
    QVERIFY(startSim(simA, a));
    QVERIFY(showPage({}));
    QCOMPARE(listedPorts(), QStringList { a });

    // Plugged in: listed, and what the user had chosen stays chosen.
    SimProcess simB;
    QVERIFY(startSim(simB, b));
    QTRY_COMPARE_WITH_TIMEOUT(listedPorts(), (QStringList { a, b }), kWithinTwoSeconds);
    QCOMPARE(m_list->currentData().toString(), a);
    m_list->setCurrentIndex(1);

    // Pulled out: gone, and the choice of the port still there is kept.
    simA.process().kill();
    QVERIFY(simA.waitForExit());
    QTRY_COMPARE_WITH_TIMEOUT(listedPorts(), QStringList { b }, kWithinTwoSeconds);
    QCOMPARE(m_list->currentData().toString(), b);

    simB.process().kill();
    QVERIFY(simB.waitForExit());
    QTRY_VERIFY_WITH_TIMEOUT(listedPorts().isEmpty(), kWithinTwoSeconds);
    m_page->hide();
}

void tst_PortList::thePortInUseIsNeverProbed()
{
    const QString a = m_dir->filePath(u"module-a"_s);
    const QString b = m_dir->filePath(u"module-b"_s);
    setExtraPorts({ a, b });
    SimProcess simA;
    QVERIFY(startSim(simA, a));
    auto probes = std::make_shared<QHash<QString, int>>();
    Frm8Options options;
    options.portAccess = [probes](const QString &name) {
        ++(*probes)[name];
        return PortCatalog::access(name);
    };
    QVERIFY(showPage(options));

    m_page->controlAs<QPushButton>(u"cmd2"_s)->click(); // status monitoring on a
    QTRY_VERIFY(m_page->link()->isOpen());
    probes->clear();

    SimProcess simB;
    QVERIFY(startSim(simB, b));
    QTRY_COMPARE_WITH_TIMEOUT(listedPorts(), (QStringList { a, b }), kWithinTwoSeconds);
    QTest::qWait(int(5 * kRefresh.count()));
    // An activation asks every port afresh, but not the one in use.
    m_page->formActivate();
    QCOMPARE(probes->value(a), 0);
    QCOMPARE(probes->value(b), 2); // once when it came (not on every look), once on the activation
    QVERIFY(m_page->statusRunning());
    QVERIFY(m_page->link()->isOpen());
    QCOMPARE(m_list->currentData().toString(), a);
    m_page->hide();
}

void tst_PortList::refusedPortIsListedAndExplained_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("advice");

    QTest::newRow("German") << u"0"_s << u"%1 (keine Berechtigung)"_s
                            << u"FEHLER:\r\nKeine Berechtigung für den Port %1 !\r\n\r\n"
                               "Unter Debian: Benutzer in die Gruppe \"dialout\" aufnehmen "
                               "(sudo adduser $USER dialout), dann ab- und wieder anmelden.\r\n"_s;
    QTest::newRow("English") << u"1"_s << u"%1 (no permission)"_s
                             << u"ERROR:\r\nNo permission to open port %1 !\r\n\r\n"
                                "On Debian: add the user to the group \"dialout\" "
                                "(sudo adduser $USER dialout), then log out and in again.\r\n"_s;
    QTest::newRow("French") << u"2"_s << u"%1 (pas d'autorisation)"_s
                            << u"ERREUR:\r\nPas d'autorisation pour le port %1 !\r\n\r\n"
                               "Sous Debian : ajouter l'utilisateur au groupe \"dialout\" "
                               "(sudo adduser $USER dialout), puis se déconnecter et se reconnecter.\r\n"_s;
}

void tst_PortList::refusedPortIsListedAndExplained()
{
    QFETCH(QString, language);
    QFETCH(QString, label);
    QFETCH(QString, advice);

    // The refusal comes from the port opener (a test running as root may open anything); the page's
    // listing, its texts and its handling of the failed open are the real ones.
    const QString usable = m_dir->filePath(u"module"_s);
    const QString refused = m_dir->filePath(u"ttyUSB7"_s);
    {
        QFile device(refused);
        QVERIFY(device.open(QIODevice::WriteOnly));
    }
    setExtraPorts({ usable, refused });
    SimProcess sim;
    QVERIFY(startSim(sim, usable));
    Frm8Options options;
    options.portAccess = [refused](const QString &name) {
        return name == refused ? PortCatalog::Access::PermissionDenied : PortCatalog::Access::Usable;
    };
    WindowRegistry::instance().window(u"frm1"_s)->controlAs<QLineEdit>("language")->setText(language);
    QVERIFY(showPage(options));

    QCOMPARE(listedPorts(), (QStringList { usable, refused }));
    QCOMPARE(m_list->itemText(1), label.arg(refused));
    QCOMPARE(m_page->meldText(), QString());

    m_list->setCurrentIndex(1); // the user chooses it
    QCOMPARE(m_page->meldText(), advice.arg(refused));
    // The closed box has no room for the whole entry; its tool tip and the open list have.
    QCOMPARE(m_list->toolTip(), label.arg(refused));
    QCOMPARE(m_list->itemData(1, Qt::ToolTipRole).toString(), label.arg(refused));

    m_page->controlAs<QPushButton>(u"cmd2"_s)->click(); // and tries it anyway
    QTRY_VERIFY(!m_page->statusRunning());
    QCOMPARE(m_page->meldText(), advice.arg(refused));
    m_page->hide();
}

void tst_PortList::refusedByTheSystem_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("expected");
    QTest::newRow("closed to all") << 0000 << QString()
                                   << u"denied\nERROR:\r\nNo permission to open port %1 !\r\n\r\n"
                                      "The device (owner root, group \"%2\", mode 0000) lets the user nobody "
                                      "neither read nor write.\r\n"_s;
    QTest::newRow("open to all") << 0666 << QString() << u"usable"_s;
    // The user without rights is in no group: the device's group is named, and what to do.
    QTest::newRow("a device of another group")
        << 0660 << u"dialout"_s
        << u"denied\nERROR:\r\nNo permission to open port %1 !\r\n\r\n"
           "The device belongs to the group \"dialout\"; the user nobody is not in it.\r\n"
           "Remedy: sudo adduser nobody dialout, then log out and in again.\r\n"_s;
}

void tst_PortList::refusedByTheSystem()
{
    QFETCH(int, mode);
    QFETCH(QString, group);
    QFETCH(QString, expected);

    // A pseudo-terminal stands in for an adapter's device; its permissions are the test's to set.
    SimProcess sim;
    QVERIFY(sim.start({ u"--quiet-log"_s }));
    const QByteArray device = QFile::encodeName(sim.devicePath());
    if (!group.isEmpty()) {
        const ::group *entry = ::getgrnam(group.toLocal8Bit().constData());
        if (!entry || ::geteuid() != 0)
            QSKIP("the device's group can only be set by root, to a group the system has");
        QCOMPARE(::chown(device.constData(), 0, entry->gr_gid), 0);
    }
    struct stat status
    {
    };
    QCOMPARE(::stat(device.constData(), &status), 0);
    const ::group *owning = ::getgrgid(status.st_gid);
    if (expected.contains(u'%'))
        expected
            = expected.arg(sim.devicePath(), owning ? QString::fromLocal8Bit(owning->gr_name) : QString());
    QCOMPARE(::chmod(device.constData(), mode_t(mode)), 0);

    QString answer;
    if (::geteuid() != 0) {
        answer = QString::fromLatin1(accessName(PortCatalog::access(sim.devicePath())));
        expected = expected.section(u'\n', 0, 0); // the user's own groups decide the rest
    } else {
        // Permission bits do not stop root: the question is asked by this program as a user without rights.
        QProcess asUser;
        asUser.start(u"setpriv"_s,
            { u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                QCoreApplication::applicationFilePath(), u"--access"_s, sim.devicePath() });
        if (!asUser.waitForStarted(5000))
            QSKIP("setpriv is not available to run the check as a user without rights");
        QVERIFY(asUser.waitForFinished(10000));
        QVERIFY2(asUser.exitStatus() == QProcess::NormalExit && asUser.exitCode() == 0,
            asUser.readAllStandardError().constData());
        answer = QString::fromUtf8(asUser.readAllStandardOutput()).trimmed();
    }
    QCOMPARE(answer, expected.trimmed());
}

void tst_PortList::portHeldByAnotherProgramIsNeverWritten_data()
{
    QTest::addColumn<QString>("function");
    QTest::newRow("upload") << u"cmd"_s;
    QTest::newRow("status") << u"cmd2"_s;
}

void tst_PortList::portHeldByAnotherProgramIsNeverWritten()
{
    QFETCH(QString, function);

    const QString port = m_dir->filePath(u"module"_s);
    setExtraPorts({ port });
    SimProcess sim;
    QVERIFY(startSim(sim, port));
    // Another program opens the line and keeps it.
    QProcess holder;
    holder.start(u"sh"_s, { u"-c"_s, u"exec 5<>\"$0\"; exec sleep 30"_s, port });
    QVERIFY(holder.waitForStarted());
    const QList<PortDiagnosis::Holder> expected { { holder.processId(), u"sleep"_s } };
    QTRY_COMPARE(PortDiagnosis::holders(port, PortSystem::live()), expected);

    setRuntimeLanguageOverride(kEnglish);
    QVERIFY(showPage({}));
    QCOMPARE(listedPorts(), QStringList { port });
    QCOMPARE(m_list->currentText(), port + u" (in use)"_s);

    m_page->controlAs<QPushButton>(function)->click();
    const QString refusal = u"ERROR:\r\nPort %1 is in use by another program: sleep (process %2) !\r\n\r\n"
                            "Two programs on one line corrupt each other's data. Nothing was sent. "
                            "Close the other program and try again.\r\n"_s.arg(port)
                                .arg(holder.processId());
    QTRY_COMPARE(m_page->meldText(), refusal);
    QTRY_VERIFY(!m_page->uploadRunning() && !m_page->statusRunning());
    QVERIFY(!m_page->link()->isOpen());
    QVERIFY(sim.recordedBytes().isEmpty());

    // Once the other program has let go, the port is the user's.
    holder.kill();
    holder.waitForFinished();
    m_page->formActivate();
    QCOMPARE(m_list->currentText(), port);
    setRuntimeLanguageOverride(std::nullopt);
    m_page->hide();
}

void tst_PortList::monitoringGoesOnThroughAReplug()
{
    const QString port = m_dir->filePath(u"module"_s);
    setExtraPorts({ port });
    SimProcess sim;
    QVERIFY(startSim(sim, port));
    sim.command("quiet");
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    const auto restore = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });
    setRuntimeLanguageOverride(kEnglish);
    const auto english = qScopeGuard([] { setRuntimeLanguageOverride(std::nullopt); });
    QVERIFY(showPage({}));
    const auto bar = [this](int i) {
        return m_page->controlAs<QLabel>(u"lbl"_s, i)->palette().color(QPalette::Window).rgb() & 0xFFFFFF;
    };

    m_page->controlAs<QPushButton>(u"cmd2"_s)->click();
    QTRY_VERIFY(m_page->link()->isOpen());
    sim.say("PEGEL Netz: 17");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), u"PEGEL Netz: 17"_s, 5000);
    QCOMPARE(bar(5), 0x008000u);

    // Pulled out: said as ever, the level greyed, and monitoring waits.
    sim.command("unplug");
    QTRY_COMPARE_WITH_TIMEOUT(
        m_page->meldText(), u"ERROR:\r\nCOM- Port %1 not available !\r\n"_s.arg(port), 5000);
    QCOMPARE(bar(5), 0xC0C0C0u);
    QVERIFY(m_page->statusRunning());
    QTest::qWait(int(3 * kRefresh.count()));
    QCOMPARE(m_list->currentData().toString(), port); // still the port chosen

    // Plugged back in: monitoring goes on by itself, its alternate mark and its log where they were.
    sim.command("plug");
    QTRY_VERIFY_WITH_TIMEOUT(m_page->link()->isOpen(), 5000);
    sim.say("Netz: OK");
    QTRY_COMPARE_WITH_TIMEOUT(m_page->meldText(), u"Netz: OK*"_s, 5000);
    QVERIFY(m_page->statusRunning());
    m_page->hide();
    QTRY_COMPARE(fileBytes(m_dir->filePath(u"GSM.DAT"_s)), QByteArray("PEGEL Netz: 17\r\nNetz: OK*\r\n"));
    // The history shows the gap between the messages, in the order it happened.
    QStringList seen;
    for (const HistoryEvent &event : m_page->history()->events()) {
        if (event.kind == HistoryEvent::Kind::Port || event.kind == HistoryEvent::Kind::Status
            || event.kind == HistoryEvent::Kind::Level)
            seen.append(historyKindWord(event.kind) + u' ' + event.text);
    }
    QCOMPARE(seen.join(u'|'),
        QStringList({ u"status PEGEL Netz: 17"_s, u"level Signal -79 dBm"_s, u"port Port %1 lost"_s.arg(port),
            u"port Port %1 back, monitoring goes on"_s.arg(port), u"status Netz: OK"_s }).join(u'|'));
}

void tst_PortList::servicesThatGrabAdaptersAreNamed()
{
    setRuntimeLanguageOverride(kEnglish);
    const auto english = qScopeGuard([] { setRuntimeLanguageOverride(std::nullopt); });
    QComboBox list;
    FakeLink link;
    QList<PortEntry> present { PortCatalog::entryFor(u"/dev/ttyS0"_s) };
    PortSelection ports(
        &list, &link, [&] { return present; }, [](const QString &) { return PortCatalog::Access::Usable; },
        1s);
    // A made-up system where ModemManager runs and brltty has a rule for one kind of adapter.
    PortSystem system = PortSystem::live();
    system.processes = [] { return QList<qint64> { 7 }; };
    system.processName = [](qint64) { return u"ModemManager"_s; };
    system.folderEntries = [](const QString &folder) {
        return folder == u"/usr/lib/udev/rules.d"_s ? QStringList { u"85-brltty.rules"_s } : QStringList();
    };
    system.fileBytes = [](const QString &path) -> std::optional<QByteArray> {
        if (path.endsWith(u"85-brltty.rules"_s))
            return QByteArray("ENV{PRODUCT}==\"1a86/7523/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\"\n");
        return std::nullopt;
    };
    ports.setSystem(system, [](const QString &name) {
        return name.startsWith(u"/dev/ttyUSB"_s) ? std::pair(u"1a86"_s, u"7523"_s)
                                                 : std::pair<QString, QString>();
    });
    QSignalSpy notices(&ports, &PortSelection::notice);

    ports.refresh(true); // what is there at the first look did not just appear
    QCOMPARE(notices.size(), 0);
    present << PortCatalog::entryFor(u"/dev/ttyUSB0"_s);
    ports.refresh(false);
    QCOMPARE(notices.size(), 1);
    QVERIFY2(notices.at(0).at(0).toString().contains(u"ModemManager is running"_s),
        qPrintable(notices.at(0).at(0).toString()));
    QVERIFY(notices.at(0).at(0).toString().contains(
        u"ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", ENV{ID_MM_DEVICE_IGNORE}=\"1\""_s));
    present.removeLast(); // gone right after it came
    ports.refresh(false);
    QCOMPARE(notices.size(), 2);
    QVERIFY(notices.at(1).at(0).toString().startsWith(
        u"Note:\r\nPort /dev/ttyUSB0 vanished right after it appeared. brltty is installed and has a rule "
        "for this adapter (1a86:7523)"_s));
    // A serial port without an adapter behind it is nothing either service takes.
    present << PortCatalog::entryFor(u"/dev/ttyS1"_s);
    ports.refresh(false);
    present.removeLast();
    ports.refresh(false);
    QCOMPARE(notices.size(), 2);
}

// "--access PATH": prints what the port catalog says about PATH, and for a refused port what the page says
// about it in English (run as another user by the test above).
int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--access") == 0) {
        QCoreApplication app(argc, argv);
        const QString port = QFile::decodeName(argv[2]);
        const PortCatalog::Access access = PortCatalog::access(port);
        std::puts(accessName(access));
        const std::optional<PortDiagnosis::Permission> why
            = PortDiagnosis::permission(port, PortSystem::live());
        if (why) {
            setRuntimeLanguageOverride(kEnglish);
            std::fputs(PortText::permissionDenied(port, *why).toUtf8().constData(), stdout);
        }
        return 0;
    }
    QApplication app(argc, argv);
    tst_PortList test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_portlist.moc"
