#include "shell/frmstart.h"

#include "comm/statuslog.h"
#include "l10n/applylanguage.h"
#include "l10n/runtimelanguage.h"
#include "window/colors.h"
#include "shell/configfiles.h"
#include "window/help.h"
#include "window/pagehost.h"
#include "core/inifile.h"
#include "window/settingsfile.h"
#include "window/startwarmup.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QPainter>
#include <QPointer>
#include <QUrl>

const char *const kMakerWebAddress = "https://www.rm425t.example/";

namespace {

struct MenuButtonSpec
{
    int index;
    const char *caption;
    int left, top, width, height;
    int tabOrder;
};

// The index is the action, not the position: the page buttons are stacked 1, 4, 2, 7, 6, 3, 5, 9, 8.
constexpr MenuButtonSpec kMenu[] = {
    { 0, "", 6000, 480, 2655, 975, 16 },
    { 1, "Allgemeine Einstellungen", 360, 1920, 3600, 495, 0 },
    { 4, "4 SMS Ausgänge", 360, 2520, 3600, 495, 1 },
    { 2, "2 Eingänge T1/T2", 360, 3120, 3600, 495, 2 },
    { 7, "1 Incall Ausgang", 360, 3720, 3600, 495, 3 },
    { 6, "1 PWM Ausgang", 360, 4320, 3600, 495, 4 },
    { 3, "2 Optokoppler Eingänge", 360, 4920, 3600, 495, 5 },
    { 5, "1 ADC Eingang", 360, 5520, 3600, 495, 6 },
    { 9, "Rückantwort / Fehler", 360, 6120, 3600, 495, 7 },
    { 8, "Kommunikation", 360, 6720, 3600, 495, 8 },
    { 11, "Abbrechen", 480, 7440, 1560, 495, 9 },
    { 10, "Beenden", 2280, 7440, 1560, 495, 10 },
    { 14, "Speichern", 360, 1250, 1320, 345, 11 },
    { 16, "D/E/F", 1800, 1250, 720, 345, 12 },
    { 13, "Hilfe", 2640, 1250, 720, 345, 13 },
    { 12, "Info", 3480, 1250, 600, 345, 14 },
    { 15, "OK", 6840, 6240, 975, 615, 30 },
};

// By the palette, not a style sheet: a sheet would route the whole window through the style sheet style,
// which costs the start-up several milliseconds and draws these labels no differently.
void setLabelLook(QLabel *label, unsigned textBgr, unsigned backBgr)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(fromBgr(textBgr)));
    pal.setColor(QPalette::Window, QColor(fromBgr(backBgr)));
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}

} // namespace

QString menuPageName(int index)
{
    if (index == 12)
        return QStringLiteral("frmAbout");
    if (index >= 1 && index <= 9)
        return QStringLiteral("frm%1").arg(index);
    return {};
}

FrmStart *startWindow()
{
    return static_cast<FrmStart *>(WindowRegistry::instance().existing(QStringLiteral("frmStart")));
}

FrmStart::FrmStart(QWidget *parent, DialogOptions dialogs)
    : FormWindow(QStringLiteral("frmStart"), parent)
    , m_quit([] { QCoreApplication::exit(0); })
    , m_dialogs(dialogs)
{
    // The pictures are decoded beside the building of the controls and set when these stand.
    PictureLoader pictures({ QStringLiteral(":/images/logo.png"), QStringLiteral(":/images/module.png") });
    setWindowTitle(QStringLiteral("GSM"));
    setFixedSize(twips(9375), twips(8295));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(fromBgr(Bgr::LightBlue)));
    setPalette(pal);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    setFont(f);
    setMouseTracking(true);

    m_bar = new QFrame(this);
    m_bar->setGeometry(twipsRect(240, 240, 8790, 855));
    m_bar->setFrameShape(QFrame::NoFrame);
    m_bar->installEventFilter(this);
    add(m_bar, QStringLiteral("Bar"), 1);

    m_nPaneltit = new QLabel(QStringLiteral("GSM-Modul  RM425T"), m_bar);
    m_nPaneltit->setGeometry(twipsRect(120, 240, 5055, 615));
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPointSizeF(21.75);
    titleFont.setBold(true);
    m_nPaneltit->setFont(titleFont);
    setLabelLook(m_nPaneltit, Bgr::Navy, Bgr::LightBlue);
    m_nPaneltit->installEventFilter(this);
    add(m_nPaneltit, QStringLiteral("nPaneltit"), 0);

    m_picSkin = new QLabel(this);
    m_picSkin->setGeometry(twipsRect(6000, 480, 2655, 975));
    m_picSkin->hide();
    add(m_picSkin, QStringLiteral("picSkin"));

    m_picMod = new QLabel(this);
    m_picMod->setGeometry(twipsRect(4680, 2760, 3750, 3750));
    m_picMod->setAlignment(Qt::AlignCenter);
    add(m_picMod, QStringLiteral("picMod"));

    m_lblSp = new QLabel(this);
    m_lblSp->setGeometry(twipsRect(kSaveBarLeft, 1710, kSaveBarWidth, 135));
    setLabelLook(m_lblSp, Bgr::LightBlue, Bgr::LightBlue);
    m_lblSp->hide();
    add(m_lblSp, QStringLiteral("lblSp"));

    m_lblMeld = new QLabel(this);
    m_lblMeld->setGeometry(twipsRect(4920, 2400, 3585, 3330));
    QFont meldFont(QStringLiteral("Arial"));
    meldFont.setPointSizeF(11.25);
    meldFont.setBold(true);
    m_lblMeld->setFont(meldFont);
    m_lblMeld->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblMeld->setWordWrap(true);
    setLabelLook(m_lblMeld, Bgr::Red, Bgr::LightBlue);
    m_lblMeld->hide();
    add(m_lblMeld, QStringLiteral("lblMeld"));

    createMenu();

    for (int i = 0; i < 10; ++i) {
        auto *square = new QLabel(this);
        square->setGeometry(twipsRect(4680 + 420 * i, 7560, 135, 150));
        setLabelLook(square, Bgr::Navy, Bgr::Navy);
        add(square, QStringLiteral("Label1"), i);
    }

    m_configurationFiles = new ConfigurationFiles(this, std::move(dialogs));
    offerSeriesAndComparison();
    m_picSkin->setPixmap(pictures.pixmap(0));
    m_picMod->setPixmap(pictures.pixmap(1));
}

void FrmStart::createMenu()
{
    QWidget *previous = nullptr;
    QList<const MenuButtonSpec *> byTabOrder;
    for (const MenuButtonSpec &item : kMenu)
        byTabOrder.append(&item);
    std::sort(byTabOrder.begin(), byTabOrder.end(),
              [](const MenuButtonSpec *a, const MenuButtonSpec *b) { return a->tabOrder < b->tabOrder; });

    for (const MenuButtonSpec &item : kMenu) {
        auto *button = new TwoStateButton(this);
        button->setGeometry(twipsRect(item.left, item.top, item.width, item.height));
        button->setText(QString::fromUtf8(item.caption));
        if (item.index == 0) {
            button->setColors(fromBgr(Bgr::White), palette().color(QPalette::WindowText).rgb());
        } else {
            button->setColors(fromBgr(Bgr::MenuBlue), fromBgr(Bgr::LightYellow));
            button->setFontSpec(QStringLiteral("Arial"), 12);
        }
        button->installEventFilter(this);
        m_check[item.index] = button;
        const int index = item.index;
        connect(button, &QAbstractButton::toggled, this, [this, index] { onCheckToggled(index); });
    }
    // Registered in index order, so Check(i) is member i.
    for (int i = 0; i < kButtonCount; ++i)
        add(m_check[i], QStringLiteral("Check"), i);
    for (const MenuButtonSpec *item : byTabOrder) {
        if (previous)
            setTabOrder(previous, m_check[item->index]);
        previous = m_check[item->index];
    }
    m_check[15]->hide();
    m_check[11]->setToolTip(QStringLiteral("  Beenden ohne zu speichern !  "));
}

void FrmStart::moveEvent(QMoveEvent *event)
{
    // The windows it owns keep their place beside it, as they would on the system the program was made for.
    const QPoint delta = event->pos() - event->oldPos();
    const QList<FormWindow *> owned = findChildren<FormWindow *>(Qt::FindDirectChildrenOnly);
    for (FormWindow *window : owned) {
        if (window->isVisible() && window->isWindow())
            window->move(window->pos() + delta);
    }
    FormWindow::moveEvent(event);
}

void FrmStart::formLoad()
{
    applySkin();
    WindowRegistry::instance().setCurrentPage(0);
    // The status log an earlier run left is set aside as GSM.DAT.old, so this run's log starts empty and
    // the one before is still there to read; the communication page appends to it while we run.
    StatusLog::setAsidePrevious(StatusLogPath());
    // The settings file is read once into the configuration; each page shows it when it is first opened.
    const SettingsFileProblem problem = loadSettingsIntoConfiguration(IniFileReadPath());
    // What an interrupted save of the settings file left beside it goes as well.
    removeSafeWriteLeftovers(IniFilePath());
    ApplyLanguage();
    m_configurationFiles->startUpFinished(problem);
}

void FrmStart::applySkin()
{
    TwoStateButton *target = m_check[0];
    target->hide();
    m_picSkin->hide();
    const QPixmap logo = m_picSkin->pixmap();
    if (!logo.isNull()) {
        m_picSkin->resize(logo.size());
        target->setPicture(logo);
    }
    target->show();
}

void FrmStart::onCheckToggled(int index)
{
    // A user's click leaves the button pressed (value 1): set it back, which raises this handler again with
    // value 0, and that call acts. So one click acts once and no button stays pressed.
    Check_Click(index);
}

void FrmStart::Check_Click(int index)
{
    m_picMod->hide();
    TwoStateButton *button = m_check[index];
    if (button->isChecked()) {
        button->setChecked(false);
        return;
    }
    WindowRegistry &registry = WindowRegistry::instance();
    switch (index) {
    case 0:
        openMakerWebPage();
        break;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        ShowPage(index, registry.window(menuPageName(index)));
        registry.setCurrentPage(index);
        break;
    case 10:
        if (SaveAllPages())
            QuitProgram();
        break;
    case 11:
        // The user chose to end without saving: the edits are not offered again at the next start.
        m_configurationFiles->discardRecoveryCopy();
        QuitProgram();
        break;
    case 12:
        ShowPage(12, registry.window(QStringLiteral("frmAbout")));
        registry.setCurrentPage(12);
        break;
    case 13:
        showHelpTopic(555);
        break;
    case 14:
        SaveAllPages();
        break;
    case 15:
        if (m_okAnswers == OkAnswers::SaveFailure) {
            // This OK answers the failed save, not a page message: the window that stepped aside for the
            // message comes back as the user left it.
            dismissSaveFailure();
            backgroundClick();
            break;
        }
        acknowledgeOverlay();
        break;
    case 16:
        NextLanguage();
        backgroundClick();
        break;
    default:
        break;
    }
}

void FrmStart::openMakerWebPage()
{
    ResetMenuButtons();
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerWebAddress)));
}

void FrmStart::ShowPage(int index, FormWindow *window)
{
    WindowRegistry &registry = WindowRegistry::instance();
    if (index != registry.currentPage()) {
        ResetMenuButtons();
        if (index < 10) {
            TwoStateButton *button = m_check[index];
            button->setColors(fromBgr(Bgr::LightYellow), fromBgr(Bgr::Navy));
            QRect g = button->geometry();
            g.setLeft(twips(260));
            g.setWidth(twips(3800));
            button->setGeometry(g);
        }
    }
    if (!window)
        return;
    // Hiding and showing again brings the window to the front and raises its activation.
    window->hide();
    window->show();
    window->raise();
    window->activateWindow();
}

void FrmStart::ResetMenuButtons()
{
    for (int i = 1; i <= 9; ++i) {
        TwoStateButton *button = m_check[i];
        button->setColors(fromBgr(Bgr::MenuBlue), fromBgr(Bgr::White));
        QRect g = button->geometry();
        g.setLeft(twips(360));
        g.setWidth(twips(3600));
        button->setGeometry(g);
    }
}

void FrmStart::HighlightMenuButton(int index)
{
    for (int i = 1; i <= 16; ++i)
        m_check[i]->setBold(false);
    if (index >= 1 && index <= 16)
        m_check[index]->setBold(true);
    m_check[11]->setTextColor(fromBgr(index == 11 ? Bgr::Red : Bgr::LightYellow));
    m_check[10]->setTextColor(fromBgr(index == 10 ? Bgr::DarkGreen : Bgr::LightYellow));
}

void FrmStart::option_n()
{
    const int page = WindowRegistry::instance().currentPage();
    if (page == 0 || page == 8 || page == 12)
        return;
    FormWindow *window = WindowRegistry::instance().existing(menuPageName(page));
    if (!window)
        return;
    for (int i = 1; i <= 4; ++i) {
        auto *tab = window->controlAs<QAbstractButton>(QStringLiteral("opt"), i);
        if (!tab)
            break; // the page has fewer tabs
        setTabBold(tab, false);
    }
}

void FrmStart::setHandCursor()
{
    static const QCursor hand(QPixmap(QStringLiteral(":/images/hand.png")), 6, 1);
    m_check[0]->setCursor(hand);
}

bool FrmStart::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < kButtonCount; ++i) {
        if (watched != m_check[i])
            continue;
        if (event->type() == QEvent::MouseMove) {
            setHandCursor();
            HighlightMenuButton(i);
        } else if (event->type() == QEvent::FocusIn) {
            HighlightMenuButton(i);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Check_Click(i);
                return true;
            }
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_nPaneltit) {
            titleClick();
            return true;
        }
        if (watched == m_bar) {
            barClick();
            return true;
        }
    }
    return FormWindow::eventFilter(watched, event);
}

void FrmStart::mouseMoveEvent(QMouseEvent *event)
{
    // A button passes its unused mouse moves on to us; only the background, the message area and the
    // title clear the marks.
    if (qobject_cast<TwoStateButton *>(childAt(event->position().toPoint())))
        return;
    option_n();
    HighlightMenuButton(kNoButton);
    FormWindow::mouseMoveEvent(event);
}

void FrmStart::mouseReleaseEvent(QMouseEvent *event)
{
    // Only the bare window counts: a click on a label or picture on it (the message among them) does nothing.
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint()))
        backgroundClick();
    FormWindow::mouseReleaseEvent(event);
}

void FrmStart::backgroundClick()
{
    const int page = WindowRegistry::instance().currentPage();
    if (page >= 1 && page <= 13)
        Check_Click(page);
    else
        m_picMod->show();
}

void FrmStart::barClick()
{
    if (WindowRegistry::instance().currentPage() > 0)
        backgroundClick();
}

void FrmStart::titleClick()
{
    if (WindowRegistry::instance().currentPage() != 0)
        backgroundClick();
}

void FrmStart::setMenuEnabled(bool enabled)
{
    for (int i = 1; i <= 14; ++i)
        m_check[i]->setEnabled(enabled);
}

void FrmStart::QuitProgram()
{
    closeAllHelp();
    m_quit();
}

void FrmStart::closeEvent(QCloseEvent *event)
{
    // Closing the start window ends the program without saving and without asking; the edits stay in the
    // recovery copy, offered at the next start.
    event->accept();
    m_configurationFiles->keepRecoveryCopy();
    closeAllHelp();
    m_quit();
}

void FrmStart::paintEvent(QPaintEvent *event)
{
    FormWindow::paintEvent(event);
    QPainter painter(this);
    QPen pen(QColor(fromBgr(Bgr::Navy)));
    pen.setWidth(3);
    painter.setPen(pen);
    // Line1(1): the divider under the button row; the save bar lies along it.
    painter.drawLine(twips(240), twips(1800), twips(4290), twips(1800));
    pen.setWidth(1);
    painter.setPen(pen);
    painter.drawLine(twips(240), twips(7320), twips(4290), twips(7320));
    painter.drawLine(twips(4440), twips(1920), twips(4440), twips(8040));
    painter.drawLine(twips(240), twips(8040), twips(9030), twips(8040));
}
