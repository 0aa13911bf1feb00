#include "core/pagemodelrules.h"

const PageModelRules &frm7ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
