#pragma once

#include "pages/pagewindow.h"

class Frm4 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm4(QWidget *parent = nullptr);
};
