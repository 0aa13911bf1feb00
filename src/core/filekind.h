#pragma once

#include <QString>

// What a path names, looked at without opening it: a FIFO, a terminal or a device must never be opened as if
// it were a file (opening blocks, or writes to a module or a device). Symbolic links are followed.
enum class FileKind { Missing, Regular, Directory, Fifo, CharacterDevice, BlockDevice, Socket, Other };

FileKind fileKindOf(const QString &path);

// A path a file may be read from or written to: a regular file, a symbolic link to one, or nothing yet.
inline bool isFileOrMissing(FileKind kind)
{
    return kind == FileKind::Regular || kind == FileKind::Missing;
}

inline bool isFileOrMissing(const QString &path)
{
    return isFileOrMissing(fileKindOf(path));
}
