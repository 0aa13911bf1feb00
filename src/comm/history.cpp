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

QString visibleControlCharacters(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code >= 32 && code != 127) {
            shown += c;
            continue;
        }
        switch (code) {
        case u'\r':
            shown += QLatin1String("<CR>");
            break;
        case u'\n':
            shown += QLatin1String("<LF>");
            break;
        case u'\t':
            shown += QLatin1String("<TAB>");
            break;
        case 0:
            shown += QLatin1String("<NUL>");
            break;
        default:
            shown += QStringLiteral("<x%1>").arg(
                QString::number(int(code), 16).toUpper().rightJustified(2, QLatin1Char('0')));
            break;
        }
    }
    return shown;
}

void LevelStatistics::add(const QDateTime &time, int dbm)
{
    if (m_whole.count == 0) {
        m_whole.min = dbm;
        m_whole.max = dbm;
    }
    ++m_whole.count;
    m_whole.min = qMin(m_whole.min, dbm);
    m_whole.max = qMax(m_whole.max, dbm);
    m_sum += dbm;
    m_whole.average = m_sum / m_whole.count;

    const qint64 msecs = time.toMSecsSinceEpoch();
    m_recent.push_back({ msecs, dbm });
    const qint64 oldest = msecs - std::chrono::milliseconds(kRecentSpan).count();
    while (!m_recent.empty() && m_recent.front().msecs < oldest)
        m_recent.pop_front();
}

void LevelStatistics::clear()
{
    *this = LevelStatistics();
}

LevelSummary LevelStatistics::lastMinute(const QDateTime &now) const
{
    const qint64 end = now.toMSecsSinceEpoch();
    const qint64 begin = end - std::chrono::milliseconds(kRecentSpan).count();
    LevelSummary summary;
    double sum = 0;
    for (const Sample &sample : m_recent) {
        if (sample.msecs < begin || sample.msecs > end)
            continue;
        if (summary.count == 0)
            summary.min = summary.max = sample.dbm;
        ++summary.count;
        summary.min = qMin(summary.min, sample.dbm);
        summary.max = qMax(summary.max, sample.dbm);
        sum += sample.dbm;
    }
    if (summary.count > 0)
        summary.average = sum / summary.count;
    return summary;
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
    if (event.level) {
        if (const std::optional<int> dbm = signalLevelDbm(*event.level))
            m_levels.add(event.time, *dbm);
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
    m_levels.clear();
    emit cleared();
}
