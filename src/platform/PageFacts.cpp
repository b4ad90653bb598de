#include "platform/PageFacts.h"

#include <QVariantMap>

PageFacts PageFacts::fromScriptResult(const QVariant &value)
{
    PageFacts facts;
    if (value.typeId() != QMetaType::QVariantMap)
        return facts;
    const QVariantMap map = value.toMap();
    auto text = [&map](const char *key) { return map.value(QLatin1String(key)).toString(); };
    facts.hasDocument = map.value(QStringLiteral("hasDocument")).toBool();
    facts.readyState = text("readyState");
    facts.url = text("url");
    facts.title = text("title");
    facts.bodyClass = text("bodyClass");
    facts.text = text("text");
    facts.formActions = map.value(QStringLiteral("formActions")).toStringList();
    facts.hasSlider = map.value(QStringLiteral("hasSlider")).toBool();
    facts.scripts = map.value(QStringLiteral("scripts")).toStringList();
    return facts;
}
