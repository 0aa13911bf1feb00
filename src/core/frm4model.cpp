#include "core/pagemodelrules.h"

const PageModelRules &frm4ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
