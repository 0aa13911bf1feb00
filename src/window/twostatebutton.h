#pragma once

#include <QPushButton>

// A check box drawn as a push button: it holds a value (0 or 1) like a check box and carries its own
// colours and font. The menu of the start window and the about box's "System - Info" use it with the
// pattern: a user's click sets value 1, the handler sets it back to 0 and acts on that second call.
//
// It paints itself: its face, a 2-pixel raised edge (sunk while pressed or set, darker while it has the
// focus) and its caption; or, with a picture, the picture on white and no edge. A style sheet would draw
// the same, but costs every window that holds such buttons the style sheet machinery at start-up.
class TwoStateButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TwoStateButton(QWidget *parent = nullptr);

    void setColors(QRgb background, QRgb text);
    void setBackground(QRgb background);
    void setTextColor(QRgb text);
    QRgb background() const { return m_background; }
    QRgb textColor() const { return m_text; }

    void setBold(bool bold);
    bool isBold() const { return m_bold; }
    void setFontSpec(const QString &family, qreal pointSize);

    // The face becomes the picture, at its own size: white behind it, no edge.
    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintEdge(QPainter &painter) const;

    QRgb m_background = qRgb(240, 240, 240);
    QRgb m_text = qRgb(0, 0, 0);
    bool m_bold = false;
    bool m_picture = false;
};
