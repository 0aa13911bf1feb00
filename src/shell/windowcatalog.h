#pragma once

// Registers the factories of all windows of the program with the window registry: the start window, the
// pages, the communication page and the about box. Only the top of the program knows them all.
void registerProgramWindows();
