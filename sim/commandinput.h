#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

// Reads commands from stdin, one per line, and hands each complete line on. End of input only stops
// the reading: the simulator may run detached with stdin at /dev/null.
class CommandInput : public QObject
{
    Q_OBJECT
public:
    explicit CommandInput(int fd, QObject *parent = nullptr);

signals:
    void lineReceived(const QString &line);

private:
    void readInput();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_buffer;
};
