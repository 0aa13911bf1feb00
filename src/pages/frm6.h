#pragma once

#include "pages/pagewindow.h"

// The PWM output page: whether the output is in use, the command form "PWM=0" ... "PWM=255" that sets it, and
// who may send that command.
class Frm6 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm6(QWidget *parent = nullptr);

protected:
    void pageLoaded() override;

private:
    // fra6 is shown and the hidden chkCLI ticked exactly while chk6 is ticked.
    void applyInUse();
};
