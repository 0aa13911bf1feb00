#pragma once

#include "comm/uploadreport.h"
#include "core/unitsfile.h"
#include "window/dialogoptions.h"

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class Frm8;
class QLabel;
class QPushButton;
class QTableWidget;

// Programming a series of modules from one configuration: a units file gives each unit its own values over
// the pages' configuration. The window lists the units with their state and sends the selected one through
// the communication page's port and upload ("Senden"); after a success the next unit is selected, so the
// technician plugs in the next module and presses the button again. A refused file lists its problems and
// sends nothing. The pages' own configuration is never changed by it.
class SeriesWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHelpTopic = 1100;

    enum class State { Waiting, Sending, Programmed, Failed };
    struct UnitState
    {
        State state = State::Waiting;
        QDateTime time; // when it was programmed, or when it failed
        QString reason; // why it failed, in the communication page's words
        QString port; // the port it was sent through
    };

    // The units file is chosen through dialogs.openFileName. page: the communication page whose port and
    // upload are used (default: the program's, from the window registry).
    explicit SeriesWindow(QWidget *owner = nullptr, DialogOptions dialogs = {}, std::function<Frm8 *()> page = {});

    // Reads the units file and lists its units, or its problems when it is refused. False while a unit is
    // being sent (nothing changes then).
    bool openUnitsFile(const QString &path);
    void chooseAndOpen();
    // Sends the selected unit: its record, built from its own row over the pages' configuration as it is at
    // this moment. Nothing happens while the communication page sends or the file is refused.
    void sendSelected();
    void retranslate();

    const UnitsFile &unitsFile() const { return m_units; }
    const QList<UnitState> &states() const { return m_states; }
    int selectedRow() const;
    void selectRow(int row);
    bool sending() const { return m_sendingRow >= 0; }

    QTableWidget *unitsTable() const { return m_table; }
    QTableWidget *problemsTable() const { return m_problems; }
    QPushButton *sendButton() const { return m_send; }
    QPushButton *openButton() const { return m_open; }
    QLabel *statusLine() const { return m_status; }
    QLabel *portLine() const { return m_port; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Frm8 *page();
    void connectPage();
    void uploadReported(const UploadReport &report);
    void fillUnits();
    void fillUnitRow(int row);
    void fillProblems();
    void updatePortLine();
    void updateButtons();
    void setStatus(const QString &text);

    DialogOptions m_dialogs;
    std::function<Frm8 *()> m_pageSource;
    QPointer<Frm8> m_page;
    UnitsFile m_units;
    QList<UnitState> m_states;
    int m_sendingRow = -1;
    // What the status line says, rebuilt in the new language when it is switched.
    std::function<QString()> m_statusText;

    QPushButton *m_open = nullptr;
    QLabel *m_file = nullptr;
    QLabel *m_port = nullptr;
    QTableWidget *m_table = nullptr;
    QTableWidget *m_problems = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_send = nullptr;
    bool m_placed = false;
};

// Beside the start window and the windows it shows, on the side with room (the series and comparison windows).
void placeBesideOwner(QWidget *window);
