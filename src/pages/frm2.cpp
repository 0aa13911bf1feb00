#include "pages/frm2.h"

Frm2::Frm2(QWidget *parent)
    : PageWindow(QStringLiteral("frm2"), 2, parent)
{
    resize(twips(4700), twips(6000));
}
