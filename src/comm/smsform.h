#pragma once

#include <QObject>
#include <QString>

class FormWindow;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The SMS form of the communication page: the text, the phone number, their captions and the send
// button, which shows how many characters the text can still take. The text holds at most
// SmsRule::kMaxLength characters however it gets there. The page places the fields and decides when they
// are shown.
class SmsForm : public QObject
{
    Q_OBJECT

public:
    // Creates the fields as controls of the page.
    explicit SmsForm(FormWindow *page);

    QLineEdit *textCaption() const { return m_text3; }
    QPlainTextEdit *textField() const { return m_text1; }
    QLineEdit *numberCaption() const { return m_text4; }
    QLineEdit *numberField() const { return m_text2; }
    QPushButton *sendButton() const { return m_cmdS; }

    QString text() const;
    QString number() const;
    void setShown(bool shown);

signals:
    void sendClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateSendCaption();
    void limitText();

    QLineEdit *m_text3 = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QPushButton *m_cmdS = nullptr;
    bool m_limiting = false;
};
