#pragma once

#include "pages/pagewindow.h"

class QCheckBox;
class QFrame;
class QLineEdit;

// The inputs T1/T2 page: per input (one tab each) whether it is in use, the limit in percent and whether the
// module reports the input rising above or falling below it; one set of report recipients for both inputs.
class Frm2 : public PageWindow
{
    Q_OBJECT

public:
    static constexpr int kInputCount = 2;

    explicit Frm2(QWidget *parent = nullptr);

    QCheckBox *chk2(int input) const;
    QFrame *fra2(int input) const;
    QLineEdit *txtwert(int input) const;
    QFrame *fraWer() const;

    // The visibility rule of input k: its limit frame and the recipients follow its "Belegt" box; the other
    // input's frame is left as it is.
    void applyVisibilityRule(int input);

    void acknowledgeMessage() override;

protected:
    void pageLoaded() override;

private:
    void buildInput(QWidget *picture, int input);
};
