#pragma once

#include "comm/linksession.h"
#include "comm/portcatalog.h"
#include "comm/smssession.h"
#include "comm/statussession.h"
#include "comm/uploadsession.h"
#include "window/formwindow.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTimer>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class SerialLink;
class TwoStateButton;

// How the communication page reaches the module. The defaults are the program's: a real serial port, the
// ports the system offers, the record built from the configuration pages, and the module's time limits.
struct Frm8Options
{
    LinkTimeouts timeouts;
    // The page's serial link, created once with the page as owner.
    std::function<SerialLink *(QObject *owner)> makeLink;
    // The ports to list: asked when the page loads, on each activation and every portRefreshInterval
    // while it is shown.
    std::function<QList<PortEntry>()> discoverPorts;
    // Whether a port can be opened, asked of ports newly found and of a port that failed to open.
    std::function<PortCatalog::Access(const QString &)> portAccess;
    std::chrono::milliseconds portRefreshInterval { 1000 };
    // The parameter record of the upload, built when "Senden" is pressed.
    std::function<QString()> buildRecord;
};

// The communication page: lists the usable serial ports and offers three functions on the one link to the
// module: the parameter upload ("Senden"), status monitoring ("Status") and the SMS service ("SMS-Dienst").
// Each function runs as a session driven by the event loop; the page turns what the session reports into
// the texts of the language in force. Only one function talks to the module at a time: starting one ends
// the one that was running.
class Frm8 : public FormWindow
{
    Q_OBJECT

public:
    static constexpr int kPageNumber = 8;
    static constexpr int kSmsTextLength = 160;
    static constexpr int kHelpUpload = 1050;
    static constexpr int kHelpSms = 1095;
    static constexpr int kHelpPage = 1060;
    static constexpr int kHelpInterruptedUpload = 1095;
    static constexpr int kBarCount = 5;

    // The box shown when the page is left during an upload; tests replace it so nothing blocks.
    using MessageBoxHook = std::function<void(QWidget *parent, const QString &title, const QString &text)>;
    static void setMessageBoxHook(MessageBoxHook hook);

    explicit Frm8(QWidget *parent = nullptr, Frm8Options options = {});
    ~Frm8() override;

    // Form_Load, Form_Activate, Form_Deactivate.
    void formLoad() override;
    void formActivate() override;
    void formDeactivate() override;
    int helpTopic() const override;

    // The time limits of the functions started from now on.
    void setTimeouts(const LinkTimeouts &timeouts) { m_options.timeouts = timeouts; }
    SerialLink *link() const { return m_link; }

    // The click handlers, as a user's click runs them.
    void cmd_Click();
    void cmd2_Click();
    void cmd3_Click();
    void cmdS_Click();
    void cmbCOM_Click();

    // The text of txtMeld exactly as the page wrote it (line breaks as CR LF).
    QString meldText() const { return m_meld; }
    bool uploadRunning() const { return m_uploadRunning; }
    bool statusRunning() const { return m_statusRunning; }
    bool smsServiceActive() const { return m_smsServiceActive; }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Look { Normal, Active };

    void createControls();
    void setLook(TwoStateButton *button, Look look);
    void setFunctionButtonsEnabled(bool enabled);
    void showSmsFields(bool show);
    void setMeld(const QString &text);
    void turnBusyIndicator(QChar symbol);
    void updateSendCaption();
    void limitSmsText();
    void ShowSignalLevel(int level);
    void greyBars();

    // The port chosen in cmbCOM: its name for the link and its label as listed; empty when none is listed.
    QString selectedPortName() const;
    QString selectedPortLabel() const;
    // The label cmbCOM shows for a port name (the name itself when it is not listed).
    QString portLabel(const QString &portName) const;
    // What a failed open of the listed port (by its label) tells the user: no permission, or not available.
    QString portProblemText(const QString &label) const;
    // Brings the port list up to date; askAll asks again of ports whose answer is known.
    void refreshPorts(bool askAll);
    PortCatalog::Access askPort(const QString &portName);
    void showPorts(const QList<PortEntry> &ports);
    void fitPortList();
    // The port a function starting now talks through: the open one, or else the selected one.
    QString portForRun();
    // Opens the selected port unless the link is open; the no-port or port message when that fails.
    void OpenModulePort();
    void closePort();
    void stopSequence(bool deactivating);
    // The text of a run that got no answer: none when the user left the page while it was searching.
    QString noAnswerText(const QString &failedPort) const;
    void showInterruptedUploadBox();

    // Discards what arrives while no function listens (the port stays open when monitoring hands over to
    // the SMS form): every function empties the input before it waits, so nothing is lost by it.
    void dropUnheardInput();

    // Ends a run of another (or the same) function that would otherwise read the module's replies too.
    template<class Session> void retire(std::unique_ptr<Session> &session);
    void retireOtherRuns();

    void uploadFinished(UploadSession *session, UploadSession::Outcome outcome, int block);
    void statusFinished(StatusSession *session, StatusSession::Outcome outcome);
    void smsFinished(SmsSession *session, SmsSession::Outcome outcome);
    void endUpload();
    void endStatusRun();
    void endSmsSend();
    // The port problem of the run that just ended, if any (cleared by reading it).
    QString takePortFailure();

    Frm8Options m_options;
    SerialLink *m_link = nullptr;
    std::unique_ptr<UploadSession> m_upload;
    std::unique_ptr<StatusSession> m_status;
    std::unique_ptr<SmsSession> m_sms;

    TwoStateButton *m_cmd = nullptr;
    TwoStateButton *m_cmd2 = nullptr;
    TwoStateButton *m_cmd3 = nullptr;
    QLabel *m_label0 = nullptr;
    QComboBox *m_cmbCOM = nullptr;
    QPlainTextEdit *m_txtMeld = nullptr;
    QLineEdit *m_text3 = nullptr;
    QPlainTextEdit *m_text1 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QPushButton *m_cmdS = nullptr;
    QLabel *m_label1 = nullptr;
    QFrame *m_frame1 = nullptr;
    std::array<QLabel *, kBarCount> m_lbl {};

    QTimer m_portRefresh;
    // What the ports listed last answered, so a refresh opens only ports it has not seen before.
    QHash<QString, PortCatalog::Access> m_portAccess;
    QHash<QString, PortCatalog::Access> m_portsAsked;
    // The port the link was last told to open, as listed (the link may spell it its own way).
    QString m_portName;
    QString m_meld;
    bool m_uploadRunning = false;
    bool m_statusRunning = false;
    bool m_smsServiceActive = false;
    // The status log of this monitoring run could not be written: said below every message shown.
    QString m_logNote;
    // The port that failed while a function was running, to name in its end text.
    QString m_portFailure;
    // The page counts as the program's active window from its activation until another window of the
    // program becomes active, as its Activate and Deactivate events see it.
    bool m_pageActive = false;
    bool m_leftDuringRun = false; // the running function was stopped by the user's leaving the page
    bool m_limitingSmsText = false;
};
