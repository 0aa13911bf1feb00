#include "core/pagemodelrules.h"

const PageModelRules &frm3ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
