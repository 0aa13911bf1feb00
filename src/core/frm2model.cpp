#include "core/pagemodelrules.h"

// The inputs T1/T2 page. Each input's "Belegt" box shows or hides that input's limit frame and the shared
// recipients, which changes no value; the option groups and the limit fields take care of themselves. What
// is left for the page: a greyed "Belegt" box, and input 2's box, which the page enables once it has loaded.
namespace {

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    // A greyed "Belegt" box (only an edited settings file holds one) is not in use: it turns unticked, and
    // from then on it only ticks and unticks.
    if (QStringView(field.name) == u"chk2" && after == u"2")
        editor.setState(editor.field(field.section, field.name, field.index), 0);
}

void loaded(ConfigurationEditor &editor)
{
    // Input 2 can be put in use only once the file has been read.
    editor.setEnabled(u"frm2", u"chk2", 2, true);
}

} // namespace

const PageModelRules &frm2ModelRules()
{
    static const PageModelRules rules { changed, loaded };
    return rules;
}
