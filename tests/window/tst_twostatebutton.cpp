#include "window/twostatebutton.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The look the buttons had as a style sheet: what the painted button must still draw, pixel for pixel.
QString formerSheet(QRgb background, QRgb text, bool bold)
{
    const QColor bg(background);
    const QColor fg(text);
    return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 2px outset %3; "
                          "font-weight: %6; }"
                          "QPushButton:checked, QPushButton:pressed { border-style: inset; }"
                          "QPushButton:focus { border-color: %4; }"
                          "QPushButton:disabled { color: %5; }")
        .arg(bg.name(), fg.name(), bg.darker(130).name(), bg.darker(170).name(), bg.darker(150).name(),
            bold ? u"bold"_s : u"normal"_s);
}

enum class State { Plain, Set, Focus, KeyboardFocus, Pressed, Disabled, UnderMouse, AutoDefault, Default };

void putInto(QPushButton *button, State state, QSize size, const QString &caption)
{
    button->resize(size);
    button->setText(caption);
    button->setChecked(state == State::Set);
    button->setDown(state == State::Pressed);
    button->setEnabled(state != State::Disabled);
    button->setAttribute(Qt::WA_UnderMouse, state == State::UnderMouse);
    if (state == State::AutoDefault || state == State::Default) {
        button->setCheckable(false);
        button->setAutoDefault(true);
        button->setDefault(state == State::Default);
    }
}

QImage drawn(QPushButton *button, State state)
{
    if (state == State::Focus || state == State::KeyboardFocus)
        button->setFocus();
    return button->grab().toImage();
}

} // namespace

class tst_TwoStateButton : public QObject
{
    Q_OBJECT

private slots:
    void drawsAsItsFormerSheet();
    void pictureFaceDrawsAsItsFormerSheet();
    void weightIsTheButtonsOwn();
};

void tst_TwoStateButton::drawsAsItsFormerSheet()
{
    struct Look
    {
        QRgb background, text;
    };
    // The menu, the selected menu entry, a page tab, the communication page's buttons.
    const Look looks[] = { { qRgb(128, 128, 255), qRgb(255, 255, 192) }, { qRgb(255, 255, 192), qRgb(0, 0, 128) },
        { qRgb(255, 255, 255), qRgb(0, 0, 0) }, { qRgb(192, 192, 192), qRgb(0, 64, 0) } };
    const QSize sizes[] = { { 240, 33 }, { 48, 23 }, { 177, 65 } };
    const State states[] = { State::Plain, State::Set, State::Focus, State::KeyboardFocus, State::Pressed,
        State::Disabled, State::UnderMouse, State::AutoDefault, State::Default };
    int compared = 0;
    for (const Look &look : looks) {
        for (const bool bold : { false, true }) {
            for (const qreal points : { 8.25, 12.0 }) {
                for (const QSize size : sizes) {
                    for (const State state : states) {
                        QWidget window;
                        QFont font(u"Arial"_s);
                        font.setPointSizeF(points);
                        window.setFont(font);
                        QPushButton former(&window);
                        former.setCheckable(true);
                        former.setStyleSheet(formerSheet(look.background, look.text, bold));
                        TwoStateButton button(&window);
                        button.setColors(look.background, look.text);
                        button.setBold(bold);
                        const QString caption = size.width() < 60 ? u"D/E/F"_s : u"Rückantwort && Fehler"_s;
                        putInto(&former, state, size, caption);
                        putInto(&button, state, size, caption);
                        window.show();
                        window.setAttribute(Qt::WA_KeyboardFocusChange, state == State::KeyboardFocus);
                        const QImage expected = drawn(&former, state);
                        const QImage got = drawn(&button, state);
                        if (got != expected) {
                            QFAIL(qPrintable(u"look %1, bold %2, %3 pt, %4x%5, state %6 differs"_s
                                                 .arg(QColor(look.background).name())
                                                 .arg(bold)
                                                 .arg(points)
                                                 .arg(size.width())
                                                 .arg(size.height())
                                                 .arg(int(state))));
                        }
                        ++compared;
                    }
                }
            }
        }
    }
    QCOMPARE(compared, 4 * 2 * 2 * 3 * 9);
}

void tst_TwoStateButton::pictureFaceDrawsAsItsFormerSheet()
{
    const QPixmap logo(u":/images/logo.png"_s);
    QVERIFY(!logo.isNull());
    for (const State state : { State::Plain, State::Set, State::Focus, State::Pressed, State::Disabled }) {
        QWidget window;
        QPushButton former(&window);
        former.setCheckable(true);
        former.setStyleSheet(u"QPushButton { border: none; padding: 0px; background: white; }"_s);
        former.setIcon(QIcon(logo));
        former.setIconSize(logo.size());
        TwoStateButton button(&window);
        button.setPicture(logo);
        putInto(&former, state, logo.size(), QString());
        putInto(&button, state, logo.size(), QString());
        window.show();
        QCOMPARE(button.size(), logo.size());
        QCOMPARE(drawn(&button, state), drawn(&former, state));
    }
}

// As the sheet's font-weight did: a bold parent leaves its buttons normal, and the mark survives a later
// change of the parent's font.
void tst_TwoStateButton::weightIsTheButtonsOwn()
{
    QWidget window;
    QFont bold(u"Arial"_s);
    bold.setBold(true);
    window.setFont(bold);
    TwoStateButton normal(&window);
    TwoStateButton marked(&window);
    marked.setBold(true);
    QVERIFY(!normal.font().bold());
    QVERIFY(marked.font().bold());
    QFont other(u"Courier New"_s);
    other.setPointSizeF(14);
    other.setBold(true);
    window.setFont(other);
    QVERIFY(!normal.font().bold());
    QVERIFY(marked.font().bold());
    marked.setBold(false);
    QVERIFY(!marked.font().bold());
}

QTEST_MAIN(tst_TwoStateButton)
#include "tst_twostatebutton.moc"
