#include "pages/frm9.h"

Frm9::Frm9(QWidget *parent)
    : PageWindow(QStringLiteral("frm9"), 9, parent)
{
    resize(twips(4700), twips(6000));
}
