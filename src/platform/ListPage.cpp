#include "platform/ListPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

ListPage ListPage::fromScriptResult(const QVariant &value, int maxLinks)
{
    ListPage page;
    if (value.typeId() != QMetaType::QString)
        return page;
    const QJsonObject object = QJsonDocument::fromJson(value.toString().toUtf8()).object();
    page.hasDocument = object.value("hasDocument"_L1).toBool();
    page.loaded = object.value("readyState"_L1).toString() == "complete"_L1;
    page.url = object.value("url"_L1).toString();
    const QJsonArray links = object.value("links"_L1).toArray();
    for (qsizetype i = 0; i < links.size() && page.links.size() < maxLinks; ++i)
        if (links.at(i).isString())
            page.links << links.at(i).toString();
    const QString next = object.value("next"_L1).toString();
    page.next = next == "link"_L1 ? Next::Link : next == "button"_L1 ? Next::Button : Next::None;
    page.nextHref = object.value("nextHref"_L1).toString();
    page.pressed = object.value("pressed"_L1).toBool();
    return page;
}
