#include "core/pagemodelrules.h"

const PageModelRules &pageModelRules(QStringView section)
{
    static const PageModelRules none;
    if (section.size() != 4 || !section.startsWith(u"frm"))
        return none;
    switch (section.at(3).unicode()) {
    case u'1':
        return frm1ModelRules();
    case u'2':
        return frm2ModelRules();
    case u'3':
        return frm3ModelRules();
    case u'4':
        return frm4ModelRules();
    case u'5':
        return frm5ModelRules();
    case u'6':
        return frm6ModelRules();
    case u'7':
        return frm7ModelRules();
    case u'9':
        return frm9ModelRules();
    default:
        return none;
    }
}
