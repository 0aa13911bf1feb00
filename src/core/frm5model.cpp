#include "core/pagemodelrules.h"

const PageModelRules &frm5ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
