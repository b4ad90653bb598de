#include "picking/MediaKinds.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 PictureBytes = 64ll << 20;  // a product picture is under 10 MB
constexpr int PictureMs = 5 * 60 * 1000;
constexpr qint64 VideoBytes = 512ll << 20;
constexpr int VideoMs = 30 * 60 * 1000;

QList<MediaKind> table()
{
    using F = MediaKind::Folder;
    using B = MediaKind::Body;
    return {
        {MediaKind::Main, u"主图"_s, u"main"_s, u"主图缩略图"_s, u"mod-detail"_s,
         u"<img width=310 height=310 src=\""_s, false, F::Always, 0, B::Picture, PictureBytes, PictureMs, {}, {}},
        // Outside both picture containers of the old page, each picture over its name.
        {MediaKind::Sku, u"SKU图"_s, u"sku"_s, u"SKU图"_s, u"sku-pics"_s,
         u"<span style=\"display:inline-block;width:160px;margin:4px;text-align:center;vertical-align:top\">"
         u"<img width=150 height=150 src=\""_s,
         true, F::WhenListed, 0, B::Picture, PictureBytes, PictureMs, {}, {}},
        {MediaKind::Description, u"描述图"_s, u"desc"_s, u"描述缩略图"_s, u"desc-lazyload-container"_s,
         u"<img width=750  src=\""_s, false, F::Always, MinDescWidth, B::Picture, PictureBytes, PictureMs, {}, {}},
        // Shown with the product's data, which knows its player. Its name does
        // not follow its address: players know an MP4 by its extension.
        {MediaKind::Video, u"视频"_s, u"video"_s, {}, {}, {}, false, F::WhenSaved, 0, B::Video, VideoBytes, VideoMs,
         u".mp4"_s, u"视频%1个"_s},
    };
}

} // namespace

const QList<MediaKind> &MediaKinds::all()
{
    static const QList<MediaKind> kinds = table();
    return kinds;
}

const MediaKind *MediaKinds::byFolder(const QString &folder)
{
    for (const MediaKind &kind : all())
        if (kind.folder == folder)
            return &kind;
    return nullptr;
}

const MediaKind *MediaKinds::byKey(const QString &key)
{
    for (const MediaKind &kind : all())
        if (kind.key == key)
            return &kind;
    return nullptr;
}
