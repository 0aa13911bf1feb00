#pragma once

#include <QObject>

#include <array>

class FormWindow;
class QFrame;
class QLabel;

// The signal strength of the communication page: five bars of rising height in a frame, coloured as the
// module's last reported level says, grey while none is known.
class SignalStrength : public QObject
{
    Q_OBJECT

public:
    static constexpr int kBarCount = 5;

    // Creates the frame and its bars as controls of the page; the page places the frame.
    explicit SignalStrength(FormWindow *page);

    QFrame *frame() const { return m_frame1; }

    // A level the module reported; one that is no level leaves the bars as they are.
    void showLevel(int level);
    void grey();

private:
    QFrame *m_frame1 = nullptr;
    std::array<QLabel *, kBarCount> m_lbl {};
};
