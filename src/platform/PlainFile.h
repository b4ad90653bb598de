#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Files in folders that others may write to as well (a shared or synced save
// folder, a program folder anyone can drop files into): read only when they
// are regular files, written never through a link. A named pipe in place of a
// file would block its reader for good, and a link planted in place of a file
// would have us write wherever it points.
namespace PlainFile {

// Why `path` may not be written in place or replaced: it is a symbolic
// link, a file with other names too (a hard link), or no regular file.
// Empty when it is absent or a plain file. The text names the file.
QString writeRefusal(const QString &path);

// Whether `path` may be handed to a reader that opens it by name (QSettings,
// an image loader): absent, or a regular file once links are followed.
// Anything else is skipped, and said so once on standard error.
bool readable(const QString &path);

// Opens a regular file for reading (links followed: reading through one
// harms nothing); anything else is refused at once, without blocking.
bool openToRead(QFile &file, const QString &path, QString *error = nullptr);

// Opens `path` for writing, created or emptied, refusing what writeRefusal
// refuses; a link that appears in the meantime is refused by the system.
bool openToWrite(QFile &file, const QString &path, QString *error = nullptr);

// Writes `bytes` to a new hidden sibling and renames it over `path`, so that
// the file appears whole or not at all and a link that appears in its place
// meanwhile is replaced, never followed; with `sync` the bytes are on the
// disk before the rename. Refuses what writeRefusal refuses.
bool replace(const QString &path, const QByteArray &bytes, bool sync, QString *error = nullptr);

} // namespace PlainFile
