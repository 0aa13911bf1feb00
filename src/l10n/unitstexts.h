#pragma once

#include "core/unitsfile.h"
#include "l10n/language.h"

#include <QString>

// What is wrong with a units file, for the user: the line, the column with its header name, the cell and the
// rule that refused it, in one language.
QString unitsProblemText(const UnitsProblem &problem, const Language &language);
// The same in the language in force: the commands' --lang, else the language of the program's configuration.
QString unitsProblemText(const UnitsProblem &problem);
