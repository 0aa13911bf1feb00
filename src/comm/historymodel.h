#pragma once

#include "comm/history.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <deque>

// The history as a table for a view: one row per event, columns time, kind, text, level, dBm. Events come
// in as they happen and are inserted in chunks on a short timer, so a flood of messages costs the view one
// update per chunk, not one per message. The model keeps as many rows as the history keeps; the oldest go
// first and are counted. Texts in the table that depend on the language are given by the window.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TimeColumn, KindColumn, TextColumn, LevelColumn, DbmColumn, ColumnCount };
    static constexpr std::chrono::milliseconds kChunkInterval { 50 };
    // The event of a row, for the window (Qt::UserRole + 1 gives the kind as an int).
    static constexpr int KindRole = Qt::UserRole + 1;

    explicit HistoryModel(const History *history, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Column captions in column order, and the names of the kinds in the order of HistoryEvent::Kind.
    void setTexts(const QStringList &headers, const QStringList &kindNames);

    const HistoryEvent &event(int row) const { return m_rows.at(std::size_t(row)); }
    int bound() const { return m_bound; }
    // Events dropped since the run began, by the history or by this model: the oldest beyond the bound.
    qint64 droppedCount() const { return m_dropped; }
    // Events that arrived and are not rows yet.
    int pendingCount() const { return int(m_pending.size()); }
    // Inserts what arrived now (otherwise the chunk timer does).
    void flush();

    // How the table shows a time, a level and a level in dBm.
    static QString timeText(const QDateTime &time);
    static QString dbmText(int level);

signals:
    // A chunk of rows was inserted (and the oldest removed).
    void flushed();

private:
    void arrived(const HistoryEvent &event);
    void historyCleared();

    QPointer<const History> m_history;
    std::deque<HistoryEvent> m_rows;
    std::deque<HistoryEvent> m_pending;
    QTimer m_chunkTimer;
    int m_bound = History::kDefaultBound;
    qint64 m_dropped = 0;
    QStringList m_headers;
    QStringList m_kindNames;
};
