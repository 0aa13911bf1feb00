#pragma once

#include "core/configuration.h"

// The rules of each configuration page that tie its values together, one file per page.
const PageModelRules &frm1ModelRules();
const PageModelRules &frm2ModelRules();
const PageModelRules &frm3ModelRules();
const PageModelRules &frm4ModelRules();
const PageModelRules &frm5ModelRules();
const PageModelRules &frm6ModelRules();
const PageModelRules &frm7ModelRules();
const PageModelRules &frm9ModelRules();
