#include "core/pagemodelrules.h"

const PageModelRules &frm6ModelRules()
{
    static const PageModelRules rules;
    return rules;
}
