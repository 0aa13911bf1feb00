#include "core/pagemodelrules.h"

// The ADC input page. "Belegt" shows or hides the page's frame, which changes no value; the limit field's
// rule (a value outside 0..100 becomes "50") is the field's own. The one value rule is that of a greyed
// "Belegt" box.
namespace {

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    // A greyed "Belegt" box (only an edited settings file holds one) is not in use: it turns unticked, and
    // from then on it only ticks and unticks.
    if (QStringView(field.name) == u"chk5" && after == u"2")
        editor.setState(editor.field(field.section, field.name, field.index), 0);
}

} // namespace

const PageModelRules &frm5ModelRules()
{
    static const PageModelRules rules { changed, nullptr };
    return rules;
}
