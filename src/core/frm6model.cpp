#include "core/pagemodelrules.h"

// The PWM output page. The hidden box chkCLI is never the user's: it takes the state of "Belegt" whenever
// that changes and once more when the page has loaded, so the two are never stored differently.
namespace {

void followInUse(ConfigurationEditor &editor)
{
    editor.setState(u"frm6", u"chkCLI", -1, editor.state(u"frm6", u"chk6"));
}

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &after)
{
    if (QStringView(field.name) != u"chk6")
        return;
    // A greyed "Belegt" box (only an edited settings file holds one) is not in use: it turns unticked, and
    // that change brings chkCLI along.
    if (after == u"2") {
        editor.setState(editor.field(field.section, field.name, field.index), 0);
        return;
    }
    followInUse(editor);
}

void loaded(ConfigurationEditor &editor)
{
    // The file may hold a chkCLI of its own, read after "Belegt".
    followInUse(editor);
}

} // namespace

const PageModelRules &frm6ModelRules()
{
    static const PageModelRules rules { changed, loaded };
    return rules;
}
