#pragma once

#include <QString>
#include <QStringList>

// Picture addresses read from a page's data end at their picture extension,
// so that the saved file takes its extension from the address: a query
// (?__r__=..., ?x-oss-process=...) is dropped and a thumbnail address
// (.310x310.jpg, .jpg_b.jpg, _sum.jpg) becomes its full-size picture. Only
// http(s) addresses are kept; others read as empty. An address without a
// scheme (//host/x.png) takes the page's, as the browser does.
namespace PictureAddress {

// "http" for a page at an http: address; "https" for every other page.
QString schemeOf(const QString &pageUrl);

QString fullSize(const QString &address, const QString &scheme = QStringLiteral("https"));

// fullSize of each, blanks dropped, order and repeats kept.
QStringList fullSize(const QStringList &addresses, const QString &scheme = QStringLiteral("https"));

// Whether an address (http(s) or protocol-relative) names a picture file:
// its file name has a picture extension.
bool isPicture(const QString &address);

// The src of every <img> of an HTML fragment, in order, as full-size addresses.
QStringList imageSources(const QString &html, const QString &scheme = QStringLiteral("https"));

} // namespace PictureAddress
