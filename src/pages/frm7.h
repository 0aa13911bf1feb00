#pragma once

#include "pages/pagewindow.h"

// The incall output page: whether the output that an allowed caller switches on is in use, for how long it
// stays on (one of twelve steps from 0.3 seconds to 24 hours), and who may call: anyone, or all or selected
// phone numbers of the general settings page.
class Frm7 : public PageWindow
{
    Q_OBJECT

public:
    static constexpr int kDurationCount = 12;

    explicit Frm7(QWidget *parent = nullptr);

protected:
    void pageLoaded() override;

private:
    // fraWer7 (the caller selection) is hidden while chkPsw7 ("Jeder darf anrufen") holds any tick.
    void applyCallerRule();
    // fra7 is shown exactly while chk7 ("Belegt") is ticked.
    void applyInUse();
};
