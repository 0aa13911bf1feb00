#include "core/pagemodelrules.h"

// The SMS outputs page. The "Belegt" boxes and "Gesendet von jedem" only show or hide blocks, and the switch
// commands the page shows are labels drawn from the switch texts: no value follows another. The one value
// rule is that of a greyed "Belegt" box.
namespace {

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    // A greyed "Belegt" box (only an edited settings file holds one) is not in use: it turns unticked, and
    // from then on it only ticks and unticks.
    if (QStringView(field.name) == u"chk4" && after == u"2")
        editor.setState(editor.field(field.section, field.name, field.index), 0);
}

} // namespace

const PageModelRules &frm4ModelRules()
{
    static const PageModelRules rules { changed, nullptr };
    return rules;
}
