#pragma once

#include "core/inifile.h"

#include <QtGlobal>

// A settings file as a user, a hand edit or a damaged disk may leave it, the same for the same seed on every
// machine: each stored value of the pages is present or not, and holds a fitting value, a value of another
// kind, characters no field takes, or too much; keys and sections come in any case, with a few strangers.
IniDocument randomSettings(quint32 seed);
