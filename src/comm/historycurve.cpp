#include "comm/historycurve.h"

#include "comm/historytexts.h"
#include "comm/signallevel.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

namespace {
// The module's scale in dBm, with a little room at both ends.
constexpr int kLowestDbm = -120;
constexpr int kHighestDbm = -40;
constexpr int kLevelTicks = 5; // every 20 dBm, a finer line between: the labels need their height
// A curve with a single time still spans this much.
constexpr qint64 kShortestSpanMs = 60000;
const QColor kCurveColour(0x00, 0x66, 0xCC);
} // namespace

HistoryCurve::HistoryCurve(const History *history, QWidget *parent)
    : QWidget(parent)
    , m_history(history)
{
    m_chart = new QChart;
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_timeAxis = new QDateTimeAxis(m_chart);
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTickCount(6);
    m_levelAxis = new QValueAxis(m_chart);
    m_levelAxis->setRange(kLowestDbm, kHighestDbm);
    m_levelAxis->setTickCount(kLevelTicks);
    m_levelAxis->setMinorTickCount(1);
    m_levelAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_levelAxis, Qt::AlignLeft);

    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("curve"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumHeight(160);
    // A stretch of time is looked at closer by drawing over it; the right button goes back.
    m_view->setRubberBand(QChartView::HorizontalRubberBand);
    m_view->viewport()->installEventFilter(this);

    m_lastMinuteCaption = new QLabel(this);
    m_lastMinute = new QLabel(this);
    m_lastMinute->setObjectName(QStringLiteral("lastMinute"));
    m_wholeRunCaption = new QLabel(this);
    m_wholeRun = new QLabel(this);
    m_wholeRun->setObjectName(QStringLiteral("wholeRun"));
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 0, 0, 1, 2);
    layout->addWidget(m_lastMinuteCaption, 1, 0);
    layout->addWidget(m_lastMinute, 1, 1);
    layout->addWidget(m_wholeRunCaption, 2, 0);
    layout->addWidget(m_wholeRun, 2, 1);
    layout->setColumnStretch(1, 1);

    m_drawTimer.setSingleShot(true);
    m_drawTimer.setInterval(kDrawInterval);
    connect(&m_drawTimer, &QTimer::timeout, this, &HistoryCurve::flush);
    // The last minute moves on when no level comes.
    m_figureTimer.setInterval(1000);
    connect(&m_figureTimer, &QTimer::timeout, this, &HistoryCurve::updateFigures);
    m_figureTimer.start();

    if (history) {
        for (const HistoryEvent &event : history->events())
            arrived(event);
        connect(history, &History::appended, this, &HistoryCurve::arrived);
        connect(history, &History::cleared, this, &HistoryCurve::clearCurve);
    }
    retranslate();
    flush();
}

bool HistoryCurve::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        m_chart->zoomReset();
        updateAxes();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryCurve::retranslate()
{
    m_timeAxis->setTitleText(HistoryText::curveTimeAxis());
    m_levelAxis->setTitleText(HistoryText::curveLevelAxis());
    m_lastMinuteCaption->setText(HistoryText::lastMinute());
    m_wholeRunCaption->setText(HistoryText::wholeRun());
    updateFigures();
}

void HistoryCurve::arrived(const HistoryEvent &event)
{
    // Another function interrupted monitoring: nothing was measured meanwhile, the line stops there.
    const bool interruption = event.kind != HistoryEvent::Kind::Status && event.kind != HistoryEvent::Kind::Level;
    if (!event.level && !interruption)
        return;
    m_incoming.emplace_back(event.time, event.level.value_or(kNoLevel));
    // Bounded however fast levels come: what the curve would drop anyway is never kept.
    if (m_incoming.size() > std::size_t(kMaxPoints))
        m_incoming.pop_front();
    if (!m_drawTimer.isActive())
        m_drawTimer.start();
}

void HistoryCurve::dropOldestPiece()
{
    QLineSeries *oldest = m_pieces.front();
    m_points -= int(oldest->count());
    m_chart->removeSeries(oldest);
    delete oldest;
    m_pieces.pop_front();
    if (!m_pieces.empty() && m_pieces.front()->count() > 0)
        m_first = QDateTime::fromMSecsSinceEpoch(qint64(m_pieces.front()->at(0).x()));
}

void HistoryCurve::startPiece()
{
    while (int(m_pieces.size()) >= kMaxPieces)
        dropOldestPiece();
    auto *series = new QLineSeries(m_chart);
    series->setColor(kCurveColour);
    // A piece of one point is a dot, not nothing.
    series->setPointsVisible(true);
    series->setMarkerSize(4);
    m_chart->addSeries(series);
    series->attachAxis(m_timeAxis);
    series->attachAxis(m_levelAxis);
    m_pieces.push_back(series);
}

void HistoryCurve::addLevel(const QDateTime &time, int level)
{
    if (level != kNoLevel) {
        if (!m_first.isValid())
            m_first = time;
        m_last = time;
    }
    const std::optional<int> dbm = signalLevelDbm(level);
    if (!dbm) {
        // Unknown: the line stops here and starts afresh with the next known level.
        if (!m_pending.isEmpty())
            m_pieces.back()->append(std::exchange(m_pending, {}));
        m_gap = true;
        return;
    }
    if (m_gap) {
        if (!m_pending.isEmpty())
            m_pieces.back()->append(std::exchange(m_pending, {}));
        startPiece();
        m_gap = false;
    }
    m_pending.append(QPointF(double(time.toMSecsSinceEpoch()), double(*dbm)));
    ++m_points;
}

void HistoryCurve::flush()
{
    m_drawTimer.stop();
    if (!m_incoming.empty()) {
        for (const auto &[time, level] : m_incoming)
            addLevel(time, level);
        m_incoming.clear();
        if (!m_pending.isEmpty())
            m_pieces.back()->append(std::exchange(m_pending, {}));
        if (m_points > kMaxPoints)
            dropOldest(m_points - kMaxPoints);
        updateAxes();
    }
    updateFigures();
}

void HistoryCurve::dropOldest(int count)
{
    while (count > 0 && !m_pieces.empty()) {
        QLineSeries *oldest = m_pieces.front();
        const int taken = qMin(count, int(oldest->count()));
        if (taken == 0 && m_pieces.size() == 1)
            break;
        oldest->removePoints(0, taken);
        count -= taken;
        m_points -= taken;
        if (oldest->count() == 0 && (m_pieces.size() > 1 || m_gap))
            dropOldestPiece();
    }
}

void HistoryCurve::updateAxes()
{
    // Left alone while the user looks closer at a stretch.
    if (!m_first.isValid() || m_chart->isZoomed())
        return;
    QDateTime begin = m_first;
    QDateTime end = m_last;
    if (begin.msecsTo(end) < kShortestSpanMs)
        end = begin.addMSecs(kShortestSpanMs);
    m_timeAxis->setRange(begin, end);
}

void HistoryCurve::updateFigures()
{
    if (!m_history)
        return;
    const auto text = [](const LevelSummary &s) {
        return s.count == 0 ? HistoryText::noLevels() : HistoryText::levelSummary(s.min, s.average, s.max, s.count);
    };
    m_lastMinute->setText(text(m_history->levels().lastMinute(QDateTime::currentDateTime())));
    m_wholeRun->setText(text(m_history->levels().wholeRun()));
}

void HistoryCurve::clearCurve()
{
    for (QLineSeries *series : m_pieces) {
        m_chart->removeSeries(series);
        delete series;
    }
    m_pieces.clear();
    m_pending.clear();
    m_incoming.clear();
    m_points = 0;
    m_gap = true;
    m_first = m_last = QDateTime();
    updateFigures();
}

QList<QList<QPointF>> HistoryCurve::pieces() const
{
    QList<QList<QPointF>> all;
    for (const QLineSeries *series : m_pieces)
        all.append(series->points());
    return all;
}

QString HistoryCurve::lastMinuteText() const
{
    return m_lastMinute->text();
}

QString HistoryCurve::wholeRunText() const
{
    return m_wholeRun->text();
}
