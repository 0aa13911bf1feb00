#pragma once

#include <QString>

// Read access to the input controls of the configuration pages, by window name, control name and (for
// control arrays) member index; index -1 addresses a single control. The record builders read the pages
// through this, so they can be fed from the live windows or from plain values in a test.
class ControlValues
{
public:
    virtual ~ControlValues() = default;

    // Text of a text box.
    virtual QString text(const QString &form, const QString &control, int index = -1) const = 0;

    // Check box: 0 cleared, 1 ticked, 2 greyed. Option button: 1 when selected, 0 when not.
    virtual int state(const QString &form, const QString &control, int index = -1) const = 0;
};
