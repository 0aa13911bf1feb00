#include "comm/history.h"

#include "comm/signallevel.h"
#include "core/csv.h"

QString historyKindWord(HistoryEvent::Kind kind)
{
    switch (kind) {
    case HistoryEvent::Kind::Status:
        return QStringLiteral("status");
    case HistoryEvent::Kind::Level:
        return QStringLiteral("level");
    case HistoryEvent::Kind::Upload:
        return QStringLiteral("upload");
    case HistoryEvent::Kind::Sms:
        return QStringLiteral("sms");
    case HistoryEvent::Kind::Port:
        return QStringLiteral("port");
    }
    return QString();
}

QStringList historyCsvHeader()
{
    return { QStringLiteral("time"), QStringLiteral("kind"), QStringLiteral("text"), QStringLiteral("level"),
        QStringLiteral("dBm") };
}

QStringList historyCsvFields(const HistoryEvent &event)
{
    QString level;
    QString dbm;
    if (event.level) {
        level = QString::number(*event.level);
        if (const std::optional<int> value = signalLevelDbm(*event.level))
            dbm = QString::number(*value);
    }
    return { isoTimestamp(event.time), historyKindWord(event.kind), event.text, level, dbm };
}

History::History(QObject *parent, int bound)
    : QObject(parent)
    , m_bound(qMax(1, bound))
{
}

void History::append(HistoryEvent event)
{
    if (!event.time.isValid())
        event.time = QDateTime::currentDateTime();
    while (int(m_events.size()) >= m_bound) {
        m_events.pop_front();
        ++m_dropped;
    }
    m_events.push_back(event);
    emit appended(m_events.back());
}

void History::append(HistoryEvent::Kind kind, const QString &text, std::optional<int> level)
{
    append(HistoryEvent { QDateTime(), kind, text, level });
}

void History::clear()
{
    m_events.clear();
    m_dropped = 0;
    emit cleared();
}
