#pragma once

#include <QByteArray>
#include <QString>

// Maps a request target of the sample shop onto a file of its folder. Only
// regular files inside the folder are ever named: ".." and hidden names are
// refused, percent escapes are decoded before that test, and a symbolic link
// that leads outside the folder reads as missing.
namespace DemoShopFiles {

struct Lookup
{
    int status = 404;   // 200 with a path, 400 for a malformed or escaping target, else 404
    QString path;       // canonical path of the file when found
};

// `root` is the canonical path of the folder.
Lookup find(const QString &root, const QByteArray &target);

// Strict decoding: a '%' not followed by two hex digits is no address.
bool percentDecode(const QByteArray &in, QByteArray *out);

QByteArray contentType(const QString &path);

// Pages whose "{{BASE}}" is replaced by the server's address when served.
bool isTemplate(const QString &path);

} // namespace DemoShopFiles
