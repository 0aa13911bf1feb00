#include "window/twostatebutton.h"

TwoStateButton::TwoStateButton(QWidget *parent)
    : QPushButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    updateLook();
}

void TwoStateButton::setColors(QRgb background, QRgb text)
{
    // The marks are set again on every mouse move: an unchanged look must not restyle the button.
    if (background == m_background && text == m_text)
        return;
    m_background = background;
    m_text = text;
    updateLook();
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
    // The weight lives in the style sheet: a font set beside a style sheet is re-resolved whenever the
    // sheet changes, which would drop the mark.
    m_bold = bold;
    updateLook();
}

void TwoStateButton::setFontSpec(const QString &family, qreal pointSize)
{
    QFont f = font();
    f.setFamily(family);
    f.setPointSizeF(pointSize);
    setFont(f);
}

void TwoStateButton::updateLook()
{
    const QColor bg(m_background);
    const QColor fg(m_text);
    // The pressed state is only ever shown for a moment: the click handler sets it back at once.
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; border: 2px outset %3; "
                                 "font-weight: %6; }"
                                 "QPushButton:checked, QPushButton:pressed { border-style: inset; }"
                                 "QPushButton:focus { border-color: %4; }"
                                 "QPushButton:disabled { color: %5; }")
                      .arg(bg.name(), fg.name(), bg.darker(130).name(), bg.darker(170).name(),
                           bg.darker(150).name(), m_bold ? QStringLiteral("bold") : QStringLiteral("normal")));
}
