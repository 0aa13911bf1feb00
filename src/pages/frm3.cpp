#include "pages/frm3.h"

Frm3::Frm3(QWidget *parent)
    : PageWindow(QStringLiteral("frm3"), 3, parent)
{
    resize(twips(4700), twips(6000));
}
