#pragma once

#include "core/configdiff.h"
#include "window/dialogoptions.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

// The pages' configuration compared with a configuration file: the record fields that differ (page, field,
// offset, width, both values) and the stored values that differ without reaching the record. The page names
// follow the language in force.
class CompareWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHelpTopic = 1100;

    // The file is chosen through dialogs.openFileName; a file that cannot be used is said through
    // dialogs.showMessage, as opening it as a configuration would say it.
    explicit CompareWindow(QWidget *owner = nullptr, DialogOptions dialogs = {});

    // Asks for a file and compares; the window shows once a file was compared.
    void chooseAndCompare();
    // Compares the pages as they are now with the file; false (and the message) when it cannot be used.
    bool compareWith(const QString &path);
    // The same file again, after edits on the pages or in the file.
    void compareAgain();
    void retranslate();

    QString file() const { return m_path; }
    const ConfigurationDifference &difference() const { return m_difference; }
    QTableWidget *recordTable() const { return m_record; }
    QTableWidget *storedTable() const { return m_stored; }
    QLabel *summary() const { return m_summary; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showMessage(const QString &text);
    void fill();

    DialogOptions m_dialogs;
    QString m_path;
    ConfigurationDifference m_difference;
    QLabel *m_file = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_recordCaption = nullptr;
    QTableWidget *m_record = nullptr;
    QLabel *m_storedCaption = nullptr;
    QTableWidget *m_stored = nullptr;
    QPushButton *m_again = nullptr;
    QPushButton *m_close = nullptr;
    bool m_placed = false;
};
