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

} // namespace DescriptionFile
