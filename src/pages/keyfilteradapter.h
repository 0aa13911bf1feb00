#pragma once

#include "core/keyfilters.h"

class QLineEdit;
class QPlainTextEdit;

// Puts a field under a key filter. Typed characters go through the filter as the field's KeyPress handling
// would do it (swallowed or replaced); editing keys (Backspace, Delete, arrows, Enter in a one-line field,
// Ctrl shortcuts) reach the field unchanged, so its own key handling still runs. Text that arrives any other
// way - pasted from the menu, Ctrl+V, Shift+Insert or the middle button, dropped, or committed by an input
// method - goes through the same filter character by character and is cut to the room left in the field.
//
// A page's own key handling sees each key first (as a KeyDown handler runs before KeyPress), then the filter
// acts on the character. Qt runs the event filter installed last first, so the page installs its handling
// after attaching the filter.
void attachKeyFilter(QLineEdit *field, KeyFilter filter);
// A multi-line field has no maximum length of its own: maxLength (negative: none) limits pasted text.
void attachKeyFilter(QPlainTextEdit *field, KeyFilter filter, int maxLength = -1);
