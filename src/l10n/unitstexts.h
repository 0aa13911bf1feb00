#pragma once

#include "core/unitsfile.h"
#include "l10n/language.h"

#include <QString>

// What is wrong with a units file, for the user: the line, the column with its header name, the cell and the
// rule that refused it, in one language.
QString unitsProblemText(const UnitsProblem &problem, const Language &language);
// The same in the language of the program's configuration (frm1's `language` box). Callers that know a
// language chosen over it (the commands' --lang) pass that language instead.
QString unitsProblemText(const UnitsProblem &problem);
