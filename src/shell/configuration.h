#pragma once

#include "shell/settingstexts.h"
#include "window/settingsfile.h"

#include <QString>

// A configuration is a settings file the user keeps under a name of his own. Opening one runs every
// page's load step over it, as start-up runs them over the working settings file.

// Puts the whole document into the pages frm1 … frm7, frm9 (created when missing) in their order, each by
// its load step. The document has been read and checked completely before, so the pages never end up half
// from one configuration and half from another.
void loadConfigurationIntoPages(const IniDocument &document);

// loadConfigurationIntoPages, then the captions of the language the document brings.
void applyConfiguration(const IniDocument &document);

// What a save of the configuration pages writes, in the order of a save.
IniDocument documentOfPages();

