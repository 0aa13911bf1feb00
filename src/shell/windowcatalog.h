#pragma once

#include "comm/frm8.h"
#include "window/dialogoptions.h"

// What the windows of the program are built with. The defaults are the program's own.
struct ProgramWindowOptions
{
    // Handed to every window that asks the user or starts a program: the start window (opening and saving
    // configurations), the communication page and its history window, and the about box.
    DialogOptions dialogs;
    // How the communication page reaches the module; its dialogs are the ones above.
    Frm8Options frm8;
};

// Registers the factories of all windows of the program with the window registry: the start window, the
// pages, the communication page and the about box. Only the top of the program knows them all.
void registerProgramWindows(const ProgramWindowOptions &options = {});

class FontConfigurationWarmUp;
class FormWindow;

// Registers the windows, builds the start window and shows it: what the program does when it starts. The
// warm-up, created before the application object, reads the font configuration and fills the font
// database beside this work; it is waited for just before the first paint needs them.
FormWindow *showStartWindow(FontConfigurationWarmUp &warmUp, const ProgramWindowOptions &options = {});
