#pragma once

#include "core/limitrule.h"

class PageWindow;
class QLineEdit;

// Puts a limit field of the page under its rules: the digit filter and length (limitFieldRule), the whole
// text selected on entry, the Enter check and the leaving check.
void attachLimitField(PageWindow *page, QLineEdit *field, LimitLeaving rule);
