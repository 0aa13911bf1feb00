#include "comm/frm8.h"

Frm8::Frm8(QWidget *parent)
    : FormWindow(QStringLiteral("frm8"), parent)
{
    setWindowTitle(QStringLiteral("GSM"));
    resize(twips(4245), twips(6300));
}
