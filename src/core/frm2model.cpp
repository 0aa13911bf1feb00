#include "core/pagemodelrules.h"

const PageModelRules &frm2ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
