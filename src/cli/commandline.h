#pragma once

// The program's functions without the window: `rm425t COMMAND …` (record, upload, diff, status, sms, ports,
// init).

// Exit statuses of the commands; `rm425t --help` lists them.
namespace ExitCode {
inline constexpr int kSuccess = 0; // diff: the records are equal
inline constexpr int kDiffer = 1; // diff: the records differ, as diff(1) says it
inline constexpr int kUsage = 2; // wrong command, option or value; units and ports that do not fit together
inline constexpr int kSettingsRefused = 3; // the settings file or the units file cannot be used
inline constexpr int kNoPort = 4; // the port does not exist or cannot be opened; `ports`: none usable
inline constexpr int kNoAnswer = 5; // the module did not answer in time
inline constexpr int kWrongVersion = 6; // the module speaks another protocol version
inline constexpr int kIncompleteTransfer = 7; // a block of the record was not acknowledged
inline constexpr int kPortLost = 8; // the port went away while in use
inline constexpr int kRecordRefused = 9; // the record built from the pages is not 640 characters long
inline constexpr int kSmsNotSent = 10; // the module could not send the SMS
inline constexpr int kInterrupted
    = 130; // Ctrl+C (SIGINT, SIGTERM) before the module answered, as shells count it
} // namespace ExitCode

#include <QStringList>

#include <optional>

// True when the arguments ask for a command (or for the commands' help) rather than for the window.
bool isCommandLine(int argc, char *argv[]);

// The window takes Qt's own options only: anything else among the arguments (the program's name first) is
// said on standard error and gives ExitCode::kUsage; nullopt when the window may start. Once QApplication
// has taken its options (afterQt), whatever is left is refused, Qt's name or not.
std::optional<int> refuseWindowArguments(const QStringList &arguments, bool afterQt = false);

// Runs the command and returns its exit status. Needs no display and loads no platform plugin: it runs on a
// core application, without any window.
int runCommandLine(int argc, char *argv[]);
