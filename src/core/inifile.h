#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QFile;

// An INI file as the Windows private-profile calls see it, so that files written by earlier versions of the
// program read the same and files we write read the same there.
//
// Reading: CR LF, LF or CR end a line; lines are trimmed of blanks and tabs; ";" at the start makes a
// comment;
// "[name]" opens a section and ends at the first "]"; a key line splits at its first "=". Lines before the
// first section and lines without "=" are ignored. Names compare without case, and only the first section of
// a name and the first key of a name in it count. One outer pair of matching quotes is removed from a value.
// Bytes are Windows-1252 (a file that starts with the UTF-8 byte order mark is read as UTF-8).
//
// Writing: "[section]" and "key=value" lines ending in CR LF, in the order written, Windows-1252 bytes.
class IniDocument
{
public:
    // A value read back is cut to this length, as by the platform's 256-character read buffer.
    static constexpr qsizetype kMaxValueLength = 255;

    static IniDocument fromBytes(const QByteArray &bytes);
    QByteArray toBytes() const;

    // Sets the value of the key, in place when it exists, else appended to its section (appended to the
    // document when the section is new). Line breaks in the value become blanks, so a value can never add a
    // line to the file, and characters without a Windows-1252 byte become "?", as they will in the file.
    // Section and key names are the program's own plain names (no line breaks, "=" or "]").
    void setValue(const QString &section, const QString &key, const QString &value);

    // The value as the platform's read call returns it: at most kMaxValueLength characters; nothing when the
    // section or key is missing or the value is empty.
    std::optional<QString> value(const QString &section, const QString &key) const;

    QStringList sections() const;
    QStringList keys(const QString &section) const;
    bool isEmpty() const { return m_sections.isEmpty(); }

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
        QHash<QString, qsizetype> entryIndex; // case-folded key -> index into entries
    };

    const Section *findSection(const QString &name) const;
    Section &sectionForWriting(const QString &name);

    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // case-folded name -> index into m_sections
};

// Opens a regular file (or a symbolic link to one) for reading without ever blocking: a FIFO, a terminal or
// a device is refused without being read, and opening it does not wait for a writer or make it the
// controlling terminal. False when there is no regular, readable file at the path.
bool openRegularFileForReading(QFile &file, const QString &path);

// Reads the file; nothing when there is no regular, readable file at the path.
std::optional<IniDocument> readIniFile(const QString &path);

// Writes the document completely into a temporary file beside the target and then replaces the target with it
// in one rename, so the old file stays as it was when anything fails. Only a regular file (or a link to one)
// or nothing yet may stand at the path: a FIFO, a terminal, a device or a folder is refused untouched.
// Where the folder does not let us create the temporary file, the existing file is written in place instead
// (see InPlaceWrite). A
// replaced file keeps its mode, and its owner where the system lets us give it back. On failure returns
// false and, when errorText is given, sets it to the system's reason naming the path once.
struct InPlaceWrite
{
    // When not empty, the complete new content goes to this file first and is synced, so a crash while the
    // file is rewritten leaves a whole copy behind (removed again once the file itself is complete).
    QString copyPath;
    // Tests only: runs once half of the new content is in the file.
    std::function<void()> halfWritten;
};
bool writeIniFileAtomically(const QString &path, const IniDocument &document, QString *errorText = nullptr,
    const InPlaceWrite &inPlace = {});

// Where writeIniFileAtomically keeps the copy of the target while it writes it in place: a name of its own
// per target in the given folder.
QString inPlaceCopyPath(const QString &folder, const QString &target);

// Removes the temporary files an interrupted writeIniFileAtomically left beside the target (not those of a
// save that may still be running).
void removeSafeWriteLeftovers(const QString &path);
