#include "shell/frmabout.h"

#include "comm/uploadlog.h"
#include "l10n/runtimelanguage.h"
#include "window/pagehost.h"
#include "window/colors.h"
#include "window/settingsfile.h"
#include "shell/sysinfo.h"
#include "window/helpwindow.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTextDocument>
#include <QTextEdit>
#include <QWindow>
#include <QtMath>

#include <memory>

#define RM425T_STRINGIFY_(x) #x
#define RM425T_STRINGIFY(x) RM425T_STRINGIFY_(x)

namespace {

constexpr unsigned kLineGrey = Bgr::DarkGrey;
constexpr int kBoxWidth = 4155;
// The strip that names the files, below the written box (twips): its least height, which it keeps while
// the paths fit, and its margin to the window's edges.
constexpr int kFilesLeft = 120;
constexpr int kFilesTop = 5430;
constexpr int kFilesWidth = 3960;
constexpr int kFilesHeight = 840;
constexpr int kFilesMargin = 60;

QString withoutLeadingZeros(const QString &number)
{
    bool ok = false;
    const qulonglong value = number.trimmed().toULongLong(&ok, 10);
    return ok ? QString::number(value) : number.trimmed();
}

} // namespace

QString versionNumberText(const QString &major, const QString &minor, const QString &revision)
{
    return withoutLeadingZeros(major) + u'.' + withoutLeadingZeros(minor) + u'.'
        + withoutLeadingZeros(revision);
}

QString versionLine()
{
    // Taken as the build wrote them: a number literal with a leading zero would be read as octal.
    return QStringLiteral("Version: ")
        + versionNumberText(QStringLiteral(RM425T_STRINGIFY(RM425T_VERSION_MAJOR)),
            QStringLiteral(RM425T_STRINGIFY(RM425T_VERSION_MINOR)),
            QStringLiteral(RM425T_STRINGIFY(RM425T_VERSION_PATCH)));
}

FrmAbout::FrmAbout(QWidget *parent, DialogOptions dialogs)
    : FormWindow(QStringLiteral("frmAbout"), parent)
    , m_dialogs(std::move(dialogs))
{
    setWindowTitle(QStringLiteral("Info"));
    // Below the written box, a strip that says where this run keeps its files.
    setFixedSize(twips(kBoxWidth), twips(kFilesTop + kFilesHeight));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(fromBgr(Bgr::LightBlue)));
    pal.setColor(QPalette::WindowText, QColor(fromBgr(Bgr::Navy)));
    setPalette(pal);
    // Moves over the background take the bold mark off the button.
    setMouseTracking(true);
    // Put away like a page closed by its title bar: hidden, and shown again by "Info".
    closeOnEscape(this);
    // With long paths the box is taller than the pages, and a page shown over it would leave its foot in
    // sight: it steps aside whenever a page is activated. The start window leaves it where it is.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *focused) {
        if (!isVisible() || !focused)
            return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (const QWidget *window : windows) {
            const auto *form = qobject_cast<const FormWindow *>(window);
            if (form && window->windowHandle() == focused) {
                if (form != this && form->formName() != QLatin1String("frmStart"))
                    hide();
                return;
            }
        }
    });

    m_lblVersion
        = addLabel(QStringLiteral("lblVersion"), QStringLiteral("Version"), QRect(240, 600, 3765, 225));
    m_lblDescription = addLabel(
        QStringLiteral("lblDescription"), QStringLiteral("Beschreibung"), QRect(240, 1320, 3765, 1410));
    m_lblDisclaimer = addLabel(QStringLiteral("lblDisclaimer"),
        QStringLiteral("Warnung:\r\n\r\nNur geeignet für das GSM- Modul RM425T mit dem "
                       "TELIT- Modul !"),
        QRect(240, 3360, 3735, 1185));

    m_chkInfo = new TwoStateButton(this);
    m_chkInfo->setGeometry(twipsRect(1800, 4800, 2040, 465));
    m_chkInfo->setColors(fromBgr(Bgr::LightBlue), fromBgr(Bgr::Navy));
    m_chkInfo->setFontSpec(QStringLiteral("Arial"), 11.25);
    m_chkInfo->setText(QStringLiteral("System - Info"));
    m_chkInfo->installEventFilter(this);
    connect(m_chkInfo, &QAbstractButton::toggled, this, &FrmAbout::ChkInfo_Click);
    add(m_chkInfo, QStringLiteral("ChkInfo"));

    m_picIcon = new QLabel(this);
    m_picIcon->setGeometry(twipsRect(0, 4560, 1185, 780));
    m_picIcon->setAlignment(Qt::AlignCenter);
    const QPixmap module(QStringLiteral(":/images/module.png"));
    if (!module.isNull()) {
        const QSize room = m_picIcon->size() - QSize(4, 4);
        m_picIcon->setPixmap(module.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    add(m_picIcon, QStringLiteral("picIcon"));

    // Selectable, so a path can be copied; a long path wraps between folders, or anywhere where a name is too
    // long for a line, and the strip grows to show it whole (fitFilesStrip).
    m_files = new QTextEdit(this);
    m_files->setObjectName(QStringLiteral("txtFiles"));
    m_files->setGeometry(twipsRect(kFilesLeft, kFilesTop, kFilesWidth, kFilesHeight - kFilesMargin));
    m_files->setReadOnly(true);
    m_files->setAcceptRichText(false);
    m_files->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_files->setFrameShape(QFrame::NoFrame);
    m_files->setFocusPolicy(Qt::ClickFocus);
    m_files->setLineWrapMode(QTextEdit::WidgetWidth);
    m_files->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_files->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_files->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette filesPalette = m_files->palette();
    filesPalette.setColor(QPalette::Base, QColor(fromBgr(Bgr::LightBlue)));
    filesPalette.setColor(QPalette::Text, QColor(fromBgr(Bgr::Navy)));
    m_files->setPalette(filesPalette);
    QFont filesFont(QStringLiteral("Arial"));
    filesFont.setPointSizeF(8);
    m_files->setFont(filesFont);

    for (int i = 0; i < 2; ++i) {
        auto *line = new QFrame(this);
        line->setGeometry(twips(120), twips(i == 0 ? 1080 : 3000), twips(4080) - twips(120), 1);
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
        QPalette linePalette = line->palette();
        linePalette.setColor(QPalette::Window, QColor(fromBgr(kLineGrey)));
        line->setPalette(linePalette);
        // Lines are drawn on the window: moving over one is moving over the background.
        line->setAttribute(Qt::WA_TransparentForMouseEvents);
        add(line, QStringLiteral("Line1"), i);
    }
}

QLabel *FrmAbout::addLabel(const QString &name, const QString &designText, const QRect &geometryTwips)
{
    auto *label = new QLabel(designText, this);
    label->setGeometry(
        twipsRect(geometryTwips.x(), geometryTwips.y(), geometryTwips.width(), geometryTwips.height()));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    QFont f;
    f.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans") });
    f.setPointSizeF(9.75);
    f.setBold(true);
    label->setFont(f);
    add(label, name);
    return label;
}

void FrmAbout::formActivate()
{
    PlacePage(this);
    WindowRegistry::instance().setCurrentPage(kPageNumber);
    setTexts();
}

QString FrmAbout::filesText() const
{
    const QString settings = QDir::toNativeSeparators(IniFilePath());
    const QString log = QDir::toNativeSeparators(QFileInfo(StatusLogPath()).absoluteFilePath());
    const QString uploads = QDir::toNativeSeparators(UploadLog::logPath());
    return textForLanguage({ QStringLiteral("Einstellungen: %1\nStatusprotokoll: %2\nSendeprotokoll: %3"),
        QStringLiteral("Settings: %1\nStatus log: %2\nUpload log: %3"),
        QStringLiteral("Paramètres : %1\nJournal d'état : %2\nJournal des envois : %3") })
        .arg(settings, log, uploads);
}

void FrmAbout::fitFilesStrip()
{
    // Measured on a copy laid out at the strip's width, as the strip lays out its own text.
    const int width = twips(kFilesWidth);
    const std::unique_ptr<QTextDocument> measure(m_files->document()->clone());
    measure->setDefaultFont(m_files->font());
    measure->setTextWidth(width);
    const int needed = qCeil(measure->size().height());
    // Never taller than the screen: past that the strip scrolls, and the tool tip still has every path.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int room
        = screen ? screen->availableGeometry().height() - twips(kFilesTop + kFilesMargin) - 40 : needed;
    const int height = qMax(twips(kFilesHeight - kFilesMargin), qMin(needed, qMax(room, 0)));
    m_files->setVerticalScrollBarPolicy(needed > height ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    m_files->setGeometry(twips(kFilesLeft), twips(kFilesTop), width, height);
    setFixedSize(twips(kBoxWidth), twips(kFilesTop) + height + twips(kFilesMargin));
}

void FrmAbout::setTexts()
{
    const std::optional<int> code = currentLanguageCode();
    const QString files = filesText();
    m_files->setPlainText(files);
    m_files->setToolTip(files);
    fitFilesStrip();
    // Only a language of the list has these texts; with another code the labels keep what they show.
    static const LanguageTexts kDescription {
        QStringLiteral("Beschreibung:\r\n\r\nSoftware zum Übertragen der Parameter zum GSM- Modul RM425T"),
        QStringLiteral("Description:\r\n\r\nSoftware to send parameter to GSM- module RM425T"),
        QStringLiteral("Description:\r\n\r\n"
                       "Logiciel pour la transmission des paramètres vers le module GSM-RM425T"),
    };
    static const LanguageTexts kDisclaimer {
        QStringLiteral("Warnung:\r\n\r\nNur geeignet für das GSM- Modul RM425T mit dem TELIT- Modul !"),
        QStringLiteral("Warning:\r\n\r\n"
                       "This software is only suitable for the GSM- module RM425T with the TELIT- module"),
        QStringLiteral("Avertissement:\r\n\r\n"
                       "Ne convient que pour le module GSM-RM425T avec le module TELIT !"),
    };
    if (const Language *language = findLanguage(code)) {
        m_lblVersion->setText(versionLine());
        m_lblDescription->setText(kDescription.in(*language));
        m_lblDisclaimer->setText(kDisclaimer.in(*language));
    }
}

void FrmAbout::ChkInfo_Click()
{
    // A user's click leaves the button pressed: set it back, which raises this handler again unpressed, and
    // that call acts. So each click starts the tool once and the button never stays pressed.
    if (m_chkInfo->isChecked()) {
        m_chkInfo->setChecked(false);
        return;
    }
    StartSysInfo();
}

void FrmAbout::StartSysInfo()
{
    const QString program = findSystemInfoTool();
    if (!program.isEmpty()
        && (m_dialogs.startProgram ? m_dialogs.startProgram(program) : startSystemInfoTool(program)))
        return;
    showUnavailableMessage();
}

void FrmAbout::showUnavailableMessage()
{
    const QString text = QString::fromUtf16(kSysInfoUnavailable);
    // No title of its own: the window system shows the program's name.
    if (m_dialogs.showMessage) {
        m_dialogs.showMessage(this, QString(), text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, this);
    box.exec();
}

bool FrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_chkInfo && event->type() == QEvent::MouseMove)
        m_chkInfo->setBold(true);
    return FormWindow::eventFilter(watched, event);
}

void FrmAbout::mouseMoveEvent(QMouseEvent *event)
{
    // The button and the labels pass their unused moves on to us; only the bare background counts.
    if (!childAt(event->position().toPoint()))
        m_chkInfo->setBold(false);
    FormWindow::mouseMoveEvent(event);
}
