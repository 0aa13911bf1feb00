#pragma once

#include "pages/pagewindow.h"

class QCheckBox;
class QFrame;
class QLineEdit;

// The optocoupler inputs page: per input (one tab each) whether it is in use, its message text and whether
// the module reports it going low or high; one set of report recipients for both inputs.
class Frm3 : public PageWindow
{
    Q_OBJECT

public:
    static constexpr int kInputCount = 2;

    explicit Frm3(QWidget *parent = nullptr);

    QCheckBox *chk3(int input) const;
    QFrame *fra3(int input) const;
    QLineEdit *txt3(int input) const;
    QFrame *frawer() const;
    QFrame *line1() const;

    // A click on the "Belegt" box of input k: the input's frame, the recipients and their separator line
    // follow the box.
    void chk3_Click(int input);
    // After tab k was selected: only the recipients and their separator line follow the box of input k.
    void showRecipientsFor(int input);

protected:
    void pageLoaded() override;

private:
    void buildInput(QWidget *picture, int input);
};
