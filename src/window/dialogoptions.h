#pragma once

#include <QString>

#include <functional>

class QWidget;

// What a window asks of the user or of the system, given to the window as options so that another answer can
// stand in for it (a test answers without a click). Each window uses the ones it needs; an empty function is
// the window's own Qt box, dialog or program start, as the user knows them.
struct DialogOptions
{
    // A message the user only acknowledges: the window it belongs to, its title and its text.
    std::function<void(QWidget *parent, const QString &title, const QString &text)> showMessage;
    // A question with two answers: true for the first (the one that acts), false for the other.
    std::function<bool(QWidget *parent, const QString &text)> askQuestion;
    // A file to open or to save to: the window, the dialog's caption, the folder or file it starts at and
    // its filter. An empty name means the user chose none.
    using FileNameQuery = std::function<QString(
        QWidget *parent, const QString &caption, const QString &start, const QString &filter)>;
    FileNameQuery openFileName;
    FileNameQuery saveFileName;
    // Starts a program on its own, not tied to this one; false when it could not be started.
    std::function<bool(const QString &program)> startProgram;
};
