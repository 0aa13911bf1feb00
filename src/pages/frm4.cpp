#include "pages/frm4.h"

Frm4::Frm4(QWidget *parent)
    : PageWindow(QStringLiteral("frm4"), 4, parent)
{
    resize(twips(4700), twips(6000));
}
