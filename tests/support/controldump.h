#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

// Everything a user sees of a window and its controls, one line per widget in creation order: class, name,
// geometry, shown or hidden, enabled, font, text, tick and tool tip. Two windows that give the same dump
// look and behave the same.
inline QString controlDumpLine(const QWidget *widget, const QWidget *window, int depth)
{
    QString text;
    int state = -1;
    if (auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        text = button->text();
        state = button->isCheckable() ? (button->isChecked() ? 1 : 0) : -1;
        if (auto *check = qobject_cast<const QCheckBox *>(widget))
            state = int(check->checkState());
    } else if (auto *line = qobject_cast<const QLineEdit *>(widget)) {
        text = line->text() + QStringLiteral(" max=") + QString::number(line->maxLength());
    } else if (auto *plain = qobject_cast<const QPlainTextEdit *>(widget)) {
        text = plain->toPlainText();
    } else if (auto *combo = qobject_cast<const QComboBox *>(widget)) {
        text = combo->currentText() + QStringLiteral(" #") + QString::number(combo->count());
    }
    const QRect g = widget->geometry();
    return QStringLiteral("%1%2 %3 %4,%5 %6x%7 %8%9 [%10] \"%11\" %12 tip=\"%13\"")
        .arg(QString(depth * 2, u' '), QString::fromLatin1(widget->metaObject()->className()),
            widget->objectName())
        .arg(g.x())
        .arg(g.y())
        .arg(g.width())
        .arg(g.height())
        .arg(widget == window || widget->isVisibleTo(window) ? QStringLiteral("shown") : QStringLiteral("hidden"),
            widget->testAttribute(Qt::WA_Disabled) ? QStringLiteral(" disabled") : QString(), widget->font().key(),
            QString(text).replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r")))
        .arg(state)
        .arg(widget->toolTip());
}

inline void controlDump(const QWidget *widget, const QWidget *window, int depth, QStringList &lines)
{
    lines << controlDumpLine(widget, window, depth);
    for (QObject *child : widget->children()) {
        if (auto *childWidget = qobject_cast<QWidget *>(child); childWidget && !childWidget->isWindow())
            controlDump(childWidget, window, depth + 1, lines);
    }
}

inline QStringList controlDump(const QWidget *window)
{
    QStringList lines;
    controlDump(window, window, 0, lines);
    return lines;
}
