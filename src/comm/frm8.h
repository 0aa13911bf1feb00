#pragma once

#include "shell/formwindow.h"

// The communication page: the serial link, the parameter upload, status monitoring and the SMS service.
class Frm8 : public FormWindow
{
    Q_OBJECT

public:
    explicit Frm8(QWidget *parent = nullptr);
};
