#include "platform/DocumentSnapshot.h"

#include <QVariantList>
#include <QVariantMap>

namespace {

void readRendered(const QVariantMap &map, DocumentSnapshot &snapshot)
{
    snapshot.rendered = map.value(QStringLiteral("rendered")).toBool();
    snapshot.url = map.value(QStringLiteral("url")).toString();
    for (const QVariant &entry : map.value(QStringLiteral("pictures")).toList()) {
        const QVariantMap p = entry.toMap();
        auto text = [&p](const char *key) { return p.value(QLatin1String(key)).toString(); };
        auto number = [&p](const char *key) { return p.value(QLatin1String(key)).toDouble(); };
        snapshot.pictures.append({text("src"), text("lazySrc"), number("width"), number("height"),
                                  number("naturalWidth"), number("naturalHeight"), number("top"),
                                  text("link"), text("words")});
    }
    snapshot.dataScripts = map.value(QStringLiteral("dataScripts")).toStringList();
    for (const QVariant &entry : map.value(QStringLiteral("metas")).toList()) {
        const QVariantList pair = entry.toList();
        if (pair.size() == 2)
            snapshot.metas.append({pair.at(0).toString(), pair.at(1).toString()});
    }
}

} // namespace

DocumentSnapshot DocumentSnapshot::fromScriptResult(const QVariant &value)
{
    DocumentSnapshot snapshot;
    if (value.typeId() != QMetaType::QVariantMap)
        return snapshot;
    const QVariantMap map = value.toMap();
    snapshot.hasDocument = map.value(QStringLiteral("hasDocument")).toBool();
    snapshot.hasBody = map.value(QStringLiteral("hasBody")).toBool();
    snapshot.title = map.value(QStringLiteral("title")).toString();
    const QVariantList divs = map.value(QStringLiteral("divs")).toList();
    snapshot.divs.reserve(divs.size());
    for (const QVariant &entry : divs) {
        const QVariantMap div = entry.toMap();
        snapshot.divs.append({div.value(QStringLiteral("id")).toString(),
                              div.value(QStringLiteral("html")).toString()});
    }
    readRendered(map, snapshot);
    return snapshot;
}
