#include "core/pagemodelrules.h"

// The incall output page. Its frames follow "Belegt" and "Jeder darf anrufen", but only their visibility
// does: the one value rule is that of the "Belegt" box.
namespace {

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    // A greyed "Belegt" box (only an edited settings file holds one) is not in use: it turns unticked, and
    // from then on it only ticks and unticks.
    if (QStringView(field.name) == u"chk7" && after == u"2")
        editor.setState(editor.field(field.section, field.name, field.index), 0);
}

} // namespace

const PageModelRules &frm7ModelRules()
{
    static const PageModelRules rules { changed, nullptr };
    return rules;
}
