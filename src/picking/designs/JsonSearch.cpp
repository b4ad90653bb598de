#include "picking/designs/JsonSearch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <vector>

namespace {

// The index after the JSON string that opens at i (json[i] == '"').
qsizetype stringEnd(QByteArrayView json, qsizetype i)
{
    for (++i; i < json.size(); ++i) {
        if (json[i] == '\\')
            ++i;
        else if (json[i] == '"')
            return i + 1;
    }
    return json.size();
}

// The text of a JSON string without its quotes, escapes resolved.
QString decodeString(QByteArrayView quoted)
{
    const QByteArrayView body = quoted.sliced(1, qMax<qsizetype>(0, quoted.size() - 2));
    if (!body.contains('\\'))
        return QString::fromUtf8(body);
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray("[") + quoted.toByteArray() + "]");
    return document.array().at(0).toString();
}

qsizetype skipSpace(QByteArrayView json, qsizetype i)
{
    while (i < json.size() && (json[i] == ' ' || json[i] == '\n' || json[i] == '\r' || json[i] == '\t'))
        ++i;
    return i;
}

// The index after the object or array that opens at i.
qsizetype blockEnd(QByteArrayView json, qsizetype i)
{
    int depth = 0;
    while (i < json.size()) {
        const char c = json[i];
        if (c == '"') {
            i = stringEnd(json, i);
            continue;
        }
        if (c == '{' || c == '[')
            ++depth;
        else if ((c == '}' || c == ']') && --depth == 0)
            return i + 1;
        ++i;
    }
    return json.size();
}

// The keys of the object json[start, end) at its own level, in text order.
QStringList keysInOrder(QByteArrayView json, qsizetype start, qsizetype end)
{
    QStringList keys;
    int depth = 0;
    for (qsizetype i = start; i < end;) {
        const char c = json[i];
        if (c == '"') {
            const qsizetype after = stringEnd(json, i);
            const qsizetype next = skipSpace(json, after);
            if (depth == 1 && next < end && json[next] == ':')
                keys << decodeString(json.sliced(i, after - i));
            i = after;
            continue;
        }
        if (c == '{' || c == '[')
            ++depth;
        else if (c == '}' || c == ']')
            --depth;
        ++i;
    }
    return keys;
}

} // namespace

namespace JsonSearch {

QJsonValue at(QJsonValue value, const QStringList &path)
{
    for (const QString &key : path)
        value = value.toObject().value(key);
    return value;
}

QJsonValue find(const QJsonValue &value, const QString &key, const Accept &accept)
{
    return findEach(value, {{key, accept}}).first();
}

QList<QJsonValue> findEach(const QJsonValue &value, const QList<std::pair<QString, Accept>> &wanted)
{
    QList<QJsonValue> found(wanted.size(), QJsonValue(QJsonValue::Undefined));
    qsizetype missing = wanted.size();
    // Depth first with a stack of its own, so that no page's nesting can
    // exhaust ours; children go on in reverse to come off in page order.
    std::vector<std::pair<QJsonValue, int>> pending{{value, 0}};
    QList<QJsonValue> children;
    while (!pending.empty() && missing > 0) {
        const auto [here, depth] = pending.back();
        pending.pop_back();
        if (here.isObject()) {
            const QJsonObject object = here.toObject();
            for (qsizetype i = 0; i < wanted.size(); ++i)
                if (found.at(i).isUndefined())
                    if (const QJsonValue candidate = object.value(wanted.at(i).first); wanted.at(i).second(candidate)) {
                        found[i] = candidate;
                        --missing;
                    }
        }
        if (depth >= 64)
            continue;
        children.clear();
        if (here.isObject())
            for (const QJsonValue &child : here.toObject())
                children << child;
        else if (here.isArray())
            for (const QJsonValue &child : here.toArray())
                children << child;
        for (auto child = children.crbegin(); child != children.crend(); ++child)
            pending.emplace_back(*child, depth + 1);
    }
    return found;
}

QStringList orderedKeys(QByteArrayView json, const QString &key)
{
    const QByteArray quoted = '"' + key.toUtf8() + '"';
    for (qsizetype at = json.indexOf(quoted); at >= 0; at = json.indexOf(quoted, at + 1)) {
        // A key, not a value or part of a longer string: ':' and '{' follow.
        const qsizetype colon = skipSpace(json, at + quoted.size());
        const qsizetype open = colon < json.size() && json[colon] == ':' ? skipSpace(json, colon + 1) : -1;
        if (open < 0 || open >= json.size() || json[open] != '{')
            continue;
        QStringList keys = keysInOrder(json, open, blockEnd(json, open));
        keys.removeDuplicates();
        return keys;
    }
    return {};
}

} // namespace JsonSearch
