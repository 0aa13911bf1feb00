#include "comm/historywindow.h"

#include "core/configurationmodel.h"

#include "comm/frm8.h"
#include "comm/history.h"
#include "comm/historycurve.h"
#include "comm/historymodel.h"
#include "comm/historyrecorder.h"
#include "comm/historytexts.h"
#include "comm/uploadsession.h"
#include "core/csv.h"
#include "core/filekind.h"
#include "l10n/runtimelanguage.h"
#include "window/help.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The module's own words in the usual colour; what the program did in a colour per kind.
class KindColours : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        QColor colour;
        switch (HistoryEvent::Kind(index.data(HistoryModel::KindRole).toInt())) {
        case HistoryEvent::Kind::Status:
            return;
        case HistoryEvent::Kind::Level:
            colour = QColor(0x55, 0x55, 0x55);
            break;
        case HistoryEvent::Kind::Upload:
            colour = QColor(0x00, 0x33, 0x99);
            break;
        case HistoryEvent::Kind::Sms:
            colour = QColor(0x00, 0x66, 0x33);
            break;
        case HistoryEvent::Kind::Port:
            colour = QColor(0x99, 0x00, 0x00);
            break;
        }
        option->palette.setColor(QPalette::Text, colour);
    }
};

QString suggestedFileName()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::currentPath();
    return QDir(folder).filePath(
        QStringLiteral("GSM-%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}

} // namespace

QKeySequence historyShortcut()
{
    return QKeySequence(Qt::CTRL | Qt::Key_H);
}

void offerHistory(QWidget *page, QPlainTextEdit *messageBox, std::function<void()> open)
{
    auto *key = new QShortcut(historyShortcut(), page);
    QObject::connect(key, &QShortcut::activated, page, open);
    const auto popUp = [open](QMenu *menu, const QPoint &where) {
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction *entry = menu->addAction(HistoryText::menuEntry(), menu, open);
        entry->setShortcut(historyShortcut());
        menu->popup(where);
    };
    // Controls without a menu of their own pass the request on to the page.
    page->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(page, &QWidget::customContextMenuRequested, page,
        [page, popUp](const QPoint &pos) { popUp(new QMenu(page), page->mapToGlobal(pos)); });
    messageBox->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(messageBox, &QWidget::customContextMenuRequested, messageBox, [messageBox, popUp](const QPoint &pos) {
        QMenu *menu = messageBox->createStandardContextMenu(pos);
        menu->addSeparator();
        popUp(menu, messageBox->viewport()->mapToGlobal(pos));
    });
}

HistoryWindow::HistoryWindow(
    History *history, HistoryRecorder *recorder, QWidget *owner, DialogOptions dialogs)
    : QWidget(owner, Qt::Window)
    , m_history(history)
    , m_dialogs(std::move(dialogs))
{
    setObjectName(QStringLiteral("historyWindow"));
    resize(760, 620);

    m_model = new HistoryModel(history, this);
    m_shown = new QSortFilterProxyModel(this);
    m_shown->setSourceModel(m_model);
    m_shown->setFilterKeyColumn(-1); // any column
    m_shown->setFilterCaseSensitivity(Qt::CaseInsensitive);

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_shown->setFilterFixedString(text);
        updateNotice();
    });
    m_copyButton = new QPushButton(this);
    m_copyButton->setObjectName(QStringLiteral("copy"));
    m_saveButton = new QPushButton(this);
    m_saveButton->setObjectName(QStringLiteral("saveAs"));
    connect(m_copyButton, &QPushButton::clicked, this, &HistoryWindow::copy);
    connect(m_saveButton, &QPushButton::clicked, this, &HistoryWindow::chooseAndSave);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("uploadProgress"));
    m_progress->setRange(0, UploadSession::kBlockCount);
    m_progress->setTextVisible(true);
    m_progress->hide();

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("lines"));
    m_table->setModel(m_shown);
    m_table->setItemDelegate(new KindColours(m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setAlternatingRowColors(true);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this, &HistoryWindow::contextMenu);
    // Rows of one height, columns of fixed widths: nothing is measured over the rows when they grow.
    QHeaderView *rows = m_table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    rows->hide();
    QHeaderView *columns = m_table->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionResizeMode(HistoryModel::TextColumn, QHeaderView::Stretch);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    columns->resizeSection(HistoryModel::TimeColumn, fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000")) + 2 * digit);
    columns->resizeSection(HistoryModel::KindColumn, 9 * digit);
    columns->resizeSection(HistoryModel::LevelColumn, 7 * digit);
    columns->resizeSection(HistoryModel::DbmColumn, 9 * digit);

    // The end stays in sight while the user has not scrolled away from it.
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this,
        [this](int value) { m_followEnd = value >= m_table->verticalScrollBar()->maximum(); });
    connect(m_shown, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_followEnd)
            m_table->scrollToBottom();
    });
    connect(m_model, &HistoryModel::flushed, this, &HistoryWindow::updateNotice);

    m_curve = new HistoryCurve(history, this);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_filter, 1);
    top->addWidget(m_copyButton);
    top->addWidget(m_saveButton);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(m_curve);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_progress);
    layout->addWidget(split, 1);
    layout->addWidget(m_notice);

    const auto action = [this](const QKeySequence &keys, auto slot) {
        auto *a = new QAction(this);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    m_copyAction = action(QKeySequence::Copy, &HistoryWindow::copy);
    m_selectAllAction = action(QKeySequence::SelectAll, [this] { m_table->selectAll(); });
    m_saveAction = action(QKeySequence(), &HistoryWindow::chooseAndSave);
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_filter->setFocus(Qt::ShortcutFocusReason);
        m_filter->selectAll();
    });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelpTopic(Frm8::kHelpPage); });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    if (recorder) {
        connect(recorder, &HistoryRecorder::uploadProgress, this, &HistoryWindow::showProgress);
        connect(recorder, &HistoryRecorder::uploadEnded, m_progress, &QWidget::hide);
        if (recorder->uploadRunning())
            showProgress(recorder->uploadBlock());
    }
    // The texts follow the language as soon as it is switched.
    ConfigurationModel &configuration = ConfigurationModel::program();
    connect(&configuration, &ConfigurationModel::valueChanged, this, [this](int field) {
        if (field == configurationFieldIndex(u"frm1", u"language"))
            retranslate();
    });
    connect(&configuration, &ConfigurationModel::replaced, this, &HistoryWindow::retranslate);
    retranslate();
    m_table->scrollToBottom();
}

void HistoryWindow::retranslate()
{
    setWindowTitle(HistoryText::windowTitle());
    m_model->setTexts(HistoryText::headers(), HistoryText::kindNames());
    m_filter->setPlaceholderText(HistoryText::filterPlaceholder());
    m_copyButton->setText(HistoryText::copy());
    m_saveButton->setText(HistoryText::saveAs());
    m_copyAction->setText(HistoryText::copy());
    m_selectAllAction->setText(HistoryText::selectAll());
    m_saveAction->setText(HistoryText::saveAs());
    if (m_progress->isVisible())
        showProgress(m_progress->value());
    m_curve->retranslate();
    updateNotice();
}

void HistoryWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void HistoryWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        placeBesideOwner();
    }
    QWidget::showEvent(event);
}

void HistoryWindow::placeBesideOwner()
{
    // Beside the start window and the page it shows, on the side with room; where neither side has enough,
    // at the edge of the side with more, so the page stays in sight as far as it can.
    const QWidget *owner = parentWidget();
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!owner || !screen)
        return;
    QRect taken = owner->frameGeometry();
    for (const QWidget *child : owner->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child != this && child->isWindow() && child->isVisible())
            taken |= child->frameGeometry();
    }
    const QRect room = screen->availableGeometry();
    QSize size = this->size().boundedTo(room.size() - QSize(20, 40));
    constexpr int kFrame = 10;
    const int roomRight = room.right() - taken.right() - kFrame;
    const int roomLeft = taken.left() - room.left() - kFrame;
    int left = taken.right() + 1;
    if (roomRight < size.width()) {
        if (roomLeft >= size.width())
            left = taken.left() - size.width() - kFrame;
        else
            left = roomLeft > roomRight ? room.left() : qMax(room.left(), room.right() - size.width() - kFrame);
    }
    const int top = qBound(room.top(), taken.top(), qMax(room.top(), room.bottom() - size.height() - 30));
    resize(size);
    move(left, top);
}

void HistoryWindow::showProgress(int block)
{
    if (block <= 0) {
        m_progress->setValue(0);
        m_progress->setFormat(HistoryText::progressSearching());
    } else {
        m_progress->setValue(block);
        m_progress->setFormat(HistoryText::progressBlock());
    }
    m_progress->show();
}

void HistoryWindow::updateNotice()
{
    QString text = HistoryText::lineCount(m_shown->rowCount(), m_model->rowCount());
    if (m_model->droppedCount() > 0)
        text += QStringLiteral("   ") + HistoryText::dropped(m_model->droppedCount(), m_model->bound());
    m_notice->setText(text);
}

void HistoryWindow::contextMenu(const QPoint &pos)
{
    QMenu menu(this);
    menu.addAction(m_copyAction);
    menu.addAction(m_selectAllAction);
    menu.addSeparator();
    menu.addAction(m_saveAction);
    menu.exec(m_table->viewport()->mapToGlobal(pos));
}

QString HistoryWindow::copiedText() const
{
    m_model->flush();
    QList<int> rows;
    const QModelIndexList marked = m_table->selectionModel()->selectedRows();
    for (const QModelIndex &index : marked)
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty()) {
        for (int row = 0; row < m_shown->rowCount(); ++row)
            rows.append(row);
    }
    QString text;
    for (const int row : rows) {
        QStringList fields;
        for (int column = 0; column < HistoryModel::ColumnCount; ++column)
            fields.append(m_shown->index(row, column).data().toString());
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void HistoryWindow::copy()
{
    QGuiApplication::clipboard()->setText(copiedText());
}

bool HistoryWindow::saveAs(const QString &path)
{
    const auto fail = [this, &path](const QString &reason) {
        const QString text = HistoryText::saveFailed(QDir::toNativeSeparators(path), reason);
        if (m_dialogs.showMessage)
            m_dialogs.showMessage(this, windowTitle(), text);
        else
            QMessageBox::warning(this, windowTitle(), text);
        return false;
    };
    // A FIFO or a device would block the program or take the lines somewhere they don't belong.
    if (!isFileOrMissing(path))
        return fail(HistoryText::notAFile());
    m_model->flush();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QString text = csvLine(historyCsvHeader());
    for (int row = 0; row < m_shown->rowCount(); ++row)
        text += csvLine(historyCsvFields(m_model->event(m_shown->mapToSource(m_shown->index(row, 0)).row())));
    file.write(text.toUtf8());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

void HistoryWindow::chooseAndSave()
{
    const QString path = m_dialogs.saveFileName
        ? m_dialogs.saveFileName(this, HistoryText::saveAs(), suggestedFileName(), HistoryText::csvFileFilter())
        : QFileDialog::getSaveFileName(this, HistoryText::saveAs(), suggestedFileName(), HistoryText::csvFileFilter());
    if (!path.isEmpty())
        saveAs(path);
}
