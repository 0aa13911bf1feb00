#pragma once

#include "core/keyfilters.h"
#include "pages/pagewindow.h"

#include <QPointer>

class QLabel;
class QLineEdit;
class QRadioButton;

// The general settings page: SIM PIN, password, unit name, the provider with its mail number and fax prefix,
// and the notification targets (12 phone numbers, 4 fax numbers, 4 e-mail addresses, each with a name) that
// the event pages take their notification sets from. It also holds the hidden language code.
class Frm1 : public PageWindow
{
    Q_OBJECT

public:
    static constexpr int kTabCount = 4;

    explicit Frm1(QWidget *parent = nullptr);

    // Provider choice: members 1..4 fill and lock the mail number and fax prefix, member 0 unlocks them.
    void optAnb_Click(int index);

    // The OK button of the message overlay: the page comes back with the focus in the field that failed.
    void acknowledgeMessage() override;

    // Which checked field had the focus last: 0 none yet, 1 txtsim, 2 txtAnr, 3 txtFAxPref.
    int returnField() const { return m_returnField; }

protected:
    void pageLoaded() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Puts a field of the page under the page's own key handling and field checks.
    QLineEdit *watchField(QLineEdit *field);
    // The check on leaving the field refuses a shorter text, and a file's value as well.
    void requireLength(QLineEdit *field, int characters);
    void buildSimTab(QWidget *picture);
    // One tab of notification targets: a column of numbers or addresses and a column of names.
    struct TargetTab
    {
        QString field;
        QString nameField;
        QString rowLabel;
        int rows;
        int fieldHeading; // member of Label1 over each column
        QString fieldCaption;
        int nameHeading;
        int maxLength;
        KeyFilter filter;
        qreal pointSize;
        int fieldWidth; // twips
    };
    void buildTargetTab(QWidget *picture, const TargetTab &tab);

    void fieldGotFocus(const ControlRef &ref);
    void fieldLostFocus(const ControlRef &ref);
    bool fieldKeyDown(const ControlRef &ref, int key);
    const ControlRef *refOf(const QObject *widget) const;
    QLineEdit *field(const QString &name, int index = -1) const;
    void focusField(QWidget *target);

    int m_returnField = 0;
};
