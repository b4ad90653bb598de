#pragma once

#include "picking/MediaKinds.h"

#include <QJsonObject>
#include <QList>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

class QSettings;

// What a download keeps of an item: which kinds are saved, the least width
// and height of each picture kind, whether identical pictures are saved once,
// and, for one item, the ticks the user changed on its result page. The
// result page, TabDownload, the batch and the command line share it; its
// text forms (the options' values) are read in one place, parse*().
//
// The default keeps every kind and drops description pictures narrower than
// MinDescWidth: the download of before.
struct SaveChoice
{
    // Why a picture was left out, in the order they are counted and printed.
    enum Reason { Narrow, Low, Same, Reasons };
    // A picture's tick: Auto follows the rules; On keeps it whatever they say;
    // Off leaves it out.
    enum class Tick : quint8 { Auto, On, Off };

    struct Rule
    {
        int minWidth = 0;
        int minHeight = 0;
    };

    SaveChoice();

    std::array<bool, MediaKind::Count> kinds;
    bool info = true;  // 商品信息.json and 商品SKU.csv
    std::array<Rule, MediaKind::Count> rules;
    bool dedupe = false;
    // Of one item: the ticks by kind and place; a place beyond the list is Auto.
    std::array<QList<Tick>, MediaKind::Count> ticks;
    // Of one item: the data files' tick; like a picture's, On cannot save
    // what `info` leaves out.
    Tick infoTick = Tick::Auto;

    bool keeps(MediaKind::Id kind) const { return kinds[kind]; }
    Tick tick(MediaKind::Id kind, qsizetype index) const { return ticks[kind].value(index, Tick::Auto); }
    void setTick(MediaKind::Id kind, qsizetype index, Tick tick);
    bool savesInfo() const { return info && infoTick != Tick::Off; }
    // The ticks of `item`, kept over these rules.
    void takeTicks(const SaveChoice &item);
    // Whether a picture of `kind` with this size stays under the rules; a
    // size that could not be read (invalid) stays.
    std::optional<Reason> judge(MediaKind::Id kind, QSize size) const { return judge(rules[kind], size); }
    static std::optional<Reason> judge(const Rule &rule, QSize size);
    // The kind's pictures are judged as they arrive and numbered over the kept ones.
    bool judged(MediaKind::Id kind) const;
    // The places of `kind` a download fetches: those not ticked off, in list order.
    QList<int> places(MediaKind::Id kind, qsizetype count) const;
    // The same choice without the ticks of an item.
    SaveChoice rulesOnly() const;
    bool operator==(const SaveChoice &other) const;

    static const QString InfoKey;  // "info", the key of the two data files
    static QString reasonWord(Reason reason);  // 过窄, 过小, 重复
    using DropCounts = std::array<int, Reasons>;
    // {"narrow": n, "low": n, "same": n}: the JSON lines' and the journal's "droppedBy".
    static QJsonObject dropsJson(const DropCounts &counts);
    static DropCounts dropsFromJson(const QJsonObject &object);

    // --only, --min-width, --min-height: nothing when `value` is good (and
    // applied), else the refusal, naming the option and the value.
    std::optional<QString> parseOnly(const QString &value);
    std::optional<QString> parseMin(const QString &option, const QString &value);
    QString onlyText() const;
    QString minText(bool width) const;
    // For the batch window and the terminal: what is in force, e.g. "主图 描述图(宽≥450)".
    QString describe() const;

    // The rules as config.ini keeps them (section "save"); a damaged value
    // reads as the default.
    static SaveChoice fromSettings(const QSettings &ini);
    void store(QSettings &ini) const;
    // The rules as the batch's journal keeps them; an empty object is the default.
    QJsonObject toJson() const;
    static SaveChoice fromJson(const QJsonObject &object);
};
