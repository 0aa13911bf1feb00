#include "core/unitsfile.h"

#include "core/limitrule.h"

#include "core/cp1252.h"
#include "core/filekind.h"
#include "core/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString kUnitColumn = QStringLiteral("unit");
const QString kPortColumn = QStringLiteral("port");
const QString kSelected = QStringLiteral("-1");
const QString kNotSelected = QStringLiteral("0");

const ConfigField &fieldAt(int field)
{
    return configurationFields()[size_t(field)];
}

// A file that is valid UTF-8 (with or without its byte order mark) is read as UTF-8, anything else as the
// Windows-1252 a spreadsheet on Windows writes.
QString decodeUnitsText(const QByteArray &bytes)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        return decoder(bytes.sliced(bom.size()));
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (!decoder.hasError())
        return text;
    return fromCp1252(bytes);
}

// The separator the header line uses outside quotes: the first comma or semicolon in it; a comma when it has
// neither (a single column). Empty lines before the header are no header.
QChar detectSeparator(const QString &text)
{
    bool quoted = false;
    bool inHeader = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            if (inHeader)
                break;
            continue;
        } else if (!quoted && (c == u',' || c == u';')) {
            return c;
        }
        inHeader = true;
    }
    return u',';
}

struct Cell
{
    QString text;
    int line = 0;
    bool quoted = false;
};

struct Record
{
    int line = 0;
    QList<Cell> cells;

    // A line without a single character, or only separators: a spreadsheet's empty row.
    bool isBlank() const
    {
        for (const Cell &cell : cells) {
            if (cell.quoted || !cell.text.isEmpty())
                return false;
        }
        return true;
    }
};

struct Records
{
    QList<Record> records;
    std::optional<UnitsProblem> unclosed;
};

// RFC 4180: cells split at the separator outside quotes, records at CR LF or LF (a lone CR, as old files
// write it, ends a line too). A quoted cell may hold separators, doubled quotes and line breaks; a quote
// inside an unquoted cell, or after the closing quote, is taken as it stands.
Records splitRecords(const QString &text, QChar separator)
{
    Records out;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    Record record { line, {} };
    Cell cell { {}, line, false };
    bool inQuotes = false;
    const auto endCell = [&] {
        record.cells.append(cell);
        cell = Cell { {}, line, false };
    };
    const auto endRecord = [&] {
        endCell();
        if (!record.isBlank())
            out.records.append(record);
        record = Record { line, {} };
        cell.line = line;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < n && text.at(i + 1) == u'"') {
                    cell.text.append(u'"');
                    i += 2;
                } else {
                    inQuotes = false;
                    ++i;
                }
                continue;
            }
            if (c == u'\n' || (c == u'\r' && (i + 1 >= n || text.at(i + 1) != u'\n')))
                ++line;
            cell.text.append(c);
            ++i;
            continue;
        }
        if (c == u'"' && cell.text.isEmpty() && !cell.quoted) {
            inQuotes = true;
            cell.quoted = true;
            ++i;
        } else if (c == separator) {
            endCell();
            ++i;
        } else if (c == u'\r' || c == u'\n') {
            i += (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ? 2 : 1;
            ++line;
            endRecord();
        } else {
            cell.text.append(c);
            ++i;
        }
    }
    if (inQuotes) {
        UnitsProblem problem;
        problem.kind = UnitsProblem::Kind::UnclosedQuote;
        problem.line = cell.line;
        problem.column = int(record.cells.size()) + 1;
        out.unclosed = problem;
        return out;
    }
    // The last line needs no line end.
    if (!record.cells.isEmpty() || !cell.text.isEmpty() || cell.quoted)
        endRecord();
    return out;
}

// Blanks after a separator are how people write a list by hand, and a settings file written by hand trims
// its values the same way.
QString trimmedCell(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text.at(begin) == u' ' || text.at(begin) == u'\t'))
        ++begin;
    while (end > begin && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
        --end;
    return text.sliced(begin, end - begin);
}

bool hasCodePageByte(QChar c)
{
    return c == u'?' || toCp1252(QString(c)) != QByteArrayLiteral("?");
}

// A whole number as the settings file writes a state: an optional minus sign and digits, nothing else.
std::optional<int> stateNumber(const QString &text)
{
    return signedDecimal(text, 4);
}

struct Refusal
{
    UnitsProblem::Rule rule;
    QString detail;
};

// The cell as the field would take it on the page, unchanged; the first rule it fails otherwise.
std::optional<Refusal> checkCell(const ConfigField &field, const QString &text)
{
    using Rule = UnitsProblem::Rule;
    switch (field.kind) {
    case ValueKind::Text: {
        const FieldRule &rule = field.rule;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            // A line break or another control character no key types, a character the module's code page
            // has no byte for, a character the filter swallows or turns into another one.
            if (c.category() == QChar::Other_Control || !hasCodePageByte(c)
                || filterTypedCharacter(rule.filter, c) != c) {
                // The whole character, also where it takes two code units.
                const bool pair
                    = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
                return Refusal { Rule::Character, text.mid(i, pair ? 2 : 1) };
            }
        }
        const qsizetype longest = rule.maxLength >= 0
            ? qMin<qsizetype>(rule.maxLength, IniDocument::kMaxValueLength)
            : IniDocument::kMaxValueLength;
        if (text.size() > longest)
            return Refusal { Rule::TooLong, QString::number(longest) };
        if (text.size() < rule.minLength)
            return Refusal { Rule::TooShort, QString::number(rule.minLength) };
        if (rule.limit) {
            const QString corrected = limitAfterLeaving(text, *rule.limit).text;
            if (corrected != text)
                return Refusal { Rule::Limit, corrected };
        }
        // Whatever else the field would change.
        if (storedFieldText(rule, text) != text)
            return Refusal { Rule::Character, QString() };
        return std::nullopt;
    }
    case ValueKind::Check:
    case ValueKind::Option:
    case ValueKind::Tab:
    case ValueKind::List: {
        const std::optional<int> number = stateNumber(text);
        if (!number)
            return Refusal { Rule::NotANumber, QString() };
        bool fits = false;
        if (field.kind == ValueKind::Check)
            fits = *number >= 0 && *number <= 2;
        else if (field.kind == ValueKind::List)
            fits = *number >= 0 && *number < field.entries;
        else
            fits = *number == -1 || *number == 0;
        if (!fits)
            return Refusal { Rule::OutOfRange, QString() };
        return std::nullopt;
    }
    }
    return std::nullopt;
}

UnitsProblem problemAt(UnitsProblem::Kind kind, int line, int column, const QString &columnName = {})
{
    UnitsProblem problem;
    problem.kind = kind;
    problem.line = line;
    problem.column = column;
    problem.columnName = columnName;
    return problem;
}

UnitsProblem unreadable(const QString &path, UnitsProblem::Access access, const QString &detail = {})
{
    UnitsProblem problem;
    problem.value = path;
    problem.kind = UnitsProblem::Kind::Unreadable;
    problem.access = access;
    problem.detail = detail;
    return problem;
}

// What a header column holds.
struct Column
{
    enum Role { Unknown, Unit, Port, Value } role = Unknown;
    int field = -1;
};

} // namespace

const UnitRow *UnitsFile::find(const QString &unit) const
{
    for (const UnitRow &row : rows) {
        if (row.unit.compare(unit, Qt::CaseInsensitive) == 0)
            return &row;
    }
    return nullptr;
}

UnitsFile parseUnitsFile(const QByteArray &bytes, const QString &path)
{
    using Kind = UnitsProblem::Kind;
    UnitsFile file;
    file.path = path;
    QString text = decodeUnitsText(bytes);
    // A spreadsheet may name the separator in a line of its own before the header ("sep=;"); the line is
    // dropped, its line end kept, so the lines count as in the file.
    std::optional<QChar> named;
    if (text.size() >= 5 && text.startsWith(u"sep="_s, Qt::CaseInsensitive)
        && (text.at(4) == u',' || text.at(4) == u';')
        && (text.size() == 5 || text.at(5) == u'\r' || text.at(5) == u'\n')) {
        named = text.at(4);
        text.remove(0, 5);
    }
    const Records split = splitRecords(text, named.value_or(detectSeparator(text)));
    if (split.records.isEmpty()) {
        file.problems.append(split.unclosed ? *split.unclosed : problemAt(Kind::Empty, 0, 0));
        return file;
    }

    // The header.
    const Record &header = split.records.first();
    QList<Column> columns;
    int unitColumn = -1;
    int portColumn = -1;
    QHash<int, int> fieldColumns; // field -> column, for names given twice
    for (qsizetype c = 0; c < header.cells.size(); ++c) {
        const QString name = trimmedCell(header.cells.at(c).text);
        const int columnNumber = int(c) + 1;
        file.columns.append(name);
        Column column;
        int first = -1;
        if (name.compare(kUnitColumn, Qt::CaseInsensitive) == 0) {
            column.role = Column::Unit;
            first = unitColumn;
            if (unitColumn < 0)
                unitColumn = int(c);
        } else if (name.compare(kPortColumn, Qt::CaseInsensitive) == 0) {
            column.role = Column::Port;
            first = portColumn;
            if (portColumn < 0)
                portColumn = int(c);
        } else {
            const qsizetype slash = name.indexOf(u'/');
            const int field = slash > 0
                ? configurationFieldIndex(QStringView(name).first(slash), QStringView(name).sliced(slash + 1))
                : -1;
            if (field < 0) {
                file.problems.append(problemAt(Kind::UnknownColumn, header.line, columnNumber, name));
                columns.append(column);
                continue;
            }
            column.role = Column::Value;
            column.field = field;
            first = fieldColumns.value(field, -1);
            if (first < 0)
                fieldColumns.insert(field, int(c));
        }
        if (first >= 0) {
            UnitsProblem problem = problemAt(Kind::DuplicateColumn, header.line, columnNumber, name);
            problem.first = first + 1;
            file.problems.append(problem);
            column.role = Column::Unknown; // its cells are neither read nor checked
        }
        columns.append(column);
    }
    if (unitColumn < 0)
        file.problems.append(problemAt(Kind::NoUnitColumn, header.line, 0));

    // The rows.
    QHash<QString, int> unitLines; // case-folded name -> line of its row
    for (qsizetype r = 1; r < split.records.size(); ++r) {
        const Record &record = split.records.at(r);
        if (record.cells.size() != columns.size()) {
            UnitsProblem problem = problemAt(Kind::WrongCellCount, record.line, 0);
            problem.count = int(record.cells.size());
            problem.expected = int(columns.size());
            file.problems.append(problem);
            continue;
        }
        bool refused = false;
        UnitRow row;
        row.line = record.line;
        if (unitColumn >= 0) {
            const Cell &cell = record.cells.at(unitColumn);
            row.unit = trimmedCell(cell.text);
            const QString &columnName = file.columns.at(unitColumn);
            if (row.unit.isEmpty()) {
                file.problems.append(problemAt(Kind::EmptyUnit, cell.line, unitColumn + 1, columnName));
                refused = true;
            } else if (const auto seen = unitLines.constFind(row.unit.toCaseFolded());
                       seen != unitLines.cend()) {
                UnitsProblem problem = problemAt(Kind::DuplicateUnit, cell.line, unitColumn + 1, columnName);
                problem.value = row.unit;
                problem.first = *seen;
                file.problems.append(problem);
                refused = true;
            } else {
                unitLines.insert(row.unit.toCaseFolded(), record.line);
            }
        }
        if (portColumn >= 0)
            row.port = trimmedCell(record.cells.at(portColumn).text);
        QHash<QString, int> groupChoice; // "section/group" -> field the row selects in it
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (columns.at(c).role != Column::Value)
                continue;
            const Cell &cell = record.cells.at(c);
            const QString value = trimmedCell(cell.text);
            if (value.isEmpty())
                continue;
            const int field = columns.at(c).field;
            const ConfigField &stored = fieldAt(field);
            std::optional<Refusal> refusal = checkCell(stored, value);
            if (!refusal && stored.kind == ValueKind::Option && stored.group >= 0 && value == kSelected) {
                const QString group
                    = QString::fromUtf16(stored.section) + u'/' + QString::number(stored.group);
                if (groupChoice.contains(group))
                    refusal = Refusal { UnitsProblem::Rule::GroupTaken,
                        fieldAt(groupChoice.value(group)).settingsKey() };
                else
                    groupChoice.insert(group, field);
            }
            if (refusal) {
                UnitsProblem problem
                    = problemAt(Kind::ValueRefused, cell.line, int(c) + 1, file.columns.at(c));
                problem.value = value;
                problem.rule = refusal->rule;
                problem.detail = refusal->detail;
                problem.field = field;
                file.problems.append(problem);
                refused = true;
                continue;
            }
            row.values.append({ field, value });
        }
        if (!refused && unitColumn >= 0)
            file.rows.append(row);
    }
    if (split.unclosed) {
        UnitsProblem problem = *split.unclosed;
        if (split.records.size() > 0 && problem.column <= file.columns.size())
            problem.columnName = file.columns.at(problem.column - 1);
        file.problems.append(problem);
    }
    // In file order: by line, and within a line by column (the whole line first).
    std::stable_sort(
        file.problems.begin(), file.problems.end(), [](const UnitsProblem &a, const UnitsProblem &b) {
            return a.line != b.line ? a.line < b.line : a.column < b.column;
        });
    return file;
}

UnitsFile readUnitsFile(const QString &path)
{
    using Access = UnitsProblem::Access;
    UnitsFile file;
    file.path = path;
    const FileKind kind = fileKindOf(path);
    if (kind != FileKind::Regular) {
        file.problems.append(
            unreadable(path, kind == FileKind::Missing ? Access::Missing : Access::NotAFile));
        return file;
    }
    if (QFileInfo(path).size() > kMaxUnitsFileSize) {
        file.problems.append(unreadable(path, Access::TooLarge));
        return file;
    }
    QFile input;
    if (!openRegularFileForReading(input, path)) {
        const QString reason
            = input.error() != QFileDevice::NoError ? input.errorString() : qt_error_string(errno);
        file.problems.append(unreadable(path, Access::ReadFailed, reason));
        return file;
    }
    // It may have grown since it was looked at.
    const QByteArray bytes = input.read(kMaxUnitsFileSize + 1);
    if (input.error() != QFileDevice::NoError) {
        file.problems.append(unreadable(path, Access::ReadFailed, input.errorString()));
        return file;
    }
    if (bytes.size() > kMaxUnitsFileSize) {
        file.problems.append(unreadable(path, Access::TooLarge));
        return file;
    }
    return parseUnitsFile(bytes, path);
}

IniDocument unitDocument(const IniDocument &base, const UnitRow &row)
{
    IniDocument document = base;
    const std::span<const ConfigField> fields = configurationFields();
    for (const auto &[field, value] : row.values) {
        const ConfigField &stored = fieldAt(field);
        const QString section = QString::fromUtf16(stored.section);
        // An option the row selects is the one of its group, as a page writes it: the others are cleared, so
        // a selection the base holds later in the group cannot take its place while the file loads.
        if (stored.kind == ValueKind::Option && stored.group >= 0 && value == kSelected) {
            for (const ConfigField &other : fields) {
                if (&other != &stored && other.kind == ValueKind::Option && other.group == stored.group
                    && QStringView(other.section) == QStringView(stored.section))
                    document.setValue(section, other.key(), kNotSelected);
            }
        }
        document.setValue(section, stored.key(), value);
    }
    return document;
}

Configuration unitConfiguration(const IniDocument &base, const UnitRow &row)
{
    return Configuration::fromDocument(unitDocument(base, row));
}
