#pragma once

#include <QByteArrayView>
#include <QJsonValue>
#include <QList>
#include <QStringList>

#include <functional>
#include <utility>

// Looking things up in a page's inline data, whose layout moves between
// redesigns: by path where it is known, by key anywhere where it is not.
namespace JsonSearch {

QJsonValue at(QJsonValue value, const QStringList &path);

using Accept = std::function<bool(const QJsonValue &)>;

// The first value under `key` anywhere in the data that `accept` takes;
// undefined when there is none. Nesting deeper than 64 is not searched.
QJsonValue find(const QJsonValue &value, const QString &key, const Accept &accept);

// find for several keys in one pass over the data: one value per key, in
// the order of `wanted`, undefined where there is none.
QList<QJsonValue> findEach(const QJsonValue &value, const QList<std::pair<QString, Accept>> &wanted);

// The keys of the first object in `json` (JSON text) that is the value of a
// member named `key`, in the order the text gives them (parsed data sorts
// its keys), each once.
QStringList orderedKeys(QByteArrayView json, const QString &key);

} // namespace JsonSearch
