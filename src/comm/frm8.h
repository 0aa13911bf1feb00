#pragma once

#include "comm/history.h"
#include "comm/linksession.h"
#include "comm/portcatalog.h"
#include "comm/runcontroller.h"
#include "window/dialogoptions.h"
#include "window/formwindow.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

class HistoryRecorder;
class HistoryWindow;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class PortSelection;
class SerialLink;
class SignalStrength;
class SmsForm;
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
    // The settings file the pages' configuration stands for, named in the upload log (default: the working
    // settings file), and the log itself (empty: UploadLog::logPath()).
    std::function<QString()> settingsFile;
    QString uploadLogPath;
    // How many lines the history of the run keeps.
    int historyBound = History::kDefaultBound;
    // The box shown when the page is left during an upload (showMessage), and what the history window asks
    // when its lines are saved.
    DialogOptions dialogs;
};

// The communication page: lists the usable serial ports (PortSelection) and offers three functions on the
// one link to the module: the parameter upload ("Senden"), status monitoring ("Status") and the SMS service
// ("SMS-Dienst", with its SmsForm). The RunController runs them and says what happened in the texts of the
// language in force; the page places the parts, shows the texts and sets its buttons.
class Frm8 : public FormWindow
{
    Q_OBJECT

public:
    static constexpr int kPageNumber = 8;
    static constexpr int kHelpUpload = 1050;
    static constexpr int kHelpSms = 1095;
    static constexpr int kHelpPage = 1060;
    static constexpr int kHelpInterruptedUpload = 1095;

    explicit Frm8(QWidget *parent = nullptr, Frm8Options options = {});
    ~Frm8() override;

    // Form_Load, Form_Activate, Form_Deactivate.
    void formLoad() override;
    void formActivate() override;
    void formDeactivate() override;
    int helpTopic() const override;

    // The time limits of the functions started from now on.
    void setTimeouts(const LinkTimeouts &timeouts) { m_runs->setTimeouts(timeouts); }
    SerialLink *link() const { return m_link; }

    // What happened on the line during this run, and the window that shows it ("Verlauf", Ctrl+H or the
    // page's context menu). The window is created when first shown, owned by the page's owner.
    History *history() const { return m_history; }
    HistoryRecorder *historyRecorder() const { return m_recorder; }
    void showHistory();
    HistoryWindow *historyWindow() const;

    // The click handlers, as a user's click runs them.
    void cmd_Click();
    void cmd2_Click();
    void cmd3_Click();
    void cmdS_Click();
    void cmbCOM_Click();

    // An upload of one unit of a series with its own record, through the page's port and its upload, as
    // "Senden" runs it (monitoring gives way to it). False, and nothing happens, while an upload or an SMS
    // send is going on.
    bool startUnitUpload(const QString &unit, std::function<QString()> buildRecord);
    // The port an upload starting now goes through, as the list shows it.
    QString uploadPortLabel() const;

    // The text of txtMeld exactly as the page wrote it (line breaks as CR LF).
    QString meldText() const { return m_meld; }
    bool uploadRunning() const { return m_runs->uploadRunning(); }
    bool statusRunning() const { return m_runs->statusRunning(); }
    bool smsServiceActive() const { return m_smsServiceActive; }
    bool smsRunning() const { return m_runs->smsRunning(); }

signals:
    // An upload started or ended, from "Senden" or from startUnitUpload().
    void uploadRunningChanged(bool running);
    // How an upload ended (its line is in the upload log by then).
    void uploadReported(const UploadReport &report);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum class Look { Normal, Active };

    void createControls();
    void setLook(TwoStateButton *button, Look look);
    // The function button of the selected function looks pressed, the others not (none: nullptr).
    void showSelected(TwoStateButton *selected);
    void setFunctionButtonsEnabled(bool enabled);
    void setMeld(const QString &text);
    void turnBusyIndicator(QChar symbol);
    void fitPortList();
    void stopSequence(bool deactivating);
    void showInterruptedUploadBox();
    void beginUpload(const RunController::UploadRequest &request);
    void endUpload();
    void endStatusRun(bool greyBars);
    void endSmsSend();

    SerialLink *m_link = nullptr;
    PortSelection *m_ports = nullptr;
    History *m_history = nullptr;
    HistoryRecorder *m_recorder = nullptr;
    QPointer<HistoryWindow> m_historyWindow;
    std::unique_ptr<RunController> m_runs;
    SmsForm *m_smsForm = nullptr;

    TwoStateButton *m_cmd = nullptr;
    TwoStateButton *m_cmd2 = nullptr;
    TwoStateButton *m_cmd3 = nullptr;
    QLabel *m_label0 = nullptr;
    QComboBox *m_cmbCOM = nullptr;
    QPlainTextEdit *m_txtMeld = nullptr;
    QLabel *m_label1 = nullptr;
    SignalStrength *m_signal = nullptr;

    DialogOptions m_dialogs;
    QString m_meld;
    bool m_smsServiceActive = false;
    QElapsedTimer m_portsAskedOnLoad; // when building the page asked every port
    // The page counts as the program's active window from its activation until another window of the
    // program becomes active, as its Activate and Deactivate events see it.
    bool m_pageActive = false;
};
