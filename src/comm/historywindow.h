#pragma once

#include "window/dialogoptions.h"

#include <QKeySequence>
#include <QPointer>
#include <QWidget>

#include <functional>

class History;
class HistoryCurve;
class HistoryModel;
class HistoryRecorder;
class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// The history of the line in a window of its own: one line per event with its time to the millisecond,
// scrollable, with a filter, copy and "Save as…" CSV; the signal as a curve in dBm below it; and while an
// upload runs, a bar "block N of 10". Looking at it leaves the communication page and its function running.
// Offers the history on a page: its key (historyShortcut()) and an entry in the context menus of the page and
// of its message box, each calling `open`.
void offerHistory(QWidget *page, QPlainTextEdit *messageBox, std::function<void()> open);
QKeySequence historyShortcut();

class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // "Save as…" asks for the file name through dialogs.saveFileName and says a failure through
    // dialogs.showMessage.
    HistoryWindow(
        History *history, HistoryRecorder *recorder, QWidget *owner = nullptr, DialogOptions dialogs = {});

    // Writes the lines the table shows (all of them, or those the filter lets through) as CSV.
    bool saveAs(const QString &path);
    // The lines marked, or all that are shown when none is, as text to paste: the columns as shown,
    // separated by tabs.
    QString copiedText() const;
    void copy();
    void chooseAndSave();
    void retranslate();

    HistoryModel *model() const { return m_model; }
    QSortFilterProxyModel *shownRows() const { return m_shown; }
    QTableView *table() const { return m_table; }
    QLineEdit *filterBox() const { return m_filter; }
    QProgressBar *progressBar() const { return m_progress; }
    HistoryCurve *curve() const { return m_curve; }
    QLabel *notice() const { return m_notice; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeBesideOwner();
    void showProgress(int block);
    void updateNotice();
    void contextMenu(const QPoint &pos);

    QPointer<History> m_history;
    DialogOptions m_dialogs;
    HistoryModel *m_model = nullptr;
    QSortFilterProxyModel *m_shown = nullptr;
    QTableView *m_table = nullptr;
    QLineEdit *m_filter = nullptr;
    QPushButton *m_copyButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QProgressBar *m_progress = nullptr;
    HistoryCurve *m_curve = nullptr;
    QLabel *m_notice = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    QAction *m_saveAction = nullptr;
    bool m_followEnd = true;
    bool m_placed = false;
};
