#pragma once

#include "shell/formwindow.h"

// The about box: version, description and warning in the current language, and the system information tool.
class FrmAbout : public FormWindow
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);
};
