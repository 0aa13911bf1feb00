#include "linksession.h"

#include "seriallink.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<char16_t, 4> kBusySymbols = { u'-', u'\\', u'|', u'/' };
constexpr char kModuleReady = '*';
} // namespace

LinkSession::LinkSession(SerialLink *link, const LinkTimeouts &timeouts, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_timeouts(timeouts)
{
    m_limitTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the module is owed its full time.
    m_limitTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_limitTimer, &QTimer::timeout, this, [this] {
        if (m_wait != Wait::None) {
            stopWaiting();
            waitEnded(WaitEnd::TimeLimit);
        }
    });
    m_busyTimer.setInterval(m_timeouts.busyStep);
    connect(&m_busyTimer, &QTimer::timeout, this, &LinkSession::stepBusyIndicator);
    connect(&m_portPoll, &QTimer::timeout, this, &LinkSession::lookForPort);

    if (m_link) {
        connect(m_link, &SerialLink::readyRead, this, &LinkSession::serviceInput);
        connect(m_link, &SerialLink::closed, this, &LinkSession::scheduleAbortCheck);
        connect(m_link, &SerialLink::lost, this, [this] {
            if (m_running)
                m_portLost = true;
            scheduleAbortCheck();
        });
    }
}

LinkSession::~LinkSession() = default;

void LinkSession::requestStop()
{
    if (!m_running)
        return;
    m_stopRequested = true;
    scheduleAbortCheck();
}

void LinkSession::requestEnd()
{
    if (!m_running)
        return;
    m_endRequested = true;
    scheduleAbortCheck();
}

void LinkSession::beginRun()
{
    m_running = true;
    m_stopRequested = false;
    m_endRequested = false;
    m_portLost = false;
    m_portWasOpen = false;
    m_portError.clear();
}

void LinkSession::endRun()
{
    stopWaiting();
    m_running = false;
}

LinkSession::PortOpening LinkSession::openModulePort(const QString &portName)
{
    if (!m_link)
        return PortOpening::Failed;
    if (m_link->isOpen()) {
        m_portWasOpen = true;
        return PortOpening::Open;
    }
    if (portName.isEmpty()) {
        emit noPort();
        return PortOpening::NoPortListed;
    }
    if (!m_link->open(portName, &m_portError))
        return PortOpening::Failed;
    m_portWasOpen = true;
    return PortOpening::Open;
}

void LinkSession::closePort()
{
    if (m_link && m_link->isOpen())
        m_link->close();
}

void LinkSession::send(const QByteArray &bytes)
{
    if (m_link)
        m_link->write(bytes);
}

void LinkSession::waitForModule(std::chrono::milliseconds limit, std::function<void()> found)
{
    m_onSignal = std::move(found);
    arm(Wait::Module, limit, true);
    if (m_link)
        m_link->clearInput();
}

void LinkSession::waitForReply(
    int length, std::chrono::milliseconds limit, std::function<void(const QByteArray &)> collected)
{
    m_replyLength = length;
    m_reply.clear();
    m_replyOverrun = false;
    m_onBytes = std::move(collected);
    arm(Wait::Reply, limit, false);
    // The reply may be complete already.
    later([this] { serviceInput(); });
}

void LinkSession::waitForFirstCharacter(std::chrono::milliseconds limit, std::function<void()> arrived)
{
    m_onSignal = std::move(arrived);
    arm(Wait::FirstCharacter, limit, true);
    if (m_link)
        m_link->clearInput();
}

void LinkSession::receiveAll(std::function<void(const QByteArray &)> received)
{
    m_onBytes = std::move(received);
    m_limitTimer.stop();
    m_busyTimer.stop();
    m_wait = Wait::Stream;
    later([this] { serviceInput(); });
}

void LinkSession::waitForPort(std::chrono::milliseconds limit, std::chrono::milliseconds poll,
    std::function<QString()> locate, std::function<void(const QString &)> reopened)
{
    m_locatePort = std::move(locate);
    m_onPort = std::move(reopened);
    m_portLost = false;
    m_busyTimer.stop();
    m_wait = Wait::Port;
    if (limit != std::chrono::milliseconds::max())
        m_limitTimer.start(limit);
    else
        m_limitTimer.stop();
    m_portPoll.start(poll);
}

void LinkSession::lookForPort()
{
    if (m_wait != Wait::Port || !m_link || checkAbortPoints())
        return;
    const QString portName = m_locatePort();
    // A device that is back but does not open yet (a service still probing it) is asked again next time.
    if (portName.isEmpty() || !m_link->open(portName))
        return;
    stopWaiting();
    m_locatePort = nullptr;
    std::exchange(m_onPort, nullptr)(portName);
}

void LinkSession::arm(Wait wait, std::chrono::milliseconds limit, bool turnIndicator)
{
    m_wait = wait;
    m_limitTimer.start(limit);
    m_busyTimer.stop();
    if (turnIndicator) {
        m_busyTurn = 0;
        m_busyTimer.start();
    }
}

void LinkSession::stopWaiting()
{
    m_wait = Wait::None;
    m_limitTimer.stop();
    m_busyTimer.stop();
    m_portPoll.stop();
}

void LinkSession::later(std::function<void()> fn)
{
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

void LinkSession::scheduleAbortCheck()
{
    later([this] { checkAbortPoints(); });
}

bool LinkSession::checkAbortPoints()
{
    if (m_wait == Wait::None)
        return false;
    WaitEnd why;
    if (m_stopRequested)
        why = WaitEnd::StopRequest;
    else if (m_endRequested)
        why = WaitEnd::EndRequest;
    else if (m_portLost)
        why = WaitEnd::PortLost;
    else if (m_wait != Wait::Port && m_portWasOpen && (!m_link || !m_link->isOpen()))
        why = WaitEnd::PortClosed;
    else
        return false;
    stopWaiting();
    waitEnded(why);
    return true;
}

void LinkSession::serviceInput()
{
    if (m_wait == Wait::None || !m_link || checkAbortPoints())
        return;

    switch (m_wait) {
    case Wait::None:
        break;
    case Wait::Module:
        while (m_link->bytesAvailable() > 0) {
            if (m_link->readOne() == QByteArray(1, kModuleReady)) {
                m_link->clearInput();
                stopWaiting();
                std::exchange(m_onSignal, nullptr)();
                return;
            }
        }
        break;
    case Wait::Reply: {
        // Everything waiting is taken in one go, so a reply followed by more in the same read counts as
        // too long, exactly as when the extra bytes come in a read of their own before we look.
        const QByteArray bytes = m_link->readAll();
        for (const char byte : bytes) {
            if (byte != kModuleReady)
                m_reply.append(byte);
        }
        if (m_reply.size() > m_replyLength) {
            m_replyOverrun = true;
            m_reply.clear(); // only the limit ends this wait now; keep nothing
        }
        if (!m_replyOverrun && m_reply.size() == m_replyLength) {
            stopWaiting();
            std::exchange(m_onBytes, nullptr)(std::exchange(m_reply, QByteArray()));
        }
        break;
    }
    case Wait::FirstCharacter:
        if (m_link->bytesAvailable() > 0) {
            stopWaiting();
            std::exchange(m_onSignal, nullptr)();
        }
        break;
    case Wait::Port:
        break;
    case Wait::Stream:
        if (m_link->bytesAvailable() > 0) {
            // The handler may end the run; keep it alive while it runs.
            const auto received = m_onBytes;
            received(m_link->readAll());
        }
        break;
    }
}

void LinkSession::stepBusyIndicator()
{
    emit busyIndicator(QChar(kBusySymbols[m_busyTurn]));
    m_busyTurn = (m_busyTurn + 1) % int(kBusySymbols.size());
}
