#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Turns what a user pastes or imports into the list of product addresses a
// batch works through: one entry per item, in the order first seen.
namespace BatchAddresses {

// What a reading kept and what it let go, so that the user can be told.
struct Reading
{
    QStringList addresses;
    QStringList ignored; // the lines that hold no address, trimmed
    int merged = 0;      // addresses that repeat one read before

    // "忽略N行（不是宝贝地址）：…, 合并N个重复" (either part alone); "" when nothing went.
    QString dropped() const;
};

// read() and what it dropped.
Reading readWithReport(const QString &text);

// The marketplace's offer addresses anywhere in the text (shared-link prose
// around them is ignored), written in their desktop form so the mobile and
// desktop links of one offer count once; besides those, any http(s) address
// that stands on a line of its own (normalised). Blank lines and repeats are
// dropped.
QStringList read(const QString &text);

// The address as a browser goes to it, so that one page written several
// ways counts once: scheme and host in lower case, no default port, no "."
// or ".." path segments, no fragment, "/" for an empty path. Text that is no
// address comes back as it is.
QString normalised(const QString &address);

// A list file's bytes as text: UTF-8 when they are valid UTF-8 (a byte order
// mark is dropped), otherwise GBK, as Windows tools in Chinese write them.
QString decode(const QByteArray &bytes);

// readWithReport(decode(file)).addresses; `error` gets the system's reason when the file cannot
// be read or is no regular file. Files beyond a few megabytes are refused: a list is never that big.
QStringList readFile(const QString &path, QString *error = nullptr);
Reading readFileWithReport(const QString &path, QString *error = nullptr);

} // namespace BatchAddresses
