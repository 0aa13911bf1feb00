#pragma once

#include "pages/pagewindow.h"

class Frm9 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm9(QWidget *parent = nullptr);
};
