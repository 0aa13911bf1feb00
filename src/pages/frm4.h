#pragma once

#include "pages/pagewindow.h"

class QCheckBox;
class QLineEdit;

// The SMS outputs page: four relay outputs, each with its "Belegt" box and the 8-character switch text whose
// on and off commands the page shows, and one shared block that says who may switch them.
class Frm4 : public PageWindow
{
    Q_OBJECT

public:
    static constexpr int kOutputCount = 4;

    explicit Frm4(QWidget *parent = nullptr);

    // lblE(i) and lblA(i) show the switch-on and switch-off commands of output i: its switch text filled up
    // with "*" (one for each blank the SMS must carry) to 8 characters, then "=1" or "=0".
    void ShowSwitchText(int index);

    // The output whose tab was chosen last (1 until a tab is clicked); frawer follows its "Belegt" box.
    int chosenOutput() const { return m_chosenOutput; }

protected:
    void pageLoaded() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildOutput(int output, QWidget *picture);
    void buildSenderBlock();
    QCheckBox *chk4(int output) const;
    QLineEdit *txtSMS(int output) const;
    void showSenderBlockFor(int output);

    int m_chosenOutput = 1;
};
