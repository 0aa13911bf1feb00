#include "pages/frm1.h"

#include <QLineEdit>

Frm1::Frm1(QWidget *parent)
    : PageWindow(QStringLiteral("frm1"), 1, parent)
{
    resize(twips(4700), twips(6000));
    // The language code; hidden, saved and restored with the page.
    auto *language = add(new QLineEdit(QStringLiteral("1"), this), QStringLiteral("language"));
    language->setMaxLength(8);
    language->hide();
}
