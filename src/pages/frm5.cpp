#include "pages/frm5.h"

Frm5::Frm5(QWidget *parent)
    : PageWindow(QStringLiteral("frm5"), 5, parent)
{
    resize(twips(4700), twips(6000));
}
