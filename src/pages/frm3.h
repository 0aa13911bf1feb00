#pragma once

#include "pages/pagewindow.h"

class Frm3 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm3(QWidget *parent = nullptr);
};
