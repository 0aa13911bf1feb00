#include "comm/signalstrength.h"

#include "comm/signallevel.h"
#include "window/colors.h"
#include "window/formwindow.h"

#include <QFrame>
#include <QLabel>

#include <optional>

namespace {

// Inside the frame, in twips: rising heights, bottoms aligned.
constexpr int kBarWidth = 135;
constexpr int kBarBottom = 1080;
constexpr std::array<int, SignalStrength::kBarCount> kBarLefts = { 120, 360, 600, 840, 1080 };
constexpr std::array<int, SignalStrength::kBarCount> kBarHeights = { 255, 390, 525, 660, 795 };

void setBarColour(QLabel *bar, unsigned bgr)
{
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, QColor(fromBgr(bgr)));
    bar->setPalette(palette);
}

} // namespace

SignalStrength::SignalStrength(FormWindow *page)
    : QObject(page)
{
    m_frame1 = page->add(new QFrame(page), QStringLiteral("Frame1"));
    m_frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    for (int i = 0; i < kBarCount; ++i) {
        auto *bar = page->add(new QLabel(m_frame1), QStringLiteral("lbl"), i + 1);
        bar->setGeometry(twipsRect(kBarLefts[i], kBarBottom - kBarHeights[i], kBarWidth, kBarHeights[i]));
        bar->setAutoFillBackground(true);
        m_lbl[i] = bar;
    }
    grey();
}

void SignalStrength::showLevel(int level)
{
    const std::optional<SignalBars> bars = signalBarColours(level);
    if (!bars)
        return;
    for (int i = 0; i < kBarCount; ++i) {
        switch ((*bars)[i]) {
        case BarColour::Off:
            setBarColour(m_lbl[i], Bgr::Grey);
            break;
        case BarColour::Green:
            setBarColour(m_lbl[i], Bgr::Green);
            break;
        case BarColour::Red:
            setBarColour(m_lbl[i], Bgr::Red);
            break;
        }
    }
}

void SignalStrength::grey()
{
    for (QLabel *bar : m_lbl)
        setBarColour(bar, Bgr::Grey);
}
