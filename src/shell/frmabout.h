#pragma once

#include "window/dialogoptions.h"
#include "window/formwindow.h"

class QFrame;
class QLabel;
class QTextEdit;
class TwoStateButton;

// The about box: version, description and warning in the current language, and the button that starts the
// system information tool. The start window's "Info" shows it like a page; each activation places it,
// makes it the current window (12) and writes its texts afresh.
class FrmAbout : public FormWindow
{
    Q_OBJECT

public:
    static constexpr int kPageNumber = 12;

    // The tool is started through dialogs.startProgram, and its absence said through dialogs.showMessage.
    explicit FrmAbout(QWidget *parent = nullptr, DialogOptions dialogs = {});

    void formActivate() override;
    int helpTopic() const override { return 1080; }

    // Finds and starts the system information tool; when there is none, or it cannot be started, says so
    // in a message box (German in every language).
    void StartSysInfo();

    QLabel *lblVersion() const { return m_lblVersion; }
    QLabel *lblDescription() const { return m_lblDescription; }
    QLabel *lblDisclaimer() const { return m_lblDisclaimer; }
    TwoStateButton *chkInfo() const { return m_chkInfo; }
    // Where this run keeps the settings file and the status log, in the language in force.
    QString filesText() const;
    QTextEdit *filesStrip() const { return m_files; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QLabel *addLabel(const QString &name, const QString &designText, const QRect &geometryTwips);
    void ChkInfo_Click();
    void setTexts();
    // Gives the strip that names the files the height its paths need, and the window with it.
    void fitFilesStrip();
    void showUnavailableMessage();

    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblDescription = nullptr;
    QLabel *m_lblDisclaimer = nullptr;
    TwoStateButton *m_chkInfo = nullptr;
    QLabel *m_picIcon = nullptr;
    QTextEdit *m_files = nullptr;
    DialogOptions m_dialogs;
};

// "Version: " and the program's version, each number in decimal without leading zeros.
QString versionLine();
// The version numbers as given to the build, without leading zeros ("05", "0", "010" -> "5.0.10").
QString versionNumberText(const QString &major, const QString &minor, const QString &revision);

// The text of the message box shown when the system information tool is not available.
inline constexpr char16_t kSysInfoUnavailable[]
    = u"System-Informationen sind augenblicklich nicht verfügbar.";
