#pragma once

#include "pages/pagewindow.h"

class Frm5 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm5(QWidget *parent = nullptr);
};
