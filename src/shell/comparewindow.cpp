#include "shell/comparewindow.h"

#include "core/configfields.h"
#include "core/configuration.h"
#include "core/configurationmodel.h"
#include "shell/configuration.h"
#include "shell/serieswindow.h"
#include "shell/seriestexts.h"
#include "window/formwindow.h"
#include "window/help.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum RecordColumn { RecordPage, RecordField, RecordOffset, RecordWidth, RecordPages, RecordFile, RecordColumns };
enum StoredColumn { StoredPage, StoredKey, StoredPages, StoredFile, StoredColumns };

QTableWidgetItem *item(const QString &text, bool fixedPitch = false)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (fixedPitch) {
        cell->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        cell->setToolTip(text);
    }
    return cell;
}

// A record value between quotes, so its blanks are seen.
QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QTableWidget *makeTable(QWidget *parent, const QString &name, int columns)
{
    auto *table = new QTableWidget(0, columns, parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    return table;
}

} // namespace

CompareWindow::CompareWindow(QWidget *owner, DialogOptions dialogs)
    : QWidget(owner, Qt::Window)
    , m_dialogs(std::move(dialogs))
{
    setObjectName(QStringLiteral("compareWindow"));
    resize(900, 520);
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("file"));
    m_file->setWordWrap(true);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    QFont bold = m_summary->font();
    bold.setBold(true);
    m_summary->setFont(bold);
    m_summary->setWordWrap(true);
    m_recordCaption = new QLabel(this);
    m_record = makeTable(this, QStringLiteral("recordDifferences"), RecordColumns);
    m_storedCaption = new QLabel(this);
    m_stored = makeTable(this, QStringLiteral("storedDifferences"), StoredColumns);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_record->horizontalHeader()->resizeSection(RecordPage, 22 * digit);
    m_record->horizontalHeader()->resizeSection(RecordField, 16 * digit);
    m_record->horizontalHeader()->resizeSection(RecordOffset, 9 * digit);
    m_record->horizontalHeader()->resizeSection(RecordWidth, 8 * digit);
    m_record->horizontalHeader()->resizeSection(RecordPages, 24 * digit);
    m_stored->horizontalHeader()->resizeSection(StoredPage, 22 * digit);
    m_stored->horizontalHeader()->resizeSection(StoredKey, 16 * digit);
    m_stored->horizontalHeader()->resizeSection(StoredPages, 24 * digit);

    m_again = new QPushButton(this);
    m_again->setObjectName(QStringLiteral("compareAgain"));
    connect(m_again, &QPushButton::clicked, this, &CompareWindow::compareAgain);
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("close"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_again);
    buttons->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_summary);
    layout->addWidget(m_recordCaption);
    layout->addWidget(m_record, 3);
    layout->addWidget(m_storedCaption);
    layout->addWidget(m_stored, 2);
    layout->addLayout(buttons);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelpTopic(kHelpTopic); });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto *again = new QShortcut(QKeySequence::Refresh, this);
    connect(again, &QShortcut::activated, this, &CompareWindow::compareAgain);

    ConfigurationModel &configuration = ConfigurationModel::program();
    connect(&configuration, &ConfigurationModel::valueChanged, this, [this](int field) {
        if (field == configurationFieldIndex(u"frm1", u"language"))
            retranslate();
    });
    connect(&configuration, &ConfigurationModel::replaced, this, &CompareWindow::retranslate);
    retranslate();
}

void CompareWindow::chooseAndCompare()
{
    QString start = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(start).isDir())
        start = QDir::homePath();
    const QString caption = CompareText::chooseFile();
    const QString filter = CompareText::settingsFileFilter();
    const QString path = m_dialogs.openFileName ? m_dialogs.openFileName(this, caption, start, filter)
                                                : QFileDialog::getOpenFileName(this, caption, start, filter);
    if (path.isEmpty() || !compareWith(path))
        return;
    show();
    raise();
    activateWindow();
}

bool CompareWindow::compareWith(const QString &path)
{
    const SettingsFileRead read = readConfigurationFile(path);
    if (!read.document) {
        showMessage(configurationRefusedText(read.problem, path));
        return false;
    }
    // What the user typed last on a page counts.
    FormWindow::runPendingLeaves();
    m_path = QFileInfo(path).absoluteFilePath();
    m_difference = compareConfigurations(
        ConfigurationModel::program().configuration(), Configuration::fromDocument(*read.document));
    retranslate();
    return true;
}

void CompareWindow::compareAgain()
{
    if (!m_path.isEmpty())
        compareWith(m_path);
}

void CompareWindow::showMessage(const QString &text)
{
    QWidget *parent = isVisible() ? this : parentWidget();
    if (m_dialogs.showMessage) {
        m_dialogs.showMessage(parent, QStringLiteral("GSM"), text);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("GSM"), text);
}

void CompareWindow::retranslate()
{
    setWindowTitle(CompareText::windowTitle(m_path.isEmpty() ? QString() : QFileInfo(m_path).fileName()));
    m_file->setText(m_path.isEmpty() ? QString() : CompareText::fileLine(m_path));
    m_recordCaption->setText(CompareText::recordCaption());
    m_storedCaption->setText(CompareText::storedCaption());
    m_record->setHorizontalHeaderLabels(CompareText::recordHeaders());
    m_stored->setHorizontalHeaderLabels(CompareText::storedHeaders());
    m_again->setText(CompareText::compareAgain());
    m_again->setEnabled(!m_path.isEmpty());
    m_close->setText(CompareText::close());
    fill();
}

void CompareWindow::fill()
{
    m_summary->setText(m_path.isEmpty()
            ? QString()
            : CompareText::summary(int(m_difference.record.size()), int(m_difference.stored.size())));
    m_record->setRowCount(int(m_difference.record.size()));
    for (int row = 0; row < m_record->rowCount(); ++row) {
        const RecordDifference &d = m_difference.record.at(row);
        m_record->setItem(row, RecordPage, item(SeriesText::pageName(d.section)));
        QTableWidgetItem *field = item(d.field);
        field->setToolTip(d.field);
        m_record->setItem(row, RecordField, field);
        QTableWidgetItem *offset = item(QString::number(d.offset));
        offset->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_record->setItem(row, RecordOffset, offset);
        QTableWidgetItem *width = item(QString::number(d.width));
        width->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_record->setItem(row, RecordWidth, width);
        m_record->setItem(row, RecordPages, item(quoted(d.a), true));
        m_record->setItem(row, RecordFile, item(quoted(d.b), true));
    }
    const auto fields = configurationFields();
    m_stored->setRowCount(int(m_difference.stored.size()));
    for (int row = 0; row < m_stored->rowCount(); ++row) {
        const StoredDifference &d = m_difference.stored.at(row);
        const bool known = d.field >= 0 && d.field < int(fields.size());
        const QString section = known ? QString::fromUtf16(fields[d.field].section) : QString();
        m_stored->setItem(row, StoredPage, item(SeriesText::pageName(section)));
        QTableWidgetItem *key = item(known ? fields[d.field].key() : QString());
        key->setToolTip(key->text());
        m_stored->setItem(row, StoredKey, key);
        m_stored->setItem(row, StoredPages, item(d.a, true));
        m_stored->setItem(row, StoredFile, item(d.b, true));
    }
    // Page names take the room they need; a long field name is cut at a width that leaves room for the values
    // (its tool tip has it whole).
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (QTableWidget *table : { m_record, m_stored }) {
        for (int column : { 0, 1 }) {
            const int before = table->columnWidth(column);
            table->resizeColumnToContents(column);
            const int most = column == 0 ? 30 * digit : 22 * digit;
            table->setColumnWidth(column, qBound(before, table->columnWidth(column), qMax(before, most)));
        }
    }
    m_recordCaption->setVisible(!m_difference.record.isEmpty());
    m_record->setVisible(!m_difference.record.isEmpty());
    m_storedCaption->setVisible(!m_difference.stored.isEmpty());
    m_stored->setVisible(!m_difference.stored.isEmpty());
}

void CompareWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void CompareWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        ::placeBesideOwner(this);
    }
    QWidget::showEvent(event);
}
