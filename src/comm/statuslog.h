#pragma once

#include <QFile>
#include <QString>

// The status log: every status message the module sends becomes one line (the message, then CR LF) at the
// end of a Windows-1252 text file, by default GSM.DAT in the current directory.
class StatusLog
{
public:
    static inline const QString kDefaultFileName = QStringLiteral("GSM.DAT");

    explicit StatusLog(const QString &fileName = kDefaultFileName);

    QString fileName() const { return m_file.fileName(); }
    void setFileName(const QString &fileName);

    // Opens the file for appending, creating it when missing; an open log is closed first.
    bool open();
    bool isOpen() const { return m_file.isOpen(); }
    // Appends one line and hands it to the system at once, so the file holds every message shown even when
    // the program ends abruptly. False when the log is not open or the write failed.
    bool append(const QString &message);
    // Appends part of a message that goes on in the next call, without a line end.
    bool appendPiece(const QString &piece);
    void close();

    QString errorString() const { return m_file.errorString(); }

private:
    bool write(const QByteArray &bytes);

    QFile m_file;
};
