#pragma once

#include "pages/pagewindow.h"

// The reply and error page: the module's reply text and who gets a reply, and whether a wrong command is
// answered with the error text. It has no "Belegt" box: its values always go to the module.
class Frm9 : public PageWindow
{
    Q_OBJECT

public:
    explicit Frm9(QWidget *parent = nullptr);

protected:
    void pageLoaded() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // txtErr can be edited exactly while chkAntw is ticked; its text stays as it is either way.
    void applyErrorReply();
};
