#pragma once

#include "core/controlvalues.h"

// The live values of the page windows, found through the window registry. Reading a page that does not
// exist yet creates it, which loads its stored values from the settings file.
class RegistryControlValues : public ControlValues
{
public:
    QString text(const QString &form, const QString &control, int index = -1) const override;
    int state(const QString &form, const QString &control, int index = -1) const override;
};
