#pragma once

#include "pages/pagewindow.h"

class Frm2 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm2(QWidget *parent = nullptr);
};
