#pragma once

#include "pages/pagewindow.h"

class Frm1 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm1(QWidget *parent = nullptr);
};
