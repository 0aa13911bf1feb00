#include "pages/frm7.h"

Frm7::Frm7(QWidget *parent)
    : PageWindow(QStringLiteral("frm7"), 7, parent)
{
    resize(twips(4700), twips(6000));
}
