#include "platform/DocumentSnapshot.h"

#include <QVariantList>
#include <QVariantMap>

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
    return snapshot;
}
