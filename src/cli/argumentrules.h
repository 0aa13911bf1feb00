#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// Rules on what is typed after `rm425t`, widget-free so they can be checked on their own.
namespace ArgumentRules {

// The window takes no arguments of its own, only Qt's (-platform, -style …, with one dash or two).
struct NonQtArgument
{
    QString argument;
    bool lacksValue = false; // one of Qt's options, but its value is missing
};

// The first argument after the program's name that is not one of Qt's; nullopt when all are.
std::optional<NonQtArgument> firstNonQtArgument(const QStringList &arguments);

// The user's text as a message may quote it: control and format characters (a terminal would act on them,
// or they hide what follows) written as \xHH or \u{HHHH}, every character whole.
QString shown(const QString &text);

// What a port name stands for, so two spellings of one port (/tmp/x/m and /tmp/x/../x/m, or two links to one
// device) compare equal.
QString portIdentity(const QString &port);

// Notes of Qt's own that belong to no answer of the commands (about a session, a display, a file position):
// kept out of standard error, which scripts read.
bool isQtNote(QtMsgType type, const char *category, const QString &message);

} // namespace ArgumentRules
