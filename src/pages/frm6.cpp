#include "pages/frm6.h"

Frm6::Frm6(QWidget *parent)
    : PageWindow(QStringLiteral("frm6"), 6, parent)
{
    resize(twips(4700), twips(6000));
}
