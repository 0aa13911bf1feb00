#include "comm/statussession.h"
#include "support/fakelink.h"
#include "support/testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

// Status monitoring when its port goes: nothing the module sent is lost, cut or joined, the same device back
// in time resumes the run where it stood, and every other way out of the wait ends it.
class tst_StatusReplug : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void howTheWaitForThePortEnds_data();
    void howTheWaitForThePortEnds();
    void aMessageBegunIsNeverLost_data();
    void aMessageBegunIsNeverLost();

private:
    // Monitoring on the fake link, with the port found again once `back` says so.
    void startMonitoring(std::chrono::milliseconds portReturn);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeLink> m_link;
    std::unique_ptr<StatusSession> m_session;
    bool m_back = false;
    QString m_log;
};

void tst_StatusReplug::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_log = m_dir->filePath(u"GSM.DAT"_s);
    m_session.reset();
    m_link = std::make_unique<FakeLink>();
    m_back = false;
}

void tst_StatusReplug::startMonitoring(std::chrono::milliseconds portReturn)
{
    LinkTimeouts timeouts;
    timeouts.search = 5s;
    timeouts.messageGap = 50ms;
    timeouts.portReturn = portReturn;
    m_session = std::make_unique<StatusSession>(m_link.get(), timeouts);
    m_session->setLogFileName(m_log);
    m_session->setReplug({ [this](const QString &port) {
                              return std::function<QString()>(
                                  [this, port] { return m_back ? port : QString(); });
                          },
        10ms });
    QVERIFY(m_session->start(u"/dev/ttyUSB0"_s));
}

void tst_StatusReplug::howTheWaitForThePortEnds_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("running");
    QTest::addColumn<QByteArray>("logged");

    QTest::newRow("back in time") << u"back"_s << true << QByteArray("eins\r\nzwei*\r\n");
    QTest::newRow("not back in time") << u"limit"_s << false << QByteArray("eins\r\n");
    QTest::newRow("stopped meanwhile") << u"stop"_s << false << QByteArray("eins\r\n");
    QTest::newRow("another function meanwhile") << u"end"_s << false << QByteArray("eins\r\n");
}

void tst_StatusReplug::howTheWaitForThePortEnds()
{
    QFETCH(QString, end);
    QFETCH(bool, running);
    QFETCH(QByteArray, logged);

    startMonitoring(end == u"limit"_s ? 100ms : 10s);
    QSignalSpy lost(m_session.get(), &StatusSession::portLost);
    QSignalSpy back(m_session.get(), &StatusSession::portBack);
    QSignalSpy finished(m_session.get(), &StatusSession::finished);
    QSignalSpy shown(m_session.get(), &StatusSession::message);
    m_link->feed("eins");
    QTRY_COMPARE(shown.size(), 1);
    m_link->vanish();
    QTRY_COMPARE(lost.size(), 1);
    QVERIFY(m_session->isRunning());
    QCOMPARE(finished.size(), 0);

    if (end == u"back"_s) {
        m_back = true;
        QTRY_COMPARE(back.size(), 1);
        QCOMPARE(back.first().first().toString(), u"/dev/ttyUSB0"_s);
        QCOMPARE(m_link->openCount(), 2);
        m_link->feed("zwei");
        QTRY_COMPARE(shown.size(), 2);
    } else if (end == u"stop"_s) {
        m_session->requestStop();
    } else if (end == u"end"_s) {
        m_session->stopMonitoring();
    }
    if (running) {
        QVERIFY(m_session->isRunning());
    } else {
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().value<StatusSession::Outcome>(),
            end == u"limit"_s ? StatusSession::Outcome::PortLost : StatusSession::Outcome::Stopped);
        // The device back after the run ended is not opened again.
        m_back = true;
        QTest::qWait(50);
        QCOMPARE(m_link->openCount(), 1);
    }
    m_session.reset();
    QCOMPARE(fileBytes(m_log), logged);
}

void tst_StatusReplug::aMessageBegunIsNeverLost_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("the port goes") << u"lost"_s;
    QTest::newRow("monitoring is stopped") << u"stop"_s;
    QTest::newRow("the session goes") << u"deleted"_s;
}

void tst_StatusReplug::aMessageBegunIsNeverLost()
{
    QFETCH(QString, end);

    startMonitoring(10s);
    QSignalSpy received(m_session.get(), &StatusSession::received);
    m_link->feed("Hallo");
    QTRY_COMPARE(received.size(), 1); // the first, ended by the gap
    m_link->feed("Pegel");
    QTest::qWait(5); // well inside the gap: the message is not over
    QCOMPARE(received.size(), 1);
    if (end == u"lost"_s)
        m_link->vanish();
    else if (end == u"stop"_s)
        m_session->stopMonitoring();
    else
        m_session.reset();
    if (m_session)
        QTRY_COMPARE(received.size(), 2);
    // Exactly as sent, without the window's alternate mark; the log has the mark, as ever.
    if (m_session)
        QCOMPARE(received.at(1), (QVariantList { u"Pegel"_s, true }));
    m_session.reset();
    QCOMPARE(fileBytes(m_log), QByteArray("Hallo\r\nPegel*\r\n"));
}

QTEST_GUILESS_MAIN(tst_StatusReplug)

#include "tst_statusreplug.moc"
