#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

// One event on the line as the history shows it: when, what kind, the text (a status message exactly as
// received), and for a level message the level on the module's 0 … 99 scale.
struct HistoryEvent
{
    enum class Kind { Status, Level, Upload, Sms, Port };

    QDateTime time;
    Kind kind = Kind::Status;
    QString text;
    std::optional<int> level;
};

// The word of a kind in the CSV columns (status, level, upload, sms, port).
QString historyKindWord(HistoryEvent::Kind kind);

// The columns of the history's CSV: time, kind, text, level, dBm.
QStringList historyCsvHeader();
QStringList historyCsvFields(const HistoryEvent &event);

// The events of one run, oldest first, kept up to a bound (the oldest go first and are counted).
class History : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultBound = 100000;

    explicit History(QObject *parent = nullptr, int bound = kDefaultBound);

    // Stamps the event with the current time when it has none.
    void append(HistoryEvent event);
    void append(HistoryEvent::Kind kind, const QString &text, std::optional<int> level = std::nullopt);

    const std::deque<HistoryEvent> &events() const { return m_events; }
    qint64 droppedCount() const { return m_dropped; }
    int bound() const { return m_bound; }
    void clear();

signals:
    void appended(const HistoryEvent &event);
    void cleared();

private:
    std::deque<HistoryEvent> m_events;
    qint64 m_dropped = 0;
    int m_bound;
};
