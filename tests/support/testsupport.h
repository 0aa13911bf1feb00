#pragma once

// Shared helpers for the tests; each helper has its own header.
#include "simprocess.h"
