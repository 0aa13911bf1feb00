#include "shell/serieswindow.h"

#include "comm/frm8.h"
#include "comm/frm8texts.h"
#include "core/configfields.h"
#include "core/configurationmodel.h"
#include "core/inifile.h"
#include "core/parameterrecord.h"
#include "l10n/unitstexts.h"
#include "shell/seriestexts.h"
#include "window/formwindow.h"
#include "window/help.h"
#include "window/windowregistry.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { UnitColumn, PortColumn, StateColumn, TimeColumn, ColumnCount };

// The communication page's message in one line: without its error header and its line breaks.
QString oneLine(QString text)
{
    const QString header = Frm8Text::errorHeader();
    if (!header.isEmpty() && text.startsWith(header))
        text.remove(0, header.size());
    return text.simplified();
}

QTableWidgetItem *item(const QString &text)
{
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return cell;
}

QTableWidget *makeTable(QWidget *parent, const QString &name, int columns)
{
    auto *table = new QTableWidget(0, columns, parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    return table;
}

} // namespace

void placeBesideOwner(QWidget *window)
{
    // On the side of the start window (and the page it shows) with room, else at the edge with more.
    const QWidget *owner = window->parentWidget();
    const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!owner || !screen)
        return;
    QRect taken = owner->frameGeometry();
    for (const QWidget *child : owner->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child != window && child->isWindow() && child->isVisible()
            && FormWindow::isProgramWindow(child))
            taken |= child->frameGeometry();
    }
    const QRect room = screen->availableGeometry();
    const QSize size = window->size().boundedTo(room.size() - QSize(20, 40));
    constexpr int kFrame = 10;
    const int roomRight = room.right() - taken.right() - kFrame;
    const int roomLeft = taken.left() - room.left() - kFrame;
    int left = taken.right() + kFrame;
    if (roomRight < size.width()) {
        if (roomLeft >= size.width())
            left = taken.left() - size.width() - kFrame;
        else
            left = roomLeft > roomRight ? room.left() : qMax(room.left(), room.right() - size.width() - kFrame);
    }
    const int top = qBound(room.top(), taken.top(), qMax(room.top(), room.bottom() - size.height() - 30));
    window->resize(size);
    window->move(left, top);
}

SeriesWindow::SeriesWindow(QWidget *owner, DialogOptions dialogs, std::function<Frm8 *()> page)
    : QWidget(owner, Qt::Window)
    , m_dialogs(std::move(dialogs))
    , m_pageSource(std::move(page))
{
    setObjectName(QStringLiteral("seriesWindow"));
    resize(620, 440);
    if (!m_pageSource)
        m_pageSource = [] { return WindowRegistry::instance().get<Frm8>(QStringLiteral("frm8")); };

    m_open = new QPushButton(this);
    m_open->setObjectName(QStringLiteral("openUnits"));
    connect(m_open, &QPushButton::clicked, this, &SeriesWindow::chooseAndOpen);
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("unitsFile"));
    m_file->setWordWrap(true);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_port = new QLabel(this);
    m_port->setObjectName(QStringLiteral("port"));

    m_table = makeTable(this, QStringLiteral("units"), ColumnCount);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_table->horizontalHeader()->resizeSection(UnitColumn, 16 * digit);
    m_table->horizontalHeader()->resizeSection(PortColumn, 14 * digit);
    m_table->horizontalHeader()->resizeSection(StateColumn, 14 * digit);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &SeriesWindow::updateButtons);
    // One problem a row, its whole text wrapped: it names its line, column and rule itself.
    m_problems = makeTable(this, QStringLiteral("problems"), 1);
    m_problems->setWordWrap(true);
    m_problems->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_problems->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_problems->hide();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_send = new QPushButton(this);
    m_send->setObjectName(QStringLiteral("send"));
    connect(m_send, &QPushButton::clicked, this, &SeriesWindow::sendSelected);

    auto *top = new QHBoxLayout;
    top->addWidget(m_open);
    top->addWidget(m_file, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_send);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_port);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_problems, 1);
    layout->addLayout(bottom);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelpTopic(kHelpTopic); });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    // Enter sends, as a click on the button does: plug in the module, press Enter.
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        auto *send = new QShortcut(QKeySequence(key), this);
        connect(send, &QShortcut::activated, this, [this] {
            if (focusWidget() == m_open)
                m_open->click();
            else if (m_send->isEnabled())
                sendSelected();
        });
    }

    // The texts follow the language as soon as it is switched.
    ConfigurationModel &configuration = ConfigurationModel::program();
    connect(&configuration, &ConfigurationModel::valueChanged, this, [this](int field) {
        if (field == configurationFieldIndex(u"frm1", u"language"))
            retranslate();
    });
    connect(&configuration, &ConfigurationModel::replaced, this, &SeriesWindow::retranslate);
    m_statusText = [] { return SeriesText::noFileOpen(); };
    retranslate();
}

Frm8 *SeriesWindow::page()
{
    if (!m_page) {
        m_page = m_pageSource();
        connectPage();
    }
    return m_page;
}

void SeriesWindow::connectPage()
{
    if (!m_page)
        return;
    connect(m_page, &Frm8::uploadReported, this, &SeriesWindow::uploadReported);
    connect(m_page, &Frm8::uploadRunningChanged, this, [this] {
        updateButtons();
        updatePortLine();
    });
    if (auto *ports = m_page->controlAs<QComboBox>(QStringLiteral("cmbCOM")))
        connect(ports, &QComboBox::currentIndexChanged, this, &SeriesWindow::updatePortLine);
}

void SeriesWindow::retranslate()
{
    setWindowTitle(SeriesText::windowTitle());
    m_open->setText(SeriesText::openUnitsFile());
    m_send->setText(SeriesText::send());
    m_table->setHorizontalHeaderLabels(SeriesText::unitHeaders());
    m_problems->setHorizontalHeaderLabels({ SeriesText::problemHeader() });
    if (m_units.path.isEmpty())
        m_file->clear();
    else if (!m_units.usable())
        m_file->setText(QDir::toNativeSeparators(m_units.path));
    else
        m_file->setText(SeriesText::fileLine(m_units.path, int(m_units.rows.size())));
    if (m_units.usable()) {
        for (int row = 0; row < m_table->rowCount(); ++row)
            fillUnitRow(row);
    } else {
        fillProblems();
    }
    updatePortLine();
    if (m_statusText)
        m_status->setText(m_statusText());
}

void SeriesWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    else if (event->type() == QEvent::ActivationChange && isActiveWindow())
        updatePortLine();
    QWidget::changeEvent(event);
}

void SeriesWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        ::placeBesideOwner(this);
    }
    updatePortLine();
    updateButtons();
    QWidget::showEvent(event);
}

void SeriesWindow::chooseAndOpen()
{
    if (sending())
        return;
    QString start = m_units.path.isEmpty() ? QString() : QFileInfo(m_units.path).absolutePath();
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(start).isDir())
        start = QDir::homePath();
    const QString caption = SeriesText::openUnitsFile().remove(QChar(0x2026));
    const QString path = m_dialogs.openFileName
        ? m_dialogs.openFileName(this, caption, start, SeriesText::unitsFileFilter())
        : QFileDialog::getOpenFileName(this, caption, start, SeriesText::unitsFileFilter());
    if (!path.isEmpty())
        openUnitsFile(path);
}

bool SeriesWindow::openUnitsFile(const QString &path)
{
    if (sending())
        return false;
    m_units = readUnitsFile(path);
    m_units.path = QFileInfo(path).absoluteFilePath();
    m_states = QList<UnitState>(m_units.usable() ? m_units.rows.size() : 0);
    const bool usable = m_units.usable();
    m_table->setVisible(usable);
    m_problems->setVisible(!usable);
    if (usable) {
        fillUnits();
        if (!m_units.rows.isEmpty())
            selectRow(0);
        // The list has the keys from now on: Enter sends the selected unit.
        m_table->setFocus(Qt::OtherFocusReason);
        m_statusText = [] { return SeriesText::ready(); };
    } else {
        m_table->setRowCount(0);
        const int count = int(m_units.problems.size());
        m_statusText = [count] { return SeriesText::refused(count); };
    }
    retranslate();
    updateButtons();
    return true;
}

void SeriesWindow::fillUnits()
{
    m_table->setRowCount(int(m_units.rows.size()));
    for (int row = 0; row < m_table->rowCount(); ++row)
        fillUnitRow(row);
}

void SeriesWindow::fillUnitRow(int row)
{
    if (row < 0 || row >= m_units.rows.size() || row >= m_states.size())
        return;
    const UnitRow &unit = m_units.rows.at(row);
    const UnitState &state = m_states.at(row);
    QString word;
    QString detail;
    switch (state.state) {
    case State::Waiting:
        word = SeriesText::waiting();
        break;
    case State::Sending:
        word = SeriesText::sending();
        break;
    case State::Programmed:
        word = SeriesText::programmed();
        detail = QLocale::system().toString(state.time, QStringLiteral("HH:mm:ss"));
        break;
    case State::Failed:
        word = SeriesText::failed();
        detail = state.reason;
        break;
    }
    m_table->setItem(row, UnitColumn, item(unit.unit));
    m_table->setItem(row, PortColumn, item(state.port.isEmpty() ? unit.port : state.port));
    m_table->setItem(row, StateColumn, item(word));
    QTableWidgetItem *last = item(detail);
    if (state.state == State::Failed)
        last->setToolTip(detail);
    else if (state.state == State::Programmed)
        last->setToolTip(QLocale::system().toString(state.time, QLocale::LongFormat));
    m_table->setItem(row, TimeColumn, last);
    const QColor colour = state.state == State::Programmed ? QColor(0x00, 0x66, 0x33)
        : state.state == State::Failed                   ? QColor(0x99, 0x00, 0x00)
                                                         : m_table->palette().color(QPalette::Text);
    for (int column = 0; column < ColumnCount; ++column)
        m_table->item(row, column)->setForeground(colour);
}

void SeriesWindow::fillProblems()
{
    m_problems->setRowCount(int(m_units.problems.size()));
    for (int row = 0; row < m_problems->rowCount(); ++row) {
        const QString reason = unitsProblemText(m_units.problems.at(row));
        QTableWidgetItem *cell = item(reason);
        cell->setToolTip(reason);
        m_problems->setItem(row, 0, cell);
    }
}

int SeriesWindow::selectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = m_table->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.constFirst().topRow();
}

void SeriesWindow::selectRow(int row)
{
    if (row < 0 || row >= m_table->rowCount())
        return;
    m_table->selectRow(row);
    m_table->setCurrentCell(row, UnitColumn);
    m_table->scrollToItem(m_table->item(row, UnitColumn));
}

void SeriesWindow::updatePortLine()
{
    Frm8 *communication = page();
    m_port->setText(SeriesText::portLine(communication ? communication->uploadPortLabel() : QString()));
}

void SeriesWindow::updateButtons()
{
    const Frm8 *communication = m_page;
    const bool pageBusy = communication && (communication->uploadRunning() || communication->smsRunning());
    m_send->setEnabled(m_units.usable() && !m_units.path.isEmpty() && selectedRow() >= 0 && !sending()
        && !pageBusy);
    m_open->setEnabled(!sending());
}

void SeriesWindow::setStatus(const QString &text)
{
    m_statusText = [text] { return text; };
    m_status->setText(text);
}

void SeriesWindow::sendSelected()
{
    const int row = selectedRow();
    if (sending() || !m_units.usable() || row < 0 || row >= m_units.rows.size())
        return;
    Frm8 *communication = page();
    if (!communication)
        return;
    if (communication->uploadRunning() || communication->smsRunning()) {
        m_statusText = [] { return SeriesText::busy(); };
        m_status->setText(m_statusText());
        return;
    }
    // The unit's own row, copied now: whatever happens to the list later, this upload sends these values.
    // The base is the pages' configuration when the record is built, after the last typed value counts.
    const UnitRow unit = m_units.rows.at(row);
    const auto record = [unit] {
        return BuildParameterRecord(
            unitConfiguration(ConfigurationModel::program().configuration().toDocument(), unit));
    };
    m_sendingRow = row;
    m_states[row] = { State::Sending, {}, {}, communication->uploadPortLabel() };
    fillUnitRow(row);
    const QString name = unit.unit;
    const QString port = m_states[row].port;
    m_statusText = [name, port] { return SeriesText::sendingUnit(name, port); };
    m_status->setText(m_statusText());
    updateButtons();
    if (!communication->startUnitUpload(unit.unit, record)) {
        m_sendingRow = -1;
        m_states[row] = {};
        fillUnitRow(row);
        m_statusText = [] { return SeriesText::busy(); };
        m_status->setText(m_statusText());
        updateButtons();
    }
}

void SeriesWindow::uploadReported(const UploadReport &report)
{
    const int row = m_sendingRow;
    // Only the upload this window started, of the unit it sent: the page's own uploads have no unit.
    if (row < 0 || row >= m_units.rows.size() || report.unit != m_units.rows.at(row).unit)
        return;
    m_sendingRow = -1;
    UnitState &state = m_states[row];
    state.time = report.ended;
    if (!report.port.isEmpty())
        state.port = report.port;
    const QString name = report.unit;
    const QString note = report.logNote;
    if (!report.recordRefused && report.outcome == UploadLog::Outcome::Success) {
        state.state = State::Programmed;
        state.reason.clear();
        const bool last = row + 1 >= m_units.rows.size();
        m_statusText = [name, last, note] {
            const QString said = last ? SeriesText::allProgrammed() : SeriesText::unitProgrammed(name);
            return note.isEmpty() ? said : said + QLatin1Char('\n') + note;
        };
        fillUnitRow(row);
        if (!last)
            selectRow(row + 1);
    } else {
        state.state = State::Failed;
        const QString words = oneLine(report.text);
        const bool cancelled = report.outcome == UploadLog::Outcome::Cancelled && !report.recordRefused;
        // A reason given in the language of the moment is kept as it was said; a stop by the user has a word.
        state.reason = cancelled && words.isEmpty() ? SeriesText::cancelled() : words;
        const QString reason = state.reason;
        m_statusText = [name, reason, note] {
            const QString said = SeriesText::unitFailed(name, reason);
            return note.isEmpty() ? said : said + QLatin1Char('\n') + note;
        };
        fillUnitRow(row);
    }
    m_status->setText(m_statusText());
    updateButtons();
}
