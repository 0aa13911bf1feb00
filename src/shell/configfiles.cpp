#include "shell/configfiles.h"

#include "core/configurationmodel.h"

#include "window/formwindow.h"

#include "core/filekind.h"
#include "core/inifile.h"
#include "l10n/runtimelanguage.h"
#include "shell/configuration.h"
#include "shell/frmstart.h"
#include "shell/recentstore.h"
#include "shell/recoverycopy.h"
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
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace {

QString openText()
{
    return textForLanguage({ QStringLiteral("Konfiguration öffnen…"), QStringLiteral("Open configuration…"),
        QStringLiteral("Ouvrir une configuration…") });
}

QString saveAsText()
{
    return textForLanguage({ QStringLiteral("Konfiguration speichern unter…"),
        QStringLiteral("Save configuration as…"), QStringLiteral("Enregistrer la configuration sous…") });
}

QString fileFilter()
{
    return textForLanguage({ QStringLiteral("Einstellungsdateien (*.ini);;Alle Dateien (*)"),
        QStringLiteral("Settings files (*.ini);;All files (*)"),
        QStringLiteral("Fichiers de réglages (*.ini);;Tous les fichiers (*)") });
}

QString canonical(const QString &path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

} // namespace

ConfigurationFiles::ConfigurationFiles(FrmStart *start, DialogOptions dialogs)
    : QObject(start)
    , m_start(start)
    , m_dialogs(std::move(dialogs))
    , m_recovery(new RecoveryCopy(documentOfPages, this))
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

    // The desktop session ends: what was typed last is in the copy before the program is ended.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &ConfigurationFiles::keepRecoveryCopy);

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
    // Said and asked once the window is up, in the language the pages now hold.
    QTimer::singleShot(0, this, [this, problem] { offerAtStart(problem); });
}

void ConfigurationFiles::ask(
    const QString &text, const QString &yes, const QString &no, std::function<void(bool)> answer)
{
    if (m_dialogs.askQuestion) {
        answer(m_dialogs.askQuestion(m_start, text));
        return;
    }
    auto *box
        = new QMessageBox(QMessageBox::Question, QStringLiteral("GSM"), text, QMessageBox::NoButton, m_start);
    QPushButton *act = box->addButton(yes, QMessageBox::AcceptRole);
    box->addButton(no, QMessageBox::RejectRole);
    box->setDefaultButton(act);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this,
        [box, act, answer = std::move(answer)] { answer(box->clickedButton() == act); });
    box->open();
}

bool ConfigurationFiles::saveIntoCurrentFile(const IniDocument &document, QString *errorText)
{
    if (m_currentFile.isEmpty())
        return true;
    if (const QString refused = refusedTargetReason(m_currentFile); !refused.isEmpty()) {
        *errorText = refused;
        return false;
    }
    const bool saved
        = writeIniFileAtomically(m_currentFile, document, errorText, inPlaceWriteOf(m_currentFile));
    updateModifiedMark();
    return saved;
}

void ConfigurationFiles::discardRecoveryCopy()
{
    m_recovery->discard();
}

void ConfigurationFiles::keepRecoveryCopy()
{
    m_recovery->flush();
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
    if (!m_currentFile.isEmpty() && canonical(path) == m_currentFile) {
        // Opened again while the pages hold edits not saved into it: they would go without a word.
        updateModifiedMark();
        if (m_start->isWindowModified()) {
            // The answer may come after this call has returned.
            const auto opened = std::make_shared<bool>(false);
            const QString name = QDir::toNativeSeparators(m_currentFile);
            ask(textForLanguage(
                    { QStringLiteral("Die Seiten weichen von „%1“ ab: Ihre Änderungen sind dort nicht "
                                     "gespeichert.\n\nDie Datei erneut öffnen und die Änderungen verwerfen?"),
                        QStringLiteral(
                            "The pages differ from \"%1\": your changes are not saved in it.\n\nOpen "
                            "the file again and discard the changes?"),
                        QStringLiteral(
                            "Les pages diffèrent de « %1 » : vos modifications n'y sont pas "
                            "enregistrées.\n\nRouvrir le fichier et abandonner les modifications ?") })
                    .arg(name),
                textForLanguage({ QStringLiteral("Erneut öffnen"), QStringLiteral("Open again"),
                    QStringLiteral("Rouvrir") }),
                textForLanguage({ QStringLiteral("Änderungen behalten"), QStringLiteral("Keep the changes"),
                    QStringLiteral("Garder les modifications") }),
                [this, path, document = *read.document, opened](bool reopen) {
                    if (reopen)
                        openNow(path, document);
                    *opened = reopen;
                });
            return *opened;
        }
    }
    openNow(path, *read.document);
    return true;
}

void ConfigurationFiles::openNow(const QString &path, const IniDocument &document)
{
    applyConfiguration(document);
    watchPages();
    setCurrentFile(path);
    rememberRecent(path);
}

bool ConfigurationFiles::saveConfigurationAs(const QString &path)
{
    if (busy() && !m_inDialog)
        return false;
    // A field left for another program is checked now, before its value is read, as for "Speichern".
    FormWindow::runPendingLeaves();
    QString error = refusedTargetReason(path);
    if (!error.isEmpty() || !writeIniFileAtomically(path, documentOfPages(), &error, inPlaceWriteOf(path))) {
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
    const QString caption = openText().remove(u'…');
    const QString path = m_dialogs.openFileName
        ? m_dialogs.openFileName(m_start, caption, start, fileFilter())
        : QFileDialog::getOpenFileName(m_start, caption, start, fileFilter());
    if (!path.isEmpty())
        openConfiguration(path);
    m_inDialog = false;
}

void ConfigurationFiles::chooseAndSaveAs()
{
    if (busy())
        return;
    m_inDialog = true;
    const QString caption = saveAsText().remove(u'…');
    const QString start = m_currentFile.isEmpty() ? QDir::homePath() : m_currentFile;
    QString path;
    if (m_dialogs.saveFileName) {
        path = m_dialogs.saveFileName(m_start, caption, start, fileFilter());
    } else {
        QFileDialog dialog(m_start, caption, start, fileFilter());
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("ini"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().constFirst();
    }
    if (!path.isEmpty())
        saveConfigurationAs(path);
    m_inDialog = false;
}

void ConfigurationFiles::showMessage(const QString &text)
{
    if (m_dialogs.showMessage) {
        m_dialogs.showMessage(m_start, QStringLiteral("GSM"), text);
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

void ConfigurationFiles::pagesEdited()
{
    scheduleMarkUpdate();
    m_recovery->schedule();
}

void ConfigurationFiles::watchPages()
{
    if (m_watching)
        return;
    m_watching = true;
    // Every edit of a page reaches the configuration, whichever page and control it was.
    ConfigurationModel &configuration = ConfigurationModel::program();
    connect(&configuration, &ConfigurationModel::valueChanged, this, &ConfigurationFiles::pagesEdited);
    connect(&configuration, &ConfigurationModel::replaced, this, &ConfigurationFiles::pagesEdited);
}

QStringList ConfigurationFiles::recentFiles() const
{
    return RecentStore::files();
}

void ConfigurationFiles::rememberRecent(const QString &path)
{
    QString reason;
    if (RecentStore::remember(canonical(path), &reason) || m_recentProblemSaid)
        return;
    // Once a run: the configuration itself was opened or saved all the same.
    m_recentProblemSaid = true;
    showMessage(reason);
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
    if (m_moreEntries) {
        menu->addSeparator();
        m_moreEntries(menu, enabled);
    }
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
