#pragma once

#include "pages/pagewindow.h"

class Frm6 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm6(QWidget *parent = nullptr);
};
