#pragma once

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

// What a user does to the page controls, for the page tests.
namespace typing {

// Types each character as a key press and release carrying that character (umlauts included, which
// QTest::keyClicks cannot send).
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

// A mouse move with no button held, as the window system delivers it to a widget with mouse tracking.
inline void hover(QWidget *widget, QPoint pos = QPoint(3, 3))
{
    QMouseEvent move(
        QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// Enters a field with the mouse and waits until its whole text is selected, as a user sees it before typing.
inline bool enter(QLineEdit *field)
{
    QTest::mouseClick(field, Qt::LeftButton);
    return QTest::qWaitFor(
        [field] { return field->hasFocus() && field->selectedText() == field->text(); }, 1000);
}

} // namespace typing
