#pragma once

// The window is a part of its own, loaded only when the program starts without a command: a command then
// loads no window library at all. The part exports one function, which runs the window's event loop.
#define RM425T_WINDOW_ENTRY "rm425tRunWindow"

extern "C" {
using Rm425tRunWindow = int (*)(int argc, char *argv[]);
}
