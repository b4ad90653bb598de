#pragma once

#include "favourites/LinkReading.h"

#include <QByteArray>
#include <QString>

// The two-line favourite file: the marker, then the address, CR LF after each.
// Written as UTF-8; files from the Windows program are in GBK and still read.
namespace LinkFile {

QString marker();        // "[Fai.link]"
QString extension();     // ".link"

// True when the path ends in ".link" in any letter case.
bool hasLinkExtension(const QString &path);

// Empty path or no such file: nothing. A path without the ".link" ending is
// itself the address. Otherwise the file's second line, when the first is the
// marker exactly and the second holds an address.
LinkReading read(const QString &path);

// Parses the bytes of a favourite file.
LinkReading parse(const QByteArray &content);

// Text of one line: UTF-8 when the bytes are valid UTF-8, GBK otherwise.
QString decodeLine(const QByteArray &bytes);

// Creates a new file; never replaces an existing one. False when the file
// exists or could not be written completely (a partial file is removed).
bool create(const QString &path, const QString &address);

QByteArray content(const QString &address);

} // namespace LinkFile
