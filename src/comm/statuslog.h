#pragma once

#include "core/filekind.h"

#include <QFile>
#include <QString>

// The status log: every status message the module sends becomes one line (the message, then CR LF) at the
// end of a Windows-1252 text file, by default GSM.DAT in the current directory. It is only ever a regular
// file (or a symbolic link to one): a named pipe, a terminal or a device there is refused, never opened in a
// way that could block. The file only ever holds whole lines: a write that fails takes back what it began.
class StatusLog
{
public:
    static inline const QString kDefaultFileName = QStringLiteral("GSM.DAT");
    // What the start-up keeps of the previous run's log: one generation.
    static inline const QString kPreviousSuffix = QStringLiteral(".old");

    enum class Problem { None, NotAFile, CannotOpen, CannotWrite };
    struct Failure
    {
        Problem problem = Problem::None;
        FileKind kind = FileKind::Missing; // what the path names, for NotAFile
        QString reason; // the system's words, for CannotOpen and CannotWrite
    };

    explicit StatusLog(const QString &fileName = kDefaultFileName);

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName);

    // Opens the file for appending, creating it when missing; an open log is closed first.
    bool open();
    bool isOpen() const { return m_file.isOpen(); }
    // Appends one line and hands it to the system at once, so the file holds every message shown even when
    // the program ends abruptly. False when the log is not open or the write failed.
    bool append(const QString &message);
    // Appends part of a message that goes on in the next call, without a line end. When a part fails, the
    // parts before it are taken back and the rest of that message is not written.
    bool appendPiece(const QString &piece);
    void close();

    // The last failure of open() or of a write.
    const Failure &failure() const { return m_failure; }
    QString errorString() const { return m_failure.reason; }

    // Start-up: the log an earlier run left becomes fileName + ".old", replacing an older one. Anything but a
    // regular file is left where it is. False when a log is still at fileName afterwards.
    static bool setAsidePrevious(const QString &fileName);

private:
    bool write(const QByteArray &bytes, bool endsLine);
    bool openFile();

    // The name is kept apart: a file opened by its descriptor forgets it, and the log is opened again after a
    // port comes back.
    QString m_fileName;
    QFile m_file;
    Failure m_failure;
    qint64 m_lineStart = 0; // the file's size where the line being written began
    bool m_inLine = false; // parts of a line are written, its end is not
    bool m_skipRestOfLine = false; // a part failed: the rest of that line is dropped
};
