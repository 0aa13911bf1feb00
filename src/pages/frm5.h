#pragma once

#include "pages/pagewindow.h"

class QCheckBox;
class QFrame;
class QLineEdit;

// The ADC input page: whether the analogue input is in use, the message text, the limit in percent, whether
// the module reports the input rising above or falling below it, and who receives the report.
class Frm5 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm5(QWidget *parent = nullptr);

    QCheckBox *chk5() const;
    QFrame *fra5() const;
    QLineEdit *txt5() const;
    QLineEdit *txtwert() const;

    // Everything but the "Belegt" box is shown exactly while the box is ticked.
    void chk5_Click();

protected:
    void pageLoaded() override;
};
