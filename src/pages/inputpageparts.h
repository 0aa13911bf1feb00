#pragma once

#include <QString>

class PageWindow;
class QCheckBox;
class QWidget;

// Parts shared by the input pages (inputs T1/T2, optocoupler inputs, ADC input).

// The recipients of an input page's report: under the heading "Meldung" the column labels "SMS", "Mail" and
// "Fax", the all boxes side by side on the line "an alle" and the members below "oder an": chksms1(1..12) in
// three columns of four, chkmail1(1..4) and chkfax1(1..4) in one column each. The sets are declared in the
// order SMS, e-mail, fax.
struct ReportRecipientLabels
{
    struct Name
    {
        QString name;
        int index;
    };
    Name heading; // "Meldung"
    Name toAll; // "an alle"
    Name orTo; // "oder an"
    Name sms;
    Name mail;
    Name fax;
};

// Size of the block in twips.
inline constexpr int kReportRecipientsWidth = 5040;
inline constexpr int kReportRecipientsHeight = 2310;

// Creates the labels and the three notification sets of the page on `frame` (the block's top left corner
// at the frame's top left corner).
void addReportRecipients(PageWindow *page, QWidget *frame, const ReportRecipientLabels &labels);

