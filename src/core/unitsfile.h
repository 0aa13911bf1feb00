#pragma once

#include "core/configuration.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class IniDocument;

// Per-unit values for programming a series of modules from one configuration.
//
// A units file is CSV (RFC 4180) in UTF-8 with or without a byte order mark, or in Windows-1252 as a
// spreadsheet on Windows saves it (a file that is not valid UTF-8 is read as Windows-1252). The separator is
// a comma or a semicolon, whichever the header line uses outside quotes. The header names the columns: `unit`
// (required, the unit's name), optionally `port`, and any number of settings keys as the settings file writes
// them, `section/key` ("frm1/txtsim", "frm1/txtFon1(1)", "frm4/chk4(1)"), compared without case. An empty
// cell keeps the base configuration's value.
//
// How cells are read:
// - Blanks and tabs around a cell (and a header name) are dropped, as a hand-written settings file reads
//   ("A1; 1234" is the PIN 1234, even when quoted); a line with no character, or with nothing but separators,
//   is no row.
// - A text must be taken by its field exactly as it stands: every character passes the field's key filter
//   unchanged (a filter that folds a character into another one refuses it), has a Windows-1252 byte (the
//   module's code page) and is no control character; the length lies within the field's shortest and longest
//   text and what a settings file keeps; a limit stays as the leaving check leaves it.
// - A check box takes 0, 1 or 2; an option button or a tab -1 (selected) or 0, as the settings file writes
//   them (1 is refused rather than guessed); a list the index of an entry. Nothing else, not even "1.0".
// - An option a row selects clears the others of its group in the unit's settings; a row that selects two
//   of one group is refused. A 0 alone cannot clear a group's choice, as on the page.
// - A problem names the line on which its cell starts (a quoted cell may span lines).
// - A first line "sep=;" or "sep=," (as a spreadsheet may write it) names the separator and is no header.

// Why a units file, or one of its rows, cannot be used. Line and column count from 1 (column 0: the whole
// line or file).
struct UnitsProblem
{
    enum class Kind {
        Unreadable, // the file cannot be read (missing, no regular file, too large); `detail` says why
        Empty, // no header line
        NoUnitColumn, // the header has no `unit` column
        UnknownColumn, // a header name that is neither unit, port nor a stored value of a page
        DuplicateColumn, // a column named twice (also two spellings of one key)
        UnclosedQuote, // a quoted cell runs to the end of the file
        WrongCellCount, // a row with more or fewer cells than the header
        EmptyUnit, // a row without a unit name
        DuplicateUnit, // a unit name given twice (compared without case); `value` is the name
        ValueRefused, // a cell its field cannot hold; `rule` says which rule refused it
    };
    // What refused a cell, as the field would refuse it on the page.
    enum class Rule {
        None,
        Character, // a character the field's filter does not take (`detail` holds it)
        TooLong, // longer than the field's maximum length (`detail`: the most it takes)
        TooShort, // shorter than the leaving check takes (the PIN's four digits; `detail`: the least)
        Limit, // a limit value the leaving check would change (`detail`: what it would make of it)
        NotANumber, // a check box, option or list cell that is no number of its kind
        OutOfRange, // a number outside what the kind takes (check 0/1/2, option -1/0, list index)
        GroupTaken, // an option selected while the row already selects another one of its group (`detail`:
                    // its key)
    };
    // Why an unreadable file could not be read.
    enum class Access {
        None,
        Missing, // nothing at the path
        NotAFile, // a folder, a FIFO, a device …
        TooLarge, // larger than kMaxUnitsFileSize
        ReadFailed, // the system refused to open or read it; `detail` holds its reason
    };

    Kind kind = Kind::Unreadable;
    int line = 0;
    int column = 0;
    QString columnName; // the header name of the column, where there is one
    QString value; // the cell, where there is one; Unreadable: the path
    Rule rule = Rule::None;
    QString detail;
    Access access = Access::None; // Unreadable
    int field = -1; // ValueRefused: the field in configurationFields()
    int count = 0; // WrongCellCount: the cells of the row
    int expected = 0; // WrongCellCount: the columns of the header
    int first = 0; // DuplicateColumn: the column named first; DuplicateUnit: the line of the first row
};

// One unit: its name, the port its row names (empty: any), and its values by field of
// configurationFields(), as the cells hold them (empty cells left out).
struct UnitRow
{
    int line = 0; // the file's line on which the row starts
    QString unit;
    QString port;
    QList<QPair<int, QString>> values;
};

struct UnitsFile
{
    QString path; // as given
    QStringList columns; // the header names as written
    QList<UnitRow> rows; // every row that passed, in file order
    QList<UnitsProblem> problems; // every problem found, in file order; any problem refuses the whole file

    bool usable() const { return problems.isEmpty(); }
    // The row of the unit (name compared without case); nullptr when there is none.
    const UnitRow *find(const QString &unit) const;
};

// The largest units file read.
inline constexpr qint64 kMaxUnitsFileSize = 1024 * 1024;

// Reads and checks a units file. Only a regular file (or a link to one) of at most 1 MB is read.
UnitsFile readUnitsFile(const QString &path);
// The same for bytes already read.
UnitsFile parseUnitsFile(const QByteArray &bytes, const QString &path = {});

// The settings file of the unit: the base with the row's values laid over it, as if the file held them.
IniDocument unitDocument(const IniDocument &base, const UnitRow &row);
// The unit's configuration: unitDocument() taken as the pages take a settings file, every load rule included.
Configuration unitConfiguration(const IniDocument &base, const UnitRow &row);
