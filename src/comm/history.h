#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
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

// The text on one line as a serial terminal shows it: every control character is written out, "<CR>",
// "<LF>", "<TAB>", "<NUL>" or "<xHH>", so line ends are seen and nothing vanishes.
QString visibleControlCharacters(const QString &text);

// The minimum, average and maximum of signal levels in dBm.
struct LevelSummary
{
    int count = 0;
    int min = 0;
    int max = 0;
    double average = 0;
};

// The levels of a run in dBm: the whole run, counted as they come, and the last minute, kept by time.
class LevelStatistics
{
public:
    static constexpr std::chrono::seconds kRecentSpan { 60 };

    void add(const QDateTime &time, int dbm);
    void clear();
    LevelSummary wholeRun() const { return m_whole; }
    // The levels of the minute before `now`.
    LevelSummary lastMinute(const QDateTime &now) const;

private:
    struct Sample
    {
        qint64 msecs;
        int dbm;
    };
    LevelSummary m_whole;
    double m_sum = 0;
    // Samples older than the span go as new ones come; a window that asks later filters by time.
    std::deque<Sample> m_recent;
};

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
    // The levels of every event with a level on the 0 … 31 scale since the run began (or the last clear),
    // the dropped ones too.
    const LevelStatistics &levels() const { return m_levels; }
    void clear();

signals:
    void appended(const HistoryEvent &event);
    void cleared();

private:
    std::deque<HistoryEvent> m_events;
    qint64 m_dropped = 0;
    int m_bound;
    LevelStatistics m_levels;
};
