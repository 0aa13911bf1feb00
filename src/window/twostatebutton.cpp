#include "window/twostatebutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

constexpr int kEdge = 2;

} // namespace

TwoStateButton::TwoStateButton(QWidget *parent)
    : QPushButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // The weight is always the button's own, never its parent's: a bold window keeps normal buttons.
    QFont f = font();
    f.setBold(false);
    setFont(f);
}

void TwoStateButton::setColors(QRgb background, QRgb text)
{
    // The marks are set again on every mouse move: an unchanged look must not repaint the button.
    if (background == m_background && text == m_text)
        return;
    m_background = background;
    m_text = text;
    update();
}

void TwoStateButton::setBackground(QRgb background)
{
    setColors(background, m_text);
}

void TwoStateButton::setTextColor(QRgb text)
{
    setColors(m_background, text);
}

void TwoStateButton::setBold(bool bold)
{
    if (m_bold == bold)
        return;
    m_bold = bold;
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void TwoStateButton::setFontSpec(const QString &family, qreal pointSize)
{
    QFont f = font();
    f.setFamily(family);
    f.setPointSizeF(pointSize);
    setFont(f);
}

void TwoStateButton::setPicture(const QPixmap &picture)
{
    m_picture = true;
    resize(picture.size());
    setIcon(QIcon(picture));
    setIconSize(picture.size());
    update();
}

// The edge as a style sheet's "2px outset" border draws it: four trapezoids, antialiased, the light side
// the edge colour made lighter; sunk, the sides change places. The colour goes through 8 bits first, as
// the colour name of a sheet would.
void TwoStateButton::paintEdge(QPainter &painter) const
{
    const QColor face(m_background);
    const QColor edge((hasFocus() ? face.darker(170) : face.darker(130)).rgb());
    const QColor light = edge.lighter();
    const bool sunk = isDown() || isChecked();
    const qreal x1 = 0, y1 = 0, x2 = width(), y2 = height(), w = kEdge;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sunk ? light : edge);
    painter.drawConvexPolygon(QPolygonF { QPointF(x1 + w, y2 - w), QPointF(x1, y2), QPointF(x2, y2),
        QPointF(x2 - w, y2 - w) });
    painter.drawConvexPolygon(QPolygonF { QPointF(x2 - w, y1 + w), QPointF(x2 - w, y2 - w), QPointF(x2, y2),
        QPointF(x2, y1) });
    painter.setBrush(sunk ? edge : light);
    painter.drawConvexPolygon(QPolygonF { QPointF(x1, y1), QPointF(x1, y2), QPointF(x1 + w, y2 - w),
        QPointF(x1 + w, y1 + w) });
    painter.drawConvexPolygon(QPolygonF { QPointF(x1, y1), QPointF(x1 + w, y1 + w), QPointF(x2 - w, y1 + w),
        QPointF(x2, y1) });
    painter.restore();
}

void TwoStateButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_picture) {
        painter.fillRect(rect(), Qt::white);
        QStyleOptionButton option;
        initStyleOption(&option);
        style()->drawControl(QStyle::CE_PushButtonLabel, &option, &painter, this);
        return;
    }
    const QColor face(m_background);
    painter.fillRect(rect(), face);
    paintEdge(painter);
    QPalette colours = palette();
    colours.setColor(QPalette::ButtonText, isEnabled() ? QColor(m_text) : face.darker(150));
    style()->drawItemText(&painter, rect().adjusted(kEdge, kEdge, -kEdge, -kEdge),
        Qt::AlignCenter | Qt::TextShowMnemonic, colours, true, text(), QPalette::ButtonText);
}
