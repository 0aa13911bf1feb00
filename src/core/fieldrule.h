#pragma once

#include "core/keyfilters.h"
#include "core/limitrule.h"

#include <QString>
#include <optional>

// What a text field of a page takes, whichever way a text comes in: the key filter of its characters, its
// maximum length, and the check on leaving it.
struct FieldRule
{
    KeyFilter filter = KeyFilter::None;
    int maxLength = -1; // characters; negative: no limit
    int minLength = 0; // the leaving check refuses a shorter text (the PIN's four digits)
    std::optional<LimitLeaving> limit; // a limit field: its leaving check corrects the value
};

// The limit field txtwert: digits, at most three, and its leaving check.
FieldRule limitFieldRule(LimitLeaving leaving);

// The text a field takes when a stored value is put into it (the settings file at start-up, an opened
// configuration, the commands): the value goes through the filter and the length as pasted text does,
// control characters dropped, then through the leaving check. No text when nothing of the value is left or
// the check refuses what is: the field then takes its design value, as for any value it cannot use.
std::optional<QString> storedFieldText(const FieldRule &rule, const QString &value);
