#pragma once

#include "pages/limitfield.h"

#include <QString>

class PageWindow;
class QFrame;
class QLineEdit;
class QPoint;
class QWidget;

// Parts shared by the input pages (inputs T1/T2, optocoupler inputs, ADC input).

// A control's name and member index (-1 for a single control).
struct ControlName
{
    QString name;
    int index = -1;
};

// The recipients of an input page's report: under the heading "Meldung" the column labels "SMS", "Mail" and
// "Fax", the all boxes side by side on the line "an alle" and the members below "oder an": chksms1(1..12) in
// three columns of four, chkmail1(1..4) and chkfax1(1..4) in one column each. The sets are declared in the
// order SMS, e-mail, fax.
struct ReportRecipientLabels
{
    ControlName heading; // "Meldung"
    ControlName toAll; // "an alle"
    ControlName orTo; // "oder an"
    ControlName sms;
    ControlName mail;
    ControlName fax;
};

// Creates the borderless frame `frame` at `atTwips` on `parent` and in it the labels and the three
// notification sets of the page. Returns the frame.
QFrame *addReportRecipients(PageWindow *page, QWidget *parent, const ControlName &frame,
    const QPoint &atTwips, const ReportRecipientLabels &labels);

// The message text the module sends for an input: the label "Meldetext :" and beside it a field of at most
// 16 plain-text characters, at the top left corner of `parent`.
QLineEdit *addMessageText(PageWindow *page, QWidget *parent, const ControlName &label,
    const ControlName &field, const QString &text);

// The limit in percent: the label " den Grenzwert (%) :" and beside it the limit field txtwert with its
// design value "50", on the line `topTwips` of `parent`.
QLineEdit *addLimit(PageWindow *page, QWidget *parent, const ControlName &label, int fieldIndex, int topTwips,
    const QString &toolTip, LimitLeaving rule);
