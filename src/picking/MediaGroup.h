#pragma once

#include <QString>
#include <QStringList>

// One kind of media a pick found, saved into a folder of its own in the item
// folder. The folder names and the key of a `--pick` line are defined here
// only; a new kind of media is one more Kind, one more row in describe() and
// one more group in PickResult::groups().
struct MediaGroup
{
    enum class Kind { Main, Sku, Description, Video };

    Kind kind = Kind::Main;
    QStringList addresses;
    QStringList names;  // one per address where the kind has names (SKU), else empty

    // The folder in the item folder, which is also the start of each file's name.
    QString folder() const { return describe(kind).folder; }
    // The key of this group's list in a `--pick` line.
    QString key() const { return describe(kind).key; }
    // Old results without SKU pictures keep their two-folder tree.
    bool folderWhenEmpty() const { return describe(kind).folderWhenEmpty; }

    struct Description
    {
        QString folder;
        QString key;
        bool folderWhenEmpty;
    };
    static Description describe(Kind kind)
    {
        switch (kind) {
        case Kind::Main:
            return {QStringLiteral("主图"), QStringLiteral("main"), true};
        case Kind::Sku:
            return {QStringLiteral("SKU图"), QStringLiteral("sku"), false};
        case Kind::Description:
            break;
        case Kind::Video:
            return {QStringLiteral("视频"), QStringLiteral("video"), false};
        }
        return {QStringLiteral("描述图"), QStringLiteral("desc"), true};
    }
    static QString folderOf(Kind kind) { return describe(kind).folder; }
};
