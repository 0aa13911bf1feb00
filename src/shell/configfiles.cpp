#include "shell/configfiles.h"

#include "window/formwindow.h"

#include "l10n/languagecode.h"
#include "shell/configuration.h"
#include "shell/frmstart.h"
#include "core/inifile.h"
#include "window/twostatebutton.h"
#include "window/windowregistry.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>
#include <QShortcut>

namespace {

ConfigurationFiles::MessageHook &messageHook()
{
    static ConfigurationFiles::MessageHook hook;
    return hook;
}

// The recent files live in the user's own configuration, not in the settings file, whose content is the
// pages' alone.
QSettings recentStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("RM425T"),
        QStringLiteral("configurations"));
}

const QString kRecentKey = QStringLiteral("recentFiles");

QString openText()
{
    return textForLanguage(QStringLiteral("Konfiguration öffnen…"), QStringLiteral("Open configuration…"),
        QStringLiteral("Ouvrir une configuration…"));
}

QString saveAsText()
{
    return textForLanguage(QStringLiteral("Konfiguration speichern unter…"),
        QStringLiteral("Save configuration as…"), QStringLiteral("Enregistrer la configuration sous…"));
}

QString fileFilter()
{
    return textForLanguage(QStringLiteral("Einstellungsdateien (*.ini);;Alle Dateien (*)"),
        QStringLiteral("Settings files (*.ini);;All files (*)"),
        QStringLiteral("Fichiers de réglages (*.ini);;Tous les fichiers (*)"));
}

QString saveFailedText(const QString &reason)
{
    return textForLanguage(QStringLiteral("Die Konfiguration konnte nicht gespeichert werden !\n\n%1"),
        QStringLiteral("The configuration could not be saved !\n\n%1"),
        QStringLiteral("La configuration n'a pas pu être enregistrée !\n\n%1"))
        .arg(reason);
}

QString canonical(const QString &path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

} // namespace

void ConfigurationFiles::setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

ConfigurationFiles::ConfigurationFiles(FrmStart *start)
    : QObject(start)
    , m_start(start)
{
    m_markTimer.setSingleShot(true);
    m_markTimer.setInterval(kMarkDelay);
    connect(&m_markTimer, &QTimer::timeout, this, &ConfigurationFiles::updateModifiedMark);

    // The pages are windows of their own: the keys work wherever the program has the focus.
    const auto shortcut = [this](const QKeySequence &keys, auto action) {
        auto *s = new QShortcut(keys, m_start);
        s->setContext(Qt::ApplicationShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &ConfigurationFiles::chooseAndOpen);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &ConfigurationFiles::chooseAndSaveAs);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        // As a click on "Speichern" would: not while a save is going on.
        if (!busy())
            m_start->Check_Click(14);
    });

    m_start->setAcceptDrops(true);
    m_start->installEventFilter(this);
}

bool ConfigurationFiles::busy() const
{
    // The menu is disabled while the pages are saved; a dialog of ours may be open as well.
    return m_inDialog || !m_start->check(14)->isEnabled();
}

void ConfigurationFiles::startUpFinished(SettingsFileProblem problem)
{
    watchPages();
    if (problem == SettingsFileProblem::None)
        return;
    // Said once the window is up, in the language the pages now hold.
    QTimer::singleShot(
        0, this, [this, problem] { showMessage(settingsFileNotLoadedText(problem, IniFileReadPath())); });
}

bool ConfigurationFiles::openConfiguration(const QString &path)
{
    if (busy() && !m_inDialog)
        return false;
    // The whole file is read and checked before any page is touched.
    const SettingsFileRead read = readConfigurationFile(path);
    if (!read.document) {
        showMessage(configurationRefusedText(read.problem, path));
        return false;
    }
    applyConfiguration(*read.document);
    watchPages();
    setCurrentFile(path);
    rememberRecent(path);
    return true;
}

bool ConfigurationFiles::saveConfigurationAs(const QString &path)
{
    if (busy() && !m_inDialog)
        return false;
    // A field left for another program is checked now, before its value is read, as for "Speichern".
    FormWindow::runPendingLeaves();
    QString error;
    if (!writeIniFileAtomically(path, documentOfPages(), &error)) {
        showMessage(saveFailedText(error));
        return false;
    }
    setCurrentFile(path);
    rememberRecent(path);
    return true;
}

void ConfigurationFiles::chooseAndOpen()
{
    if (busy())
        return;
    m_inDialog = true;
    const QString start
        = m_currentFile.isEmpty() ? QDir::homePath() : QFileInfo(m_currentFile).absolutePath();
    const QString path = QFileDialog::getOpenFileName(m_start, openText().remove(u'…'), start, fileFilter());
    if (!path.isEmpty())
        openConfiguration(path);
    m_inDialog = false;
}

void ConfigurationFiles::chooseAndSaveAs()
{
    if (busy())
        return;
    m_inDialog = true;
    QFileDialog dialog(m_start, saveAsText().remove(u'…'),
        m_currentFile.isEmpty() ? QDir::homePath() : m_currentFile, fileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveConfigurationAs(dialog.selectedFiles().constFirst());
    m_inDialog = false;
}

void ConfigurationFiles::showMessage(const QString &text)
{
    if (messageHook()) {
        messageHook()(text);
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("GSM"), text, QMessageBox::Ok, m_start);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void ConfigurationFiles::setCurrentFile(const QString &path)
{
    m_currentFile = canonical(path);
    // "[*]" is where Qt draws the mark while the window is modified.
    m_start->setWindowTitle(QStringLiteral("GSM - %1[*]").arg(QFileInfo(m_currentFile).fileName()));
    updateModifiedMark();
}

void ConfigurationFiles::updateModifiedMark()
{
    m_markTimer.stop();
    if (m_currentFile.isEmpty())
        return;
    const SettingsFileRead read = readConfigurationFile(m_currentFile);
    // A file that is gone or no longer a configuration differs from anything a save writes.
    m_start->setWindowModified(!read.document || !sameSettings(*read.document, documentOfPages()));
}

void ConfigurationFiles::scheduleMarkUpdate()
{
    if (!m_currentFile.isEmpty())
        m_markTimer.start();
}

void ConfigurationFiles::watchPages()
{
    if (m_watching)
        return;
    m_watching = true;
    WindowRegistry &registry = WindowRegistry::instance();
    for (const QString &name : configurationPageNames()) {
        FormWindow *page = registry.window(name);
        if (!page)
            continue;
        for (const ControlRef &ref : page->controls()) {
            QWidget *w = ref.widget;
            if (!w || ref.kind == ControlKind::Other)
                continue;
            if (auto *line = qobject_cast<QLineEdit *>(w))
                connect(line, &QLineEdit::textChanged, this, &ConfigurationFiles::scheduleMarkUpdate);
            else if (auto *plain = qobject_cast<QPlainTextEdit *>(w))
                connect(plain, &QPlainTextEdit::textChanged, this, &ConfigurationFiles::scheduleMarkUpdate);
            else if (auto *check = qobject_cast<QCheckBox *>(w))
                connect(check, &QCheckBox::stateChanged, this, &ConfigurationFiles::scheduleMarkUpdate);
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                connect(button, &QAbstractButton::toggled, this, &ConfigurationFiles::scheduleMarkUpdate);
            else if (auto *combo = qobject_cast<QComboBox *>(w))
                connect(
                    combo, &QComboBox::currentIndexChanged, this, &ConfigurationFiles::scheduleMarkUpdate);
            else if (auto *list = qobject_cast<QListWidget *>(w))
                connect(list, &QListWidget::currentRowChanged, this, &ConfigurationFiles::scheduleMarkUpdate);
        }
    }
}

QStringList ConfigurationFiles::recentFiles() const
{
    return recentStore().value(kRecentKey).toStringList().mid(0, kRecentCount);
}

void ConfigurationFiles::rememberRecent(const QString &path)
{
    const QString file = canonical(path);
    QStringList files = recentFiles();
    files.removeAll(file);
    files.prepend(file);
    QSettings store = recentStore();
    store.setValue(kRecentKey, files.mid(0, kRecentCount));
}

QMenu *ConfigurationFiles::createContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    const bool enabled = !busy();
    QAction *open = menu->addAction(openText(), this, &ConfigurationFiles::chooseAndOpen);
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open->setEnabled(enabled);
    QAction *saveAs = menu->addAction(saveAsText(), this, &ConfigurationFiles::chooseAndSaveAs);
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    saveAs->setEnabled(enabled);
    const QStringList files = recentFiles();
    if (!files.isEmpty())
        menu->addSeparator();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files.at(i);
        // "&1 name": the number picks the entry from the keyboard; the full path is in the tool tip.
        QString name = QFileInfo(file).fileName();
        name.replace(u'&', QStringLiteral("&&"));
        QAction *recent = menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(name), this, [this, file] { openConfiguration(file); });
        recent->setToolTip(QDir::toNativeSeparators(file));
        recent->setStatusTip(QDir::toNativeSeparators(file));
        recent->setEnabled(enabled);
    }
    menu->setToolTipsVisible(true);
    return menu;
}

QString ConfigurationFiles::droppedFile(const QEvent *event)
{
    const QMimeData *data = static_cast<const QDropEvent *>(event)->mimeData();
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
        return {};
    const QString path = data->urls().constFirst().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

bool ConfigurationFiles::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_start)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ContextMenu: {
        QMenu *menu = createContextMenu(m_start);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (!busy() && !droppedFile(event).isEmpty()) {
            static_cast<QDropEvent *>(event)->acceptProposedAction();
            return true;
        }
        break;
    case QEvent::Drop: {
        const QString path = droppedFile(event);
        if (!busy() && !path.isEmpty()) {
            static_cast<QDropEvent *>(event)->acceptProposedAction();
            // Opened once the drop has ended, so the source program is not kept waiting by a message.
            QTimer::singleShot(0, this, [this, path] { openConfiguration(path); });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
