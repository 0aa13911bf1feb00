#include "comm/registrycontrolvalues.h"

#include "window/formwindow.h"
#include "window/windowregistry.h"

namespace {
const ControlRef *lookup(const QString &form, const QString &control, int index)
{
    FormWindow *window = WindowRegistry::instance().window(form);
    const ControlRef *ref = window ? window->findRef(control, index) : nullptr;
    if (!ref)
        qWarning("No control %s(%d) on %s", qPrintable(control), index, qPrintable(form));
    return ref;
}
} // namespace

QString RegistryControlValues::text(const QString &form, const QString &control, int index) const
{
    const ControlRef *ref = lookup(form, control, index);
    return ref ? controlText(*ref) : QString();
}

int RegistryControlValues::state(const QString &form, const QString &control, int index) const
{
    const ControlRef *ref = lookup(form, control, index);
    return ref ? controlState(*ref) : 0;
}
