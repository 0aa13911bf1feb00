#pragma once

#include "pages/pagewindow.h"

class Frm7 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm7(QWidget *parent = nullptr);
};
