#include "core/pagemodelrules.h"

// The reply and error page: the error text takes input exactly while the error reply is ticked (a greyed box
// counts as ticked). Its text stays as it is while it is locked.
namespace {

const QString kSection = QStringLiteral("frm9");

void followErrorReply(ConfigurationEditor &editor)
{
    editor.setEnabled(editor.field(kSection, u"txtErr"), editor.isChecked(kSection, u"chkAntw"));
}

void changed(ConfigurationEditor &editor, const ConfigField &field, const QString &, const QString &)
{
    if (QStringView(field.name) == u"chkAntw")
        followErrorReply(editor);
}

} // namespace

const PageModelRules &frm9ModelRules()
{
    static const PageModelRules rules { changed, followErrorReply };
    return rules;
}
