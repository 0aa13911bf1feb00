#include "core/pagemodelrules.h"

const PageModelRules &frm1ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
