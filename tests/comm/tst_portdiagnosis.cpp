#include "comm/portdiagnosis.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;
using Holder = PortDiagnosis::Holder;
using Permission = PortDiagnosis::Permission;
using Membership = Permission::Membership;

Q_DECLARE_METATYPE(QList<Holder>)
Q_DECLARE_METATYPE(std::optional<Permission>)

namespace {

// A made-up system: processes with their open files, files with their bytes, folders with their entries.
struct MadeUp
{
    struct Process
    {
        QString name;
        QStringList files;
        QList<int> ptyMasters;
    };
    QHash<qint64, Process> processes;
    QHash<QString, QByteArray> files;
    QHash<QString, QString> links; // path -> what it resolves to

    PortSystem system() const
    {
        PortSystem s;
        s.ownPid = 100;
        s.uid = 1000;
        s.userName = u"anna"_s;
        s.processGroups = { 1000 };
        s.canonicalPath = [this](const QString &path) { return links.value(path, path); };
        s.processes = [this] { return processes.keys(); };
        s.openFiles = [this](qint64 pid) { return processes.value(pid).files; };
        s.processName = [this](qint64 pid) { return processes.value(pid).name; };
        s.ptyMasters = [this](qint64 pid) { return processes.value(pid).ptyMasters; };
        s.fileBytes = [this](const QString &path) {
            return files.contains(path) ? std::optional<QByteArray>(files.value(path)) : std::nullopt;
        };
        s.folderEntries = [this](const QString &folder) {
            QStringList entries;
            for (const QString &path : files.keys() + links.keys()) {
                if (path.startsWith(folder + u'/')) {
                    const QString entry = path.mid(folder.size() + 1).section(u'/', 0, 0);
                    if (!entries.contains(entry))
                        entries << entry;
                }
            }
            return entries;
        };
        return s;
    }
};

} // namespace

// The rules that say why a port cannot be used, on made-up systems: who holds it, what keeps the user out,
// and which adapters brltty takes.
class tst_PortDiagnosis : public QObject
{
    Q_OBJECT

private slots:
    void lockFileNames_data();
    void lockFileNames();
    void holders_data();
    void holders();
    void permission_data();
    void permission();
    void brlttyRules_data();
    void brlttyRules();
    void adaptersWithoutPortUnderABrlttyRule();
};

void tst_PortDiagnosis::lockFileNames_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("lock");
    QTest::newRow("USB adapter") << u"/dev/ttyUSB0"_s << u"LCK..ttyUSB0"_s;
    QTest::newRow("pseudo-terminal") << u"/dev/pts/3"_s << u"LCK..pts_3"_s;
    QTest::newRow("path outside /dev") << u"/tmp/module"_s << u"LCK.._tmp_module"_s;
}

void tst_PortDiagnosis::lockFileNames()
{
    QFETCH(QString, port);
    QFETCH(QString, lock);
    QCOMPARE(PortDiagnosis::lockFileName(port), lock);
}

void tst_PortDiagnosis::holders_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QList<Holder>>("expected");

    QTest::newRow("nobody") << u"/dev/ttyUSB0"_s << QList<Holder>();
    QTest::newRow("a terminal program") << u"/dev/ttyUSB1"_s << QList<Holder> { { 200, u"minicom"_s } };
    QTest::newRow("through a link") << u"/tmp/module"_s << QList<Holder> { { 200, u"minicom"_s } };
    // The simulator holds the master and a slave of its own; the test's reader holds only the slave.
    QTest::newRow("pty: its far end is no holder") << u"/dev/pts/4"_s << QList<Holder> { { 301, u"cat"_s } };
    QTest::newRow("lock of a running program, once")
        << u"/dev/ttyUSB2"_s << QList<Holder> { { 400, u"rm425t"_s } };
    QTest::newRow("stale lock, own lock") << u"/dev/ttyUSB3"_s << QList<Holder>();
    QTest::newRow("no such device") << u"/dev/ttyUSB9"_s << QList<Holder>();
}

void tst_PortDiagnosis::holders()
{
    QFETCH(QString, port);
    QFETCH(QList<Holder>, expected);

    MadeUp m;
    m.links = { { u"/tmp/module"_s, u"/dev/ttyUSB1"_s }, { u"/dev/ttyUSB9"_s, QString() } };
    m.processes = {
        { 100, { u"rm425t"_s, { u"/dev/ttyUSB3"_s, u"/dev/ttyUSB2"_s }, {} } }, // this program
        { 200, { u"minicom"_s, { u"/dev/null"_s, u"/dev/ttyUSB1"_s }, {} } },
        { 300, { u"rm425t-sim"_s, { u"/dev/ptmx"_s, u"/dev/pts/4"_s }, { 4 } } },
        { 301, { u"cat"_s, { u"/dev/pts/4"_s }, { 7 } } },
        { 400, { u"rm425t"_s, { u"/dev/ttyUSB2"_s }, {} } },
    };
    m.files = {
        { u"/var/lock/LCK..ttyUSB2"_s, "400\nrm425t\nhost\n" }, { u"/tmp/LCK..ttyUSB2"_s, "      400\n" },
        { u"/var/lock/LCK..ttyUSB3"_s, "999\n" }, // its process is gone
        { u"/run/lock/LCK..ttyUSB3"_s, "100\n" }, // this program's own
    };
    QCOMPARE(PortDiagnosis::holders(port, m.system()), expected);
}

void tst_PortDiagnosis::permission_data()
{
    QTest::addColumn<unsigned>("owner");
    QTest::addColumn<unsigned>("group");
    QTest::addColumn<unsigned>("mode");
    QTest::addColumn<QList<unsigned>>("processGroups");
    QTest::addColumn<QList<unsigned>>("databaseGroups");
    QTest::addColumn<std::optional<Permission>>("expected");

    const QList<unsigned> own { 1000 };
    const QList<unsigned> withDialout { 1000, 20 };
    const auto denied = [](Membership membership, unsigned mode) {
        return std::optional<Permission>(Permission { u"root"_s, u"dialout"_s, mode, membership, u"anna"_s });
    };
    QTest::newRow("not in the group")
        << 0u << 20u << 0660u << own << own << denied(Membership::NotMember, 0660);
    QTest::newRow("added, not logged in again")
        << 0u << 20u << 0660u << own << withDialout << denied(Membership::NotLoggedInAgain, 0660);
    QTest::newRow("in the group") << 0u << 20u << 0660u << withDialout << withDialout
                                  << std::optional<Permission>();
    QTest::newRow("in the group, closed to it")
        << 0u << 20u << 0600u << withDialout << withDialout << denied(Membership::Closed, 0600);
    QTest::newRow("closed to its group too")
        << 0u << 20u << 0600u << own << withDialout << denied(Membership::Closed, 0600);
    QTest::newRow("open to all") << 0u << 20u << 0666u << own << own << std::optional<Permission>();
    QTest::newRow("read only for others")
        << 0u << 20u << 0664u << own << own << denied(Membership::NotMember, 0664);
    QTest::newRow("own device") << 1000u << 20u << 0600u << own << own << std::optional<Permission>();
}

void tst_PortDiagnosis::permission()
{
    QFETCH(unsigned, owner);
    QFETCH(unsigned, group);
    QFETCH(unsigned, mode);
    QFETCH(QList<unsigned>, processGroups);
    QFETCH(QList<unsigned>, databaseGroups);
    QFETCH(std::optional<Permission>, expected);

    PortSystem s = MadeUp().system();
    s.processGroups = processGroups;
    s.device = [&](const QString &path) {
        return path == u"/dev/ttyUSB0"_s ? std::optional(PortSystem::Device { owner, group, mode })
                                         : std::nullopt;
    };
    s.databaseGroups
        = [&](const QString &user) { return user == u"anna"_s ? databaseGroups : QList<unsigned>(); };
    s.groupName = [](unsigned gid) { return gid == 20 ? u"dialout"_s : QString::number(gid); };
    s.userNameOf = [](unsigned uid) { return uid == 0 ? u"root"_s : u"anna"_s; };
    QCOMPARE(PortDiagnosis::permission(u"/dev/ttyUSB0"_s, s), expected);
    // Nothing is said about a device that is not there, nor to root.
    QCOMPARE(PortDiagnosis::permission(u"/dev/ttyUSB5"_s, s), std::nullopt);
    s.uid = 0;
    QCOMPARE(PortDiagnosis::permission(u"/dev/ttyUSB0"_s, s), std::nullopt);
}

void tst_PortDiagnosis::brlttyRules_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("rules");
    QTest::addColumn<bool>("claims");

    const QString system = u"/usr/lib/udev/rules.d/85-brltty.rules"_s;
    QTest::newRow("by PRODUCT") << system
                                << QByteArray(
                                       "ENV{PRODUCT}==\"10c4/ea60/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"sk\"\n")
                                << true;
    QTest::newRow("by PRODUCT, leading zeros dropped")
        << u"/lib/udev/rules.d/85-brltty.rules"_s << QByteArray("ENV{PRODUCT}==\"403/6001/*\", GOTO=\"x\"\n")
        << true;
    QTest::newRow("by attributes") << u"/etc/udev/rules.d/90-brltty-usb.rules"_s
                                   << QByteArray("SUBSYSTEMS==\"usb\", ATTRS{idVendor}==\"10C4\", "
                                                 "ATTRS{idProduct}==\"EA60\", RUN+=\"x\"\n")
                                   << true;
    QTest::newRow("commented out") << system << QByteArray("# ENV{PRODUCT}==\"10c4/ea60/*\"\n") << false;
    QTest::newRow("another adapter") << system << QByteArray("ENV{PRODUCT}==\"10c4/ea61/*\"\n") << false;
    QTest::newRow("vendor and product on different lines")
        << system << QByteArray("ATTRS{idVendor}==\"10c4\"\nATTRS{idProduct}==\"ea60\"\n") << false;
    QTest::newRow("not a brltty file") << u"/usr/lib/udev/rules.d/60-serial.rules"_s
                                       << QByteArray("ENV{PRODUCT}==\"10c4/ea60/*\"\n") << false;
}

void tst_PortDiagnosis::brlttyRules()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, rules);
    QFETCH(bool, claims);

    MadeUp m;
    m.files.insert(file, rules);
    QCOMPARE(
        PortDiagnosis::brlttyClaims(u"10c4"_s, u"ea60"_s, m.system()), claims && !rules.contains("403/"));
    QCOMPARE(PortDiagnosis::brlttyClaims(u"0403"_s, u"6001"_s, m.system()), claims && rules.contains("403/"));
    QVERIFY(!PortDiagnosis::brlttyClaims(QString(), QString(), m.system()));
}

void tst_PortDiagnosis::adaptersWithoutPortUnderABrlttyRule()
{
    MadeUp m;
    m.files = {
        { u"/usr/lib/udev/rules.d/85-brltty.rules"_s, "ENV{PRODUCT}==\"10c4/ea60/*\"\n" },
        // Taken by brltty: no tty under its interface.
        { u"/sys/bus/usb/devices/1-2/idVendor"_s, "10c4\n" },
        { u"/sys/bus/usb/devices/1-2/idProduct"_s, "ea60\n" },
        { u"/sys/bus/usb/devices/1-2/1-2:1.0/driver"_s, "" },
        // The same kind of adapter with its port.
        { u"/sys/bus/usb/devices/1-3/idVendor"_s, "10c4\n" },
        { u"/sys/bus/usb/devices/1-3/idProduct"_s, "ea60\n" },
        { u"/sys/bus/usb/devices/1-3/1-3:1.0/ttyUSB0/dev"_s, "188:0\n" },
        // An adapter brltty has no rule for.
        { u"/sys/bus/usb/devices/1-4/idVendor"_s, "0403\n" },
        { u"/sys/bus/usb/devices/1-4/idProduct"_s, "6001\n" },
        // The root hub and an interface are no adapters.
        { u"/sys/bus/usb/devices/usb1/idVendor"_s, "10c4\n" },
        { u"/sys/bus/usb/devices/usb1/idProduct"_s, "ea60\n" },
        { u"/sys/bus/usb/devices/1-2:1.0/bInterfaceClass"_s, "ff\n" },
    };
    QCOMPARE(PortDiagnosis::adaptersClaimedByBrltty(m.system()),
        (QList<PortDiagnosis::ClaimedAdapter> { { u"1-2"_s, u"10c4"_s, u"ea60"_s } }));
}

QTEST_APPLESS_MAIN(tst_PortDiagnosis)

#include "tst_portdiagnosis.moc"
