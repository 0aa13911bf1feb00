#include "core/pagemodelrules.h"

const PageModelRules &frm9ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
