#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// The file at a page's detailUrl: var offer_details={"content":"<html>"};
// The pictures of its HTML fragment, in order, repeats kept.
namespace DescriptionFile {

// nullopt when the file is not a description file. Addresses without a
// scheme take `scheme`, the one of the page the description belongs to.
std::optional<QStringList> pictures(const QByteArray &file, const QString &scheme = QStringLiteral("https"));

// A description of a design we do not know, whatever its answer's format: a
// description file as above, a script or JSON that holds the HTML anywhere in
// its data, or the HTML itself. nullopt when it holds no picture.
std::optional<QStringList> anyPictures(const QByteArray &file, const QString &scheme = QStringLiteral("https"));

} // namespace DescriptionFile
