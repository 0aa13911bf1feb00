#pragma once

#include "comm/history.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>

class QChart;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QValueAxis;

// The signal level of the run as a curve in dBm over time, with the minimum, average and maximum of the last
// minute and of the whole run. A level the module does not know (99), one off the scale, and another
// function's run between two levels are gaps in the curve. New levels are drawn in batches, and the curve keeps the latest kMaxPoints of them.
class HistoryCurve : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxPoints = 20000;
    // Each piece between two gaps is a series of its own; a module that keeps saying "unknown" costs no more.
    static constexpr int kMaxPieces = 200;
    static constexpr std::chrono::milliseconds kDrawInterval { 200 };
    // A gap in the curve that is no level of the module's.
    static constexpr int kNoLevel = -1;

    explicit HistoryCurve(const History *history, QWidget *parent = nullptr);

    void retranslate();
    // Draws what came now (otherwise the draw timer does) and brings the figures up to date.
    void flush();

    // For the tests: the points of the curve, one list per piece between gaps, and the figures shown.
    QList<QList<QPointF>> pieces() const;
    QString lastMinuteText() const;
    QString wholeRunText() const;
    QChartView *chartView() const { return m_view; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void arrived(const HistoryEvent &event);
    void addLevel(const QDateTime &time, int level);
    void startPiece();
    void dropOldest(int count);
    void dropOldestPiece();
    void updateAxes();
    void updateFigures();
    void clearCurve();

    QPointer<const History> m_history;
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QDateTimeAxis *m_timeAxis = nullptr;
    QValueAxis *m_levelAxis = nullptr;
    QLabel *m_lastMinuteCaption = nullptr;
    QLabel *m_lastMinute = nullptr;
    QLabel *m_wholeRunCaption = nullptr;
    QLabel *m_wholeRun = nullptr;
    // The pieces of the curve, oldest first; the last is continued until a gap comes.
    std::deque<QLineSeries *> m_pieces;
    bool m_gap = true;
    int m_points = 0;
    QList<QPointF> m_pending;
    std::deque<std::pair<QDateTime, int>> m_incoming;
    QTimer m_drawTimer;
    QTimer m_figureTimer;
    QDateTime m_first;
    QDateTime m_last;
};
