#include "core/pagemodelrules.h"

// The optocoupler inputs page. Its "Belegt" boxes show or hide frames and the shared recipients, which
// changes no value; the level options are option groups of their own. The one value rule is that of a
// greyed "Belegt" box.
namespace {

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    // A greyed "Belegt" box (only an edited settings file holds one) is not in use: it turns unticked, and
    // from then on it only ticks and unticks.
    if (QStringView(field.name) == u"chk3" && after == u"2")
        editor.setState(editor.field(field.section, field.name, field.index), 0);
}

} // namespace

const PageModelRules &frm3ModelRules()
{
    static const PageModelRules rules { changed, nullptr };
    return rules;
}
