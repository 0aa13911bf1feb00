#include "comm/frm8.h"

#include "comm/frm8texts.h"
#include "comm/history.h"
#include "comm/historyrecorder.h"
#include "comm/historywindow.h"
#include "core/parameterrecord.h"
#include "comm/portselection.h"
#include "core/configurationmodel.h"
#include "comm/seriallink.h"
#include "comm/signalstrength.h"
#include "comm/smsform.h"
#include "pages/pagewindow.h"
#include "window/colors.h"
#include "window/pagehost.h"
#include "window/help.h"
#include "window/settingsfile.h"
#include "window/helpwindow.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QWindow>

#include <optional>
#include <utility>

using Frm8Text::Function;

namespace {

// Layout in twips: left, top, width, height.
const QRect kCmd(0, 0, 1415, 395);
const QRect kCmd2(1415, 0, 1415, 395);
const QRect kCmd3(2830, 0, 1415, 395);
const QRect kLabel0(120, 480, 2055, 255);
const QRect kCmbCOM(3000, 480, 615, 330);
const QRect kTxtMeld(120, 840, 4005, 3975);
const QRect kText3(360, 1020, 975, 255);
const QRect kText1(360, 1320, 3495, 2055);
const QRect kText4(360, 3540, 2175, 225);
const QRect kText2(360, 3840, 3495, 375);
const QRect kCmdS(1200, 4320, 1890, 395);
const QRect kLabel1(0, 5040, 1815, 255);
const QRect kFrame1(2280, 4920, 1425, 1200);

// Where port names are longer than a number the port list may reach the right edge of the message box.
constexpr int kPortListRightEdge = 4125;

constexpr unsigned kButtonNormal = 0xFF8080; // light blue
constexpr unsigned kButtonActive = Bgr::White;
constexpr unsigned kMeldBackground = Bgr::LightBlue;
constexpr unsigned kMeldText = 0x000080; // dark red

const QString kBusySymbols = QStringLiteral("-\\|/");

QRect twipsRect(const QRect &t)
{
    return ::twipsRect(t.left(), t.top(), t.width(), t.height());
}

QFont courier()
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9);
    return font;
}

} // namespace

Frm8::Frm8(QWidget *parent, Frm8Options options)
    : FormWindow(QStringLiteral("frm8"), parent)
    , m_dialogs(std::move(options.dialogs))
{
    if (!options.makeLink)
        options.makeLink = [](QObject *owner) -> SerialLink * { return new QtSerialLink(owner); };
    if (!options.buildRecord)
        options.buildRecord = [] { return BuildParameterRecord(ConfigurationModel::program().configuration()); };
    if (!options.settingsFile)
        options.settingsFile = IniFilePath;
    m_link = options.makeLink(this);

    setWindowTitle(QStringLiteral("GSM"));
    // The size of the configuration pages, so the page covers whichever of them was open before.
    setFixedSize(twips(PageWindow::kPageWidth), twips(PageWindow::kPageHeight));
    applyPagePalette(this);
    QFont pageFont(QStringLiteral("Arial"));
    pageFont.setPointSizeF(9);
    setFont(pageFont);
    setMouseTracking(true);
    createControls();

    m_ports = new PortSelection(m_cmbCOM, m_link, std::move(options.discoverPorts),
        std::move(options.portAccess), options.portRefreshInterval, this);
    connect(m_ports, &PortSelection::listRebuilt, this, &Frm8::fitPortList);
    connect(m_ports, &PortSelection::notice, this, [this](const QString &text) {
        if (!m_runs->anyRunning())
            setMeld(text);
    });

    m_history = new History(this, options.historyBound);
    m_recorder = new HistoryRecorder(m_history, this);
    m_runs = std::make_unique<RunController>(m_link, m_ports,
        RunController::Setup { options.timeouts, std::move(options.buildRecord), StatusLogPath, m_history,
            m_recorder, std::move(options.settingsFile), options.uploadLogPath });
    connect(m_runs.get(), &RunController::message, this, &Frm8::setMeld);
    connect(m_runs.get(), &RunController::messageAppended, this,
        [this](const QString &text) { setMeld(m_meld + text); });
    connect(m_runs.get(), &RunController::busyIndicator, this, &Frm8::turnBusyIndicator);
    connect(m_runs.get(), &RunController::signalLevel, m_signal, &SignalStrength::showLevel);
    connect(m_runs.get(), &RunController::uploadEnded, this, &Frm8::endUpload);
    connect(m_runs.get(), &RunController::uploadReported, this, &Frm8::uploadReported);
    connect(m_runs.get(), &RunController::statusEnded, this, &Frm8::endStatusRun);
    connect(m_runs.get(), &RunController::levelUnknown, m_signal, &SignalStrength::grey);
    connect(m_runs.get(), &RunController::smsEnded, this, [this](bool sent) {
        endSmsSend();
        // The module's own reports follow.
        if (sent)
            cmd2_Click();
    });

    // Left only for another window of the program; the help window, a message box or another program
    // taking the activation leave the page active until the user comes back somewhere else.
    whenLeft(this, [this] {
        if (m_pageActive) {
            m_pageActive = false;
            formDeactivate();
        }
    });
}

// The runs end before the link they talk through, which goes with the page's children.
Frm8::~Frm8() = default;

void Frm8::createControls()
{
    const auto functionButton = [this](const QString &caption, const QRect &geometry, const QString &name) {
        auto *button = add(new TwoStateButton(this), name);
        button->setCheckable(false);
        button->setAutoDefault(true); // Enter on the focused button presses it
        button->setText(caption);
        button->setGeometry(twipsRect(geometry));
        setLook(button, Look::Normal);
        return button;
    };
    m_cmd = functionButton(QStringLiteral("Senden"), kCmd, QStringLiteral("cmd"));
    m_cmd2 = functionButton(QStringLiteral("Status"), kCmd2, QStringLiteral("cmd2"));
    m_cmd3 = functionButton(QStringLiteral("SMS-Dienst"), kCmd3, QStringLiteral("cmd3"));
    connect(m_cmd, &QPushButton::clicked, this, &Frm8::cmd_Click);
    connect(m_cmd2, &QPushButton::clicked, this, &Frm8::cmd2_Click);
    connect(m_cmd3, &QPushButton::clicked, this, &Frm8::cmd3_Click);

    m_label0 = add(new QLabel(QStringLiteral(" Verfügbare COM :"), this), QStringLiteral("Label1"), 0);
    m_label0->setGeometry(twipsRect(kLabel0));
    m_cmbCOM = add(new PortComboBox(this), QStringLiteral("cmbCOM"));
    m_cmbCOM->setGeometry(twipsRect(kCmbCOM));
    connect(m_cmbCOM, &QComboBox::currentIndexChanged, this, &Frm8::cmbCOM_Click);

    m_txtMeld = add(new QPlainTextEdit(this), QStringLiteral("txtMeld"));
    m_txtMeld->setGeometry(twipsRect(kTxtMeld));
    m_txtMeld->setReadOnly(true);
    m_txtMeld->setFocusPolicy(Qt::ClickFocus); // no tab stop
    m_txtMeld->setFont(courier());
    QPalette meldPalette = m_txtMeld->palette();
    meldPalette.setColor(QPalette::Base, QColor(fromBgr(kMeldBackground)));
    meldPalette.setColor(QPalette::Text, QColor(fromBgr(kMeldText)));
    m_txtMeld->setPalette(meldPalette);

    // The SMS service fields lie over the message box.
    m_smsForm = new SmsForm(this);
    m_smsForm->textCaption()->setGeometry(twipsRect(kText3));
    m_smsForm->textField()->setGeometry(twipsRect(kText1));
    m_smsForm->textField()->setFont(courier());
    m_smsForm->numberCaption()->setGeometry(twipsRect(kText4));
    m_smsForm->numberField()->setGeometry(twipsRect(kText2));
    m_smsForm->sendButton()->setGeometry(twipsRect(kCmdS));
    connect(m_smsForm, &SmsForm::sendClicked, this, &Frm8::cmdS_Click);
    m_smsForm->setShown(false);

    m_label1 = add(new QLabel(QStringLiteral("Signalstärke :"), this), QStringLiteral("Label1"), 1);
    m_label1->setGeometry(twipsRect(kLabel1));
    m_signal = new SignalStrength(this);
    m_signal->frame()->setGeometry(twipsRect(kFrame1));

    // The history opens from the page's context menu, the message box's and its key; no control moves.
    offerHistory(this, m_txtMeld, [this] { showHistory(); });

    setTabOrder(m_cmd, m_cmd2);
    setTabOrder(m_cmd2, m_cmd3);
    setTabOrder(m_cmd3, m_cmbCOM);
    setTabOrder(m_cmbCOM, m_smsForm->textField());
    setTabOrder(m_smsForm->textField(), m_smsForm->numberField());
    setTabOrder(m_smsForm->numberField(), m_smsForm->sendButton());
}

// --- Load, activation, help

void Frm8::formLoad()
{
    setMeld(QString());
    m_ports->refresh(true);
    m_portsAskedOnLoad.start();
}

void Frm8::formActivate()
{
    PlacePage(this);
    WindowRegistry::instance().setCurrentPage(kPageNumber);
    // Each visit asks every port afresh (one in another program's hands a moment ago may be free now); the
    // visit that built the page has just asked them, on building it.
    constexpr qint64 kSameVisitMs = 1000;
    const bool askedOnLoad = m_portsAskedOnLoad.isValid() && m_portsAskedOnLoad.elapsed() < kSameVisitMs;
    m_portsAskedOnLoad.invalidate();
    if (!askedOnLoad)
        m_ports->refresh(true);
    m_smsForm->setShown(false);
    // The fields are gone, so the SMS service is no longer selected (unless a send is on its way).
    if (!m_runs->smsRunning())
        m_smsServiceActive = false;
    showSelected(nullptr);
    setFunctionButtonsEnabled(true);
}

void Frm8::formDeactivate()
{
    stopSequence(true);
}

void Frm8::closeEvent(QCloseEvent *event)
{
    // The page is hidden, never destroyed, and the close is never refused.
    m_pageActive = false;
    stopSequence(false);
    event->accept();
}

int Frm8::helpTopic() const
{
    if (m_runs->uploadRunning())
        return kHelpUpload;
    if (m_smsServiceActive)
        return kHelpSms;
    return kHelpPage;
}

bool Frm8::event(QEvent *event)
{
    // A look at the help window, a message box or another program leaves the page active, as does coming
    // back from them: a running upload must survive a look at its help topic.
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (!m_pageActive) {
            m_pageActive = true;
            formActivate();
        }
        return QWidget::event(event);
    case QEvent::WindowDeactivate:
        return QWidget::event(event);
    default:
        return FormWindow::event(event);
    }
}

void Frm8::mouseMoveEvent(QMouseEvent *event)
{
    HighlightTab(5, 2, this);
    FormWindow::mouseMoveEvent(event);
}

// --- The history

HistoryWindow *Frm8::historyWindow() const
{
    return m_historyWindow;
}

void Frm8::showHistory()
{
    if (!m_historyWindow) {
        // Owned by the start window, as the page is; without one (a page on its own) it stands alone.
        m_historyWindow = new HistoryWindow(m_history, m_recorder, parentWidget(), m_dialogs);
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

// --- The stop sequence

void Frm8::stopSequence(bool deactivating)
{
    // Every running wait ends at its next check; what it then reports arrives after this. A search cut
    // short by the user's leaving is no missing answer: the module never had its time.
    m_runs->stopAll();
    showSelected(nullptr);
    setFunctionButtonsEnabled(true);
    setMeld(QString());
    m_signal->grey();
    if (deactivating && m_runs->uploadRunning())
        showInterruptedUploadBox();
}

void Frm8::showInterruptedUploadBox()
{
    const QString title = Frm8Text::interruptedUploadTitle();
    const QString text = Frm8Text::interruptedUploadText();
    if (m_dialogs.showMessage) {
        m_dialogs.showMessage(this, title, text);
        return;
    }
    // Modal for the user, but not a nested event loop: the upload it reports on still has to end.
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Help, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    // Help opens its topic and leaves the box up until OK: the box must not see that click.
    QAbstractButton *help = box->button(QMessageBox::Help);
    disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
    connect(help, &QAbstractButton::clicked, box, [box] {
        showHelpTopic(kHelpInterruptedUpload);
        // The box blocks every other window of the program; the help it opened stays readable as long as it
        // is up, and belongs where it did before once it goes.
        HelpWindow *helpWindow = currentHelpWindow();
        QWindow *handle = helpWindow ? helpWindow->windowHandle() : nullptr;
        if (!handle || !box->windowHandle() || handle->transientParent() == box->windowHandle())
            return;
        QPointer<QWindow> owner = handle->transientParent();
        handle->setTransientParent(box->windowHandle());
        connect(box, &QObject::destroyed, handle, [handle, owner] { handle->setTransientParent(owner); });
    });
    box->show();
}

// --- Ports

void Frm8::fitPortList()
{
#ifndef Q_OS_WIN
    // Device paths do not fit the width made for a port number: the list grows to the left, over the free
    // end of its label, and its right edge stays in line with the message box.
    // Measured only: left at AdjustToContents the list would resize itself after every refresh.
    m_cmbCOM->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const int widest = m_cmbCOM->sizeHint().width();
    m_cmbCOM->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    QRect geometry = twipsRect(kCmbCOM);
    if (widest > geometry.width()) {
        const int right = twips(kPortListRightEdge);
        // The label's box is wider than its words: the list may reach as far as the words end.
        const int labelEnd = twips(kLabel0.left())
            + m_label0->fontMetrics().horizontalAdvance(m_label0->text())
            + m_label0->fontMetrics().averageCharWidth();
        const int width = qMin(widest, right - qMin(labelEnd, twips(kLabel0.left() + kLabel0.width())));
        geometry.setLeft(qMin(geometry.left(), right - width));
        geometry.setWidth(width);
    }
    m_cmbCOM->setGeometry(geometry);
#endif
}

void Frm8::showEvent(QShowEvent *event)
{
    // Adapters plugged in or pulled out while the page is shown appear or vanish on their own.
    m_ports->watch(true);
    FormWindow::showEvent(event);
}

void Frm8::hideEvent(QHideEvent *event)
{
    m_ports->watch(false);
    FormWindow::hideEvent(event);
}

void Frm8::cmbCOM_Click()
{
    m_cmbCOM->setToolTip(m_cmbCOM->currentText());
    if (!m_runs->anyRunning() && m_ports->selectedPortRefused())
        setMeld(m_ports->selectedPortNote());
    m_runs->followSelection();
}

// --- Parameter upload

void Frm8::cmd_Click()
{
    if (m_runs->uploadRunning())
        return;
    beginUpload({});
}

bool Frm8::startUnitUpload(const QString &unit, std::function<QString()> buildRecord)
{
    if (m_runs->uploadRunning() || m_runs->smsRunning())
        return false;
    beginUpload({ unit, std::move(buildRecord) });
    return true;
}

QString Frm8::uploadPortLabel() const
{
    return m_ports->portLabel(m_link->isOpen() ? m_ports->portInUse() : m_ports->selectedPortName());
}

void Frm8::beginUpload(const RunController::UploadRequest &request)
{
    // What the user typed last on a page counts before the record reads it.
    runPendingLeaves();
    m_runs->retireOtherRuns();
    // Another function took over: the SMS service is no longer selected.
    m_smsServiceActive = false;
    showSelected(m_cmd);
    m_smsForm->setShown(false);
    setFunctionButtonsEnabled(false);
    setMeld(Frm8Text::searching(Function::Upload));
    emit uploadRunningChanged(true);
    m_runs->startUpload(request);
}

void Frm8::endUpload()
{
    setLook(m_cmd, Look::Normal);
    setFunctionButtonsEnabled(true);
    emit uploadRunningChanged(false);
}

// --- Status monitoring

void Frm8::cmd2_Click()
{
    if (m_runs->uploadRunning())
        return;
    m_runs->retireOtherRuns();
    m_smsServiceActive = false;
    showSelected(m_cmd2);
    m_smsForm->setShown(false);
    setMeld(Frm8Text::searching(Function::Status));
    m_runs->startStatus();
}

void Frm8::endStatusRun(bool greyBarsToo)
{
    if (greyBarsToo)
        m_signal->grey();
    setLook(m_cmd2, Look::Normal);
    setFunctionButtonsEnabled(true);
}

// --- SMS service

void Frm8::cmd3_Click()
{
    if (m_runs->uploadRunning())
        return;
    m_runs->endMonitoring();
    m_smsServiceActive = true;
    setMeld(QStringLiteral(" "));
    m_smsForm->setShown(true);
    showSelected(m_cmd3);
    m_smsForm->textField()->setFocus(Qt::OtherFocusReason);
}

void Frm8::cmdS_Click()
{
    if (m_runs->uploadRunning())
        return;
    m_smsForm->setShown(false);
    const QString text = m_smsForm->text();
    const QString number = m_smsForm->number();
    if (text.isEmpty() || number.isEmpty()) {
        setMeld(Frm8Text::smsMissing());
        endSmsSend();
        return;
    }
    setMeld(Frm8Text::searching(Function::Sms));
    m_runs->startSms(number, text);
}

void Frm8::endSmsSend()
{
    m_smsServiceActive = false;
    setLook(m_cmd3, Look::Normal);
}

// --- Looks and texts

void Frm8::setLook(TwoStateButton *button, Look look)
{
    button->setColors(fromBgr(look == Look::Active ? kButtonActive : kButtonNormal), qRgb(0, 0, 0));
    button->setBold(look == Look::Active);
}

void Frm8::showSelected(TwoStateButton *selected)
{
    for (TwoStateButton *button : { m_cmd, m_cmd2, m_cmd3 })
        setLook(button, button == selected ? Look::Active : Look::Normal);
}

void Frm8::setFunctionButtonsEnabled(bool enabled)
{
    m_cmd->setEnabled(enabled);
    m_cmd2->setEnabled(enabled);
    m_cmd3->setEnabled(enabled);
}

void Frm8::setMeld(const QString &text)
{
    m_meld = text;
    m_txtMeld->setPlainText(text);
}

void Frm8::turnBusyIndicator(QChar symbol)
{
    // Only the search text ends with one of the indicator's characters; a message that replaced it (no
    // port listed) keeps its last line break.
    if (m_meld.isEmpty() || !kBusySymbols.contains(m_meld.back()))
        return;
    m_meld.back() = symbol;
    m_txtMeld->setPlainText(m_meld);
}
