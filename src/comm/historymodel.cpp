#include "comm/historymodel.h"

#include "comm/signallevel.h"
#include "core/csv.h"


namespace {
// A tool tip shows the text with its line ends, up to this many characters.
constexpr qsizetype kToolTipLength = 2000;
} // namespace

HistoryModel::HistoryModel(const History *history, QObject *parent)
    : QAbstractTableModel(parent)
    , m_history(history)
    , m_headers(historyCsvHeader())
{
    m_chunkTimer.setSingleShot(true);
    m_chunkTimer.setInterval(kChunkInterval);
    connect(&m_chunkTimer, &QTimer::timeout, this, &HistoryModel::flush);
    if (!history)
        return;
    m_bound = history->bound();
    m_dropped = history->droppedCount();
    m_rows.assign(history->events().cbegin(), history->events().cend());
    connect(history, &History::appended, this, &HistoryModel::arrived);
    connect(history, &History::cleared, this, &HistoryModel::historyCleared);
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString HistoryModel::dbmText(int level)
{
    const std::optional<int> dbm = signalLevelDbm(level);
    if (!dbm)
        return QString();
    // The ends of the scale stand for everything beyond them.
    if (level == 0)
        return QStringLiteral("<= %1").arg(*dbm);
    if (level == 31)
        return QStringLiteral(">= %1").arg(*dbm);
    return QString::number(*dbm);
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const HistoryEvent &e = event(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TimeColumn:
            return timeText(e.time);
        case KindColumn:
            return m_kindNames.value(int(e.kind), historyKindWord(e.kind));
        case TextColumn:
            return visibleControlCharacters(e.text);
        case LevelColumn:
            return e.level ? QString::number(*e.level) : QString();
        case DbmColumn:
            return e.level ? dbmText(*e.level) : QString();
        }
        break;
    case Qt::ToolTipRole:
        if (index.column() == TimeColumn)
            return isoTimestamp(e.time);
        if (index.column() == TextColumn && !e.text.isEmpty())
            return e.text.size() > kToolTipLength ? e.text.left(kToolTipLength) + QStringLiteral("…") : e.text;
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == LevelColumn || index.column() == DbmColumn)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case KindRole:
        return int(e.kind);
    default:
        break;
    }
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headers.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void HistoryModel::setTexts(const QStringList &headers, const QStringList &kindNames)
{
    m_headers = headers;
    m_kindNames = kindNames;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.empty())
        emit dataChanged(index(0, KindColumn), index(int(m_rows.size()) - 1, KindColumn), { Qt::DisplayRole });
}

void HistoryModel::arrived(const HistoryEvent &event)
{
    m_pending.push_back(event);
    // However fast events come, no more than a table's worth waits.
    if (int(m_pending.size()) > m_bound) {
        m_pending.pop_front();
        ++m_dropped;
    }
    if (!m_chunkTimer.isActive())
        m_chunkTimer.start();
}

void HistoryModel::flush()
{
    m_chunkTimer.stop();
    if (m_pending.empty())
        return;
    const int incoming = int(m_pending.size());
    const int excess = int(m_rows.size()) + incoming - m_bound;
    if (excess > 0) {
        const int gone = qMin(excess, int(m_rows.size()));
        beginRemoveRows({}, 0, gone - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + gone);
        m_dropped += gone;
        endRemoveRows();
    }
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + incoming - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(m_pending.begin()), std::make_move_iterator(m_pending.end()));
    m_pending.clear();
    endInsertRows();
    emit flushed();
}

void HistoryModel::historyCleared()
{
    beginResetModel();
    m_rows.clear();
    m_pending.clear();
    m_dropped = 0;
    endResetModel();
    emit flushed();
}
