#include "shell/frmabout.h"

FrmAbout::FrmAbout(QWidget *parent)
    : FormWindow(QStringLiteral("frmAbout"), parent)
{
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(twips(4155), twips(5430));
}
