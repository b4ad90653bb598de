#include "download/SaveChoice.h"

using namespace Qt::StringLiterals;

const QString SaveChoice::InfoKey = u"info"_s;

SaveChoice::SaveChoice()
{
    kinds.fill(true);
    for (const MediaKind &kind : MediaKinds::all())
        rules[kind.id].minWidth = kind.minWidth;
}

void SaveChoice::setTick(MediaKind::Id kind, qsizetype index, Tick tick)
{
    QList<Tick> &list = ticks[kind];
    if (index < 0)
        return;
    while (list.size() <= index)
        list.append(Tick::Auto);
    list[index] = tick;
}

void SaveChoice::takeTicks(const SaveChoice &item)
{
    ticks = item.ticks;
    infoTick = item.infoTick;
}

std::optional<SaveChoice::Reason> SaveChoice::judge(const Rule &rule, QSize size)
{
    if (size.width() >= 0 && size.width() < rule.minWidth)
        return Narrow;
    if (size.height() >= 0 && size.height() < rule.minHeight)
        return Low;
    return std::nullopt;
}

bool SaveChoice::judged(MediaKind::Id kind) const
{
    const bool picture = MediaKinds::of(kind).body == MediaKind::Body::Picture;
    return rules[kind].minWidth > 0 || rules[kind].minHeight > 0 || (dedupe && picture);
}

QList<int> SaveChoice::places(MediaKind::Id kind, qsizetype count) const
{
    QList<int> kept;
    if (!keeps(kind))
        return kept;
    for (int i = 0; i < count; ++i)
        if (tick(kind, i) != Tick::Off)
            kept << i;
    return kept;
}

SaveChoice SaveChoice::rulesOnly() const
{
    SaveChoice rules = *this;
    rules.ticks = {};
    rules.infoTick = Tick::Auto;
    return rules;
}

bool SaveChoice::operator==(const SaveChoice &other) const
{
    auto sameRules = [&] {
        for (int k = 0; k < MediaKind::Count; ++k)
            if (rules[k].minWidth != other.rules[k].minWidth || rules[k].minHeight != other.rules[k].minHeight)
                return false;
        return true;
    };
    return kinds == other.kinds && info == other.info && dedupe == other.dedupe && ticks == other.ticks
        && infoTick == other.infoTick && sameRules();
}

QString SaveChoice::reasonWord(Reason reason)
{
    switch (reason) {
    case Narrow: return u"过窄"_s;
    case Low: return u"过小"_s;
    case Same: return u"重复"_s;
    case Reasons: break;
    }
    return {};
}

namespace {
const QString DropKeys[SaveChoice::Reasons] = {u"narrow"_s, u"low"_s, u"same"_s};
}

QJsonObject SaveChoice::dropsJson(const DropCounts &counts)
{
    QJsonObject object;
    for (int reason = 0; reason < Reasons; ++reason)
        object.insert(DropKeys[reason], counts[reason]);
    return object;
}

SaveChoice::DropCounts SaveChoice::dropsFromJson(const QJsonObject &object)
{
    DropCounts counts{};
    for (int reason = 0; reason < Reasons; ++reason)
        counts[reason] = std::max(0, object.value(DropKeys[reason]).toInt());
    return counts;
}
