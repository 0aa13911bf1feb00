#include "comm/frm8.h"

#include "comm/frm8texts.h"
#include "comm/parameterrecord.h"
#include "comm/registrycontrolvalues.h"
#include "comm/seriallink.h"
#include "comm/signallevel.h"
#include "pages/keyfilteradapter.h"
#include "pages/pagerules.h"
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
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

#include <algorithm>
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
constexpr int kPortLabelRole = Qt::UserRole + 1;
constexpr int kPermissionDeniedRole = Qt::UserRole + 2;

// Where port names are longer than a number the port list may reach the right edge of the message box.
constexpr int kPortListRightEdge = 4125;

// Signal bars inside Frame1: rising heights, bottoms aligned.
constexpr int kBarWidth = 135;
constexpr int kBarBottom = 1080;
constexpr std::array<int, Frm8::kBarCount> kBarLefts = { 120, 360, 600, 840, 1080 };
constexpr std::array<int, Frm8::kBarCount> kBarHeights = { 255, 390, 525, 660, 795 };

constexpr unsigned kButtonNormal = 0xFF8080; // light blue
constexpr unsigned kButtonActive = Bgr::White;
constexpr unsigned kMeldBackground = Bgr::LightBlue;
constexpr unsigned kMeldText = 0x000080; // dark red

const QString kBusySymbols = QStringLiteral("-\\|/");
const QString kCrLf = QStringLiteral("\r\n");

Frm8::MessageBoxHook &messageBoxHook()
{
    static Frm8::MessageBoxHook hook;
    return hook;
}

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

void setBarColour(QLabel *bar, unsigned bgr)
{
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, QColor(fromBgr(bgr)));
    bar->setPalette(palette);
}

// A text box that only shows a caption: no frame, no focus, the page's colours.
QLineEdit *captionBox(const QString &text, QWidget *parent)
{
    auto *box = new QLineEdit(text, parent);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setTextMargins(0, 0, 0, 0);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(PageColors::Background));
    palette.setColor(QPalette::Text, QColor(PageColors::Text));
    box->setPalette(palette);
    return box;
}

bool isTypedCharacter(const QKeyEvent *key)
{
    const QString typed = key->text();
    if (typed.isEmpty() || typed.front().unicode() < 32 || typed.front().unicode() == 127)
        return false;
    return !(key->modifiers() & Qt::ControlModifier) || (key->modifiers() & Qt::AltModifier);
}

} // namespace

void Frm8::setMessageBoxHook(MessageBoxHook hook)
{
    messageBoxHook() = std::move(hook);
}

Frm8::Frm8(QWidget *parent, Frm8Options options)
    : FormWindow(QStringLiteral("frm8"), parent)
    , m_options(std::move(options))
{
    if (!m_options.makeLink)
        m_options.makeLink = [](QObject *owner) -> SerialLink * { return new QtSerialLink(owner); };
    if (!m_options.portAccess)
        m_options.portAccess = PortCatalog::access;
    if (!m_options.discoverPorts) {
        m_options.discoverPorts = [this] {
            return PortCatalog::listedPorts([this](const QString &name) { return askPort(name); });
        };
    }
    if (!m_options.buildRecord)
        m_options.buildRecord = [] { return BuildParameterRecord(RegistryControlValues()); };
    m_link = m_options.makeLink(this);
    // Connected before any session, so it sees each arrival first and leaves it to a running function.
    connect(m_link, &SerialLink::readyRead, this, &Frm8::dropUnheardInput);

    setWindowTitle(QStringLiteral("GSM"));
    // The size of the configuration pages, so the page covers whichever of them was open before.
    setFixedSize(twips(PageWindow::kPageWidth), twips(PageWindow::kPageHeight));
    applyPagePalette(this);
    QFont pageFont(QStringLiteral("Arial"));
    pageFont.setPointSizeF(9);
    setFont(pageFont);
    setMouseTracking(true);
    createControls();

    m_portRefresh.setInterval(m_options.portRefreshInterval);
    connect(&m_portRefresh, &QTimer::timeout, this, [this] { refreshPorts(false); });

    // Left only for another window of the program; the help window, a message box or another program
    // taking the activation leave the page active until the user comes back somewhere else.
    whenLeft(this, [this] {
        if (m_pageActive) {
            m_pageActive = false;
            formDeactivate();
        }
    });
}

Frm8::~Frm8()
{
    // The sessions go before the link they talk through.
    m_upload.reset();
    m_status.reset();
    m_sms.reset();
}

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
    m_cmbCOM = add(new QComboBox(this), QStringLiteral("cmbCOM"));
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
    m_text3 = add(captionBox(QStringLiteral("SMS-Text:"), this), QStringLiteral("Text3"));
    m_text3->setGeometry(twipsRect(kText3));
    m_text1 = add(new QPlainTextEdit(this), QStringLiteral("Text1"));
    m_text1->setGeometry(twipsRect(kText1));
    m_text1->setFont(courier());
    m_text1->setTabChangesFocus(true);
    attachKeyFilter(m_text1, KeyFilter::SmsText, kSmsTextLength);
    selectAllOnEntry(m_text1);
    // Installed after the key filter, so the page sees each key first.
    m_text1->installEventFilter(this);
    connect(m_text1, &QPlainTextEdit::textChanged, this, &Frm8::limitSmsText);
    m_text4 = add(captionBox(QStringLiteral("Telefonnummer:"), this), QStringLiteral("Text4"));
    m_text4->setGeometry(twipsRect(kText4));
    m_text2 = add(new QLineEdit(this), QStringLiteral("Text2"));
    m_text2->setGeometry(twipsRect(kText2));
    attachKeyFilter(m_text2, KeyFilter::PhoneNumber);
    selectAllOnEntry(m_text2);
    m_cmdS = add(new QPushButton(QStringLiteral("Senden"), this), QStringLiteral("cmdS"));
    m_cmdS->setGeometry(twipsRect(kCmdS));
    m_cmdS->setAutoDefault(true);
    connect(m_text2, &QLineEdit::returnPressed, m_cmdS, [this] { m_cmdS->setFocus(Qt::OtherFocusReason); });
    connect(m_cmdS, &QPushButton::clicked, this, &Frm8::cmdS_Click);
    showSmsFields(false);

    m_label1 = add(new QLabel(QStringLiteral("Signalstärke :"), this), QStringLiteral("Label1"), 1);
    m_label1->setGeometry(twipsRect(kLabel1));
    m_frame1 = add(new QFrame(this), QStringLiteral("Frame1"));
    m_frame1->setGeometry(twipsRect(kFrame1));
    m_frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    for (int i = 0; i < kBarCount; ++i) {
        auto *bar = add(new QLabel(m_frame1), QStringLiteral("lbl"), i + 1);
        bar->setGeometry(::twipsRect(kBarLefts[i], kBarBottom - kBarHeights[i], kBarWidth, kBarHeights[i]));
        bar->setAutoFillBackground(true);
        m_lbl[i] = bar;
    }
    greyBars();

    setTabOrder(m_cmd, m_cmd2);
    setTabOrder(m_cmd2, m_cmd3);
    setTabOrder(m_cmd3, m_cmbCOM);
    setTabOrder(m_cmbCOM, m_text1);
    setTabOrder(m_text1, m_text2);
    setTabOrder(m_text2, m_cmdS);
}

// --- Load, activation, help

void Frm8::formLoad()
{
    setMeld(QString());
    refreshPorts(true);
}

void Frm8::formActivate()
{
    PlacePage(this);
    WindowRegistry::instance().setCurrentPage(kPageNumber);
    // Each visit asks every port afresh (one in another program's hands a moment ago may be free now).
    refreshPorts(true);
    showSmsFields(false);
    // The fields are gone, so the SMS service is no longer selected (unless a send is on its way).
    if (!(m_sms && m_sms->isRunning()))
        m_smsServiceActive = false;
    setLook(m_cmd, Look::Normal);
    setLook(m_cmd2, Look::Normal);
    setLook(m_cmd3, Look::Normal);
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
    if (m_uploadRunning)
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

// --- The stop sequence

void Frm8::stopSequence(bool deactivating)
{
    // Every running wait ends at its next check; what it then reports arrives after this. A search cut
    // short by the user's leaving is no missing answer: the module never had its time.
    const auto running = [](const auto &session) { return session && session->isRunning(); };
    m_leftDuringRun = running(m_upload) || running(m_status) || running(m_sms);
    m_statusRunning = false;
    if (m_upload && m_upload->isRunning())
        m_upload->requestStop();
    if (m_status && m_status->isRunning())
        m_status->requestStop();
    if (m_sms && m_sms->isRunning())
        m_sms->requestStop();
    closePort();
    setLook(m_cmd, Look::Normal);
    setLook(m_cmd2, Look::Normal);
    setLook(m_cmd3, Look::Normal);
    setFunctionButtonsEnabled(true);
    setMeld(QString());
    greyBars();
    if (deactivating && m_uploadRunning)
        showInterruptedUploadBox();
}

void Frm8::showInterruptedUploadBox()
{
    const QString title = Frm8Text::interruptedUploadTitle();
    const QString text = Frm8Text::interruptedUploadText();
    if (messageBoxHook()) {
        messageBoxHook()(this, title, text);
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

QString Frm8::selectedPortName() const
{
    return m_cmbCOM->count() > 0 ? m_cmbCOM->currentData().toString() : QString();
}

QString Frm8::selectedPortLabel() const
{
    return m_cmbCOM->count() > 0 ? m_cmbCOM->currentData(kPortLabelRole).toString() : QString();
}

QString Frm8::portLabel(const QString &portName) const
{
    const int index = m_cmbCOM->findData(portName);
    return index >= 0 ? m_cmbCOM->itemData(index, kPortLabelRole).toString() : portName;
}

QString Frm8::portProblemText(const QString &label) const
{
    const int index = m_cmbCOM->findData(label, kPortLabelRole);
    const QString portName = index >= 0 ? m_cmbCOM->itemData(index).toString() : label;
    if (!portName.isEmpty() && m_options.portAccess(portName) == PortCatalog::Access::PermissionDenied)
        return Frm8Text::portPermissionDenied(label);
    return Frm8Text::portUnavailable(label);
}

PortCatalog::Access Frm8::askPort(const QString &portName)
{
    // The port a function talks through is never opened a second time.
    if (m_link->isOpen() && portName == m_portName)
        return PortCatalog::Access::Usable;
    const auto known = m_portAccess.constFind(portName);
    const PortCatalog::Access access = known != m_portAccess.cend() ? *known : m_options.portAccess(portName);
    m_portsAsked.insert(portName, access);
    return access;
}

void Frm8::refreshPorts(bool askAll)
{
    // Not under the user's hands: an open list would jump.
    if (m_cmbCOM->view()->isVisible())
        return;
    if (askAll)
        m_portAccess.clear();
    m_portsAsked.clear();
    QList<PortEntry> ports = m_options.discoverPorts();
    // Ports that went away are asked again when they come back.
    m_portAccess = std::exchange(m_portsAsked, {});
    // The port a function is using stays listed until the function lets go of it.
    if (m_link->isOpen() && !m_portName.isEmpty()
        && std::none_of(
            ports.cbegin(), ports.cend(), [this](const PortEntry &p) { return p.portName == m_portName; }))
        ports.prepend(PortCatalog::entryFor(m_portName));
    showPorts(ports);
}

void Frm8::showPorts(const QList<PortEntry> &ports)
{
    const auto shownText = [](const PortEntry &port) {
        return port.permissionDenied ? Frm8Text::noPermissionLabel(port.label) : port.label;
    };
    bool same = m_cmbCOM->count() == ports.size();
    for (int i = 0; same && i < ports.size(); ++i) {
        same = m_cmbCOM->itemData(i).toString() == ports[i].portName
            && m_cmbCOM->itemText(i) == shownText(ports[i]);
    }
    if (same)
        return;

    // Rebuilt quietly: a port list brought up to date is no choice of the user's, and a running function
    // must not hear of it. A selection still listed stays.
    const QString selected = selectedPortName();
    QSignalBlocker quiet(m_cmbCOM);
    m_cmbCOM->clear();
    for (const PortEntry &port : ports) {
        m_cmbCOM->addItem(shownText(port), port.portName);
        const int index = m_cmbCOM->count() - 1;
        m_cmbCOM->setItemData(index, port.label, kPortLabelRole);
        m_cmbCOM->setItemData(index, port.permissionDenied, kPermissionDeniedRole);
    }
    const int index = m_cmbCOM->findData(selected);
    m_cmbCOM->setCurrentIndex(index >= 0 ? index : (m_cmbCOM->count() > 0 ? 0 : -1));
    m_cmbCOM->setToolTip(selectedPortLabel());
    fitPortList();
}

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
        const int width = qMin(widest, right - twips(kLabel0.left() + kLabel0.width()));
        geometry.setLeft(qMin(geometry.left(), right - width));
        geometry.setWidth(width);
    }
    m_cmbCOM->setGeometry(geometry);
#endif
}

void Frm8::showEvent(QShowEvent *event)
{
    // Adapters plugged in or pulled out while the page is shown appear or vanish on their own.
    m_portRefresh.start();
    FormWindow::showEvent(event);
}

void Frm8::hideEvent(QHideEvent *event)
{
    m_portRefresh.stop();
    FormWindow::hideEvent(event);
}

QString Frm8::portForRun()
{
    if (!m_link->isOpen())
        m_portName = selectedPortName();
    return m_portName;
}

void Frm8::OpenModulePort()
{
    if (m_cmbCOM->count() == 0) {
        setMeld(Frm8Text::noPort());
        return;
    }
    if (m_link->isOpen())
        return;
    m_portName = selectedPortName();
    if (m_link->open(m_portName)) {
        m_link->clearInput();
        return;
    }
    m_portFailure = selectedPortLabel();
    setMeld(portProblemText(m_portFailure));
}

void Frm8::closePort()
{
    if (m_link->isOpen())
        m_link->close();
}

void Frm8::cmbCOM_Click()
{
    m_cmbCOM->setToolTip(selectedPortLabel());
    const bool running = m_uploadRunning || m_statusRunning || (m_sms && m_sms->isRunning());
    if (!running && m_cmbCOM->currentData(kPermissionDeniedRole).toBool())
        setMeld(Frm8Text::portPermissionDenied(selectedPortLabel()));
    const QString port = selectedPortName();
    if (port.isEmpty() || port == m_portName)
        return;
    if (m_link->isOpen()) {
        closePort();
        OpenModulePort();
    }
    if (m_uploadRunning && m_upload)
        m_upload->requestStop();
}

QString Frm8::takePortFailure()
{
    return std::exchange(m_portFailure, QString());
}

// --- Runs

void Frm8::dropUnheardInput()
{
    const auto listening = [](const auto &session) { return session && session->isRunning(); };
    if (!listening(m_upload) && !listening(m_status) && !listening(m_sms))
        m_link->clearInput();
}

template<class Session> void Frm8::retire(std::unique_ptr<Session> &session)
{
    if (!session)
        return;
    disconnect(session.get(), nullptr, this, nullptr);
    if (session->isRunning())
        session.reset(); // every wait ends at once and silently; the port is left as it is
    else
        session.release()->deleteLater(); // it may still be on its way out of its last report
}

void Frm8::retireOtherRuns()
{
    if (m_status && m_status->isRunning())
        m_statusRunning = false;
    retire(m_status);
    if (m_sms && m_sms->isRunning())
        retire(m_sms);
    // Another function took over: the SMS service is no longer selected.
    m_smsServiceActive = false;
}

QString Frm8::noAnswerText(const QString &failedPort) const
{
    if (!failedPort.isEmpty())
        return portProblemText(failedPort);
    return m_leftDuringRun ? QString() : Frm8Text::noAnswer();
}

// --- Parameter upload

void Frm8::cmd_Click()
{
    if (m_uploadRunning)
        return;
    // What the user typed last on a page counts before the record reads it.
    runPendingLeaves();
    m_leftDuringRun = false;
    retireOtherRuns();
    setLook(m_cmd, Look::Active);
    showSmsFields(false);
    setLook(m_cmd2, Look::Normal);
    setLook(m_cmd3, Look::Normal);
    setFunctionButtonsEnabled(false);
    setMeld(Frm8Text::searching(Function::Upload));
    m_uploadRunning = true;
    m_portFailure.clear();

    // A record of the wrong length would put every field of the module out of place: nothing is sent.
    int length = 0;
    const std::optional<QByteArray> record = RecordToModuleBytes(m_options.buildRecord(), nullptr, &length);
    if (!record) {
        closePort();
        setMeld(Frm8Text::wrongRecordLength(length));
        endUpload();
        return;
    }

    retire(m_upload);
    m_upload = std::make_unique<UploadSession>(m_link, m_options.timeouts);
    UploadSession *session = m_upload.get();
    connect(session, &LinkSession::busyIndicator, this, &Frm8::turnBusyIndicator);
    connect(session, &LinkSession::noPort, this, [this] { setMeld(Frm8Text::noPort()); });
    connect(session, &UploadSession::transferring, this, [this](int block) {
        if (block == 1)
            setMeld(Frm8Text::transferring());
    });
    connect(
        session, &UploadSession::finished, this, [this, session](UploadSession::Outcome outcome, int block) {
            uploadFinished(session, outcome, block);
        });
    session->start(portForRun(), *record);
}

void Frm8::uploadFinished(UploadSession *session, UploadSession::Outcome outcome, int block)
{
    if (session != m_upload.get())
        return;
    using O = UploadSession::Outcome;
    const QString failedPort = takePortFailure();
    switch (outcome) {
    case O::Success:
        setMeld(m_meld + Frm8Text::uploadDone());
        break;
    case O::NoAnswer:
        setMeld(noAnswerText(failedPort));
        break;
    case O::PortOpenFailed:
        setMeld(portProblemText(portLabel(m_portName)));
        break;
    case O::WrongVersion:
        setMeld(Frm8Text::wrongVersion());
        break;
    case O::IncompleteTransfer:
        setMeld(failedPort.isEmpty() ? Frm8Text::incompleteTransfer()
                                     : Frm8Text::portLostDuringTransfer(failedPort));
        break;
    case O::PortLost: {
        const QString label = portLabel(m_portName);
        setMeld(block > 0 ? Frm8Text::portLostDuringTransfer(label) : portProblemText(label));
        break;
    }
    }
    endUpload();
}

void Frm8::endUpload()
{
    m_uploadRunning = false;
    setLook(m_cmd, Look::Normal);
    setFunctionButtonsEnabled(true);
}

// --- Status monitoring

void Frm8::cmd2_Click()
{
    if (m_uploadRunning)
        return;
    retireOtherRuns();
    setLook(m_cmd2, Look::Active);
    showSmsFields(false);
    setLook(m_cmd, Look::Normal);
    setLook(m_cmd3, Look::Normal);
    setMeld(Frm8Text::searching(Function::Status));
    m_leftDuringRun = false;
    m_statusRunning = true;
    m_logNote.clear();
    m_portFailure.clear();

    m_status = std::make_unique<StatusSession>(m_link, m_options.timeouts);
    StatusSession *session = m_status.get();
    session->setLogFileName(StatusLogPath());
    connect(session, &LinkSession::busyIndicator, this, &Frm8::turnBusyIndicator);
    connect(session, &LinkSession::noPort, this, [this] { setMeld(Frm8Text::noPort()); });
    connect(session, &StatusSession::message, this,
        [this](const QString &text) { setMeld(m_logNote.isEmpty() ? text : text + kCrLf + m_logNote); });
    connect(session, &StatusSession::signalLevel, this, &Frm8::ShowSignalLevel);
    connect(session, &StatusSession::logFailed, this, [this](const QString &fileName) {
        // Said once, and kept below every message of this run.
        m_logNote = Frm8Text::logNotWritten(fileName);
        setMeld(m_meld + kCrLf + m_logNote);
    });
    connect(session, &StatusSession::finished, this,
        [this, session](StatusSession::Outcome outcome) { statusFinished(session, outcome); });
    session->start(portForRun());
}

void Frm8::statusFinished(StatusSession *session, StatusSession::Outcome outcome)
{
    if (session != m_status.get())
        return;
    using O = StatusSession::Outcome;
    m_statusRunning = false;
    const QString failedPort = takePortFailure();
    switch (outcome) {
    case O::NoAnswer:
        setMeld(noAnswerText(failedPort));
        endStatusRun();
        break;
    case O::PortOpenFailed:
        setMeld(portProblemText(portLabel(m_portName)));
        endStatusRun();
        break;
    case O::PortLost:
        setMeld(portProblemText(portLabel(m_portName)));
        greyBars();
        endStatusRun();
        break;
    case O::Stopped:
        // Whoever ended the run looks after the page, unless the port it was using failed to reopen.
        if (!failedPort.isEmpty()) {
            setMeld(portProblemText(failedPort));
            greyBars();
            endStatusRun();
        }
        break;
    }
}

void Frm8::endStatusRun()
{
    m_statusRunning = false;
    setLook(m_cmd2, Look::Normal);
    setFunctionButtonsEnabled(true);
}

void Frm8::ShowSignalLevel(int level)
{
    const std::optional<SignalBars> bars = signalBarColours(level);
    if (!bars)
        return;
    for (int i = 0; i < kBarCount; ++i) {
        switch ((*bars)[i]) {
        case BarColour::Off:
            setBarColour(m_lbl[i], Bgr::Grey);
            break;
        case BarColour::Green:
            setBarColour(m_lbl[i], Bgr::Green);
            break;
        case BarColour::Red:
            setBarColour(m_lbl[i], Bgr::Red);
            break;
        }
    }
}

void Frm8::greyBars()
{
    for (QLabel *bar : m_lbl)
        setBarColour(bar, Bgr::Grey);
}

// --- SMS service

void Frm8::cmd3_Click()
{
    if (m_uploadRunning)
        return;
    // Monitoring ends; the port stays as it is.
    m_statusRunning = false;
    retire(m_status);
    m_smsServiceActive = true;
    setMeld(QStringLiteral(" "));
    showSmsFields(true);
    setLook(m_cmd3, Look::Active);
    setLook(m_cmd, Look::Normal);
    setLook(m_cmd2, Look::Normal);
    m_text1->setFocus(Qt::OtherFocusReason);
}

void Frm8::cmdS_Click()
{
    if (m_uploadRunning)
        return;
    showSmsFields(false);
    const QString text = m_text1->toPlainText();
    const QString number = m_text2->text();
    if (text.isEmpty() || number.isEmpty()) {
        setMeld(Frm8Text::smsMissing());
        endSmsSend();
        return;
    }
    m_statusRunning = false;
    retire(m_status);
    retire(m_sms);
    setMeld(Frm8Text::searching(Function::Sms));
    m_leftDuringRun = false;
    m_portFailure.clear();

    m_sms = std::make_unique<SmsSession>(m_link, m_options.timeouts);
    SmsSession *session = m_sms.get();
    connect(session, &LinkSession::busyIndicator, this, &Frm8::turnBusyIndicator);
    connect(session, &LinkSession::noPort, this, [this] { setMeld(Frm8Text::noPort()); });
    connect(session, &SmsSession::handingOver, this, [this] { setMeld(Frm8Text::smsHandingOver()); });
    connect(session, &SmsSession::finished, this,
        [this, session](SmsSession::Outcome outcome) { smsFinished(session, outcome); });
    session->start(portForRun(), number, text);
}

void Frm8::smsFinished(SmsSession *session, SmsSession::Outcome outcome)
{
    if (session != m_sms.get())
        return;
    using O = SmsSession::Outcome;
    const QString failedPort = takePortFailure();
    switch (outcome) {
    case O::Success:
        setMeld(Frm8Text::smsSent());
        endSmsSend();
        // The module's own reports follow.
        cmd2_Click();
        return;
    case O::SendFailed:
        setMeld(Frm8Text::smsNotSent());
        break;
    case O::NoAnswer:
        setMeld(noAnswerText(failedPort));
        break;
    case O::PortOpenFailed:
        setMeld(portProblemText(portLabel(m_portName)));
        break;
    case O::PortLost:
        setMeld(portProblemText(portLabel(m_portName)));
        break;
    }
    endSmsSend();
}

void Frm8::endSmsSend()
{
    m_smsServiceActive = false;
    setLook(m_cmd3, Look::Normal);
}

void Frm8::updateSendCaption()
{
    m_cmdS->setText(Frm8Text::smsSendCaption(kSmsTextLength - int(m_text1->toPlainText().size())));
}

void Frm8::limitSmsText()
{
    if (m_limitingSmsText)
        return;
    if (m_text1->toPlainText().size() > kSmsTextLength) {
        // Text that reached the field some other way than typing or pasting: the rest is cut off.
        m_limitingSmsText = true;
        QTextCursor cut(m_text1->document());
        cut.setPosition(kSmsTextLength);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        m_limitingSmsText = false;
    }
    if (m_text1->hasFocus())
        updateSendCaption();
}

bool Frm8::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text1) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            // A full SMS takes no more characters; the selection would be replaced, so it makes room.
            const auto *key = static_cast<QKeyEvent *>(event);
            const qsizetype kept
                = m_text1->toPlainText().size() - m_text1->textCursor().selectedText().size();
            if (isTypedCharacter(key) && kept >= kSmsTextLength)
                return true;
            break;
        }
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::KeyRelease:
            updateSendCaption();
            break;
        default:
            break;
        }
    }
    return FormWindow::eventFilter(watched, event);
}

// --- Looks and texts

void Frm8::setLook(TwoStateButton *button, Look look)
{
    button->setColors(fromBgr(look == Look::Active ? kButtonActive : kButtonNormal), qRgb(0, 0, 0));
    button->setBold(look == Look::Active);
}

void Frm8::setFunctionButtonsEnabled(bool enabled)
{
    m_cmd->setEnabled(enabled);
    m_cmd2->setEnabled(enabled);
    m_cmd3->setEnabled(enabled);
}

void Frm8::showSmsFields(bool show)
{
    for (QWidget *field :
        { static_cast<QWidget *>(m_text1), static_cast<QWidget *>(m_text2), static_cast<QWidget *>(m_text3),
            static_cast<QWidget *>(m_text4), static_cast<QWidget *>(m_cmdS) })
        field->setVisible(show);
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
