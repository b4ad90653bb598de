#include "picking/designs/RenderedPictures.h"

#include "picking/OfferAddress.h"
#include "picking/designs/PictureAddress.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Below the gallery's first picture, thumbnails and a second row still belong to it.
constexpr double GalleryMargin = 250;

struct Seen
{
    QString address;  // full size
    double top = 0;
    double bottom = 0;
    bool offers = false;  // the offer's own, of a content picture's size
    bool content = false; // of a content picture's size, whoever's
};

// Names (class, id, alt, file name) of the page's furniture and of what is
// not the offer's. Whole parts of a name count ("site-logo", "usericon"), so
// that an alt text such as "silicone" is no icon.
bool isDecoration(const QString &lowerText)
{
    static const char *const words[] = {"logo", "icon", "avatar", "sprite", "badge", "emoji", "qrcode", "recommend",
                                        "similar", "related", "guess", "shop", "store", "seller", "banner", "rank",
                                        "footer", "nav"};
    static const QRegularExpression separator(QStringLiteral("[^a-z0-9]+"));
    const QStringList parts = lowerText.split(separator, Qt::SkipEmptyParts);
    return std::any_of(parts.begin(), parts.end(), [](const QString &part) {
        return std::any_of(std::begin(words), std::end(words), [&part](const char *w) {
            return part.startsWith(QLatin1String(w)) || part.endsWith(QLatin1String(w));
        });
    });
}

Seen seen(const PagePicture &picture, const QString &scheme, const QString &offerNumber)
{
    Seen out;
    const QString raw = picture.lazySrc.isEmpty() ? picture.src : picture.lazySrc;
    out.address = PictureAddress::isPicture(raw) ? PictureAddress::fullSize(raw, scheme) : QString();
    out.top = picture.top;
    out.bottom = picture.top + picture.height;
    // As shown; a picture the page does not lay out (a hidden slide) as loaded.
    const bool laidOut = picture.width > 0 && picture.height > 0;
    const double width = laidOut ? picture.width : picture.naturalWidth;
    const double height = laidOut ? picture.height : picture.naturalHeight;
    // A lazy picture not yet loaded may have no size of its own yet.
    const bool unknown = width == 0 && height == 0 && !picture.lazySrc.isEmpty();
    out.content = unknown || (qMax(width, height) >= RenderedPictures::MinContentSide
                              && qMin(width, height) >= RenderedPictures::MinContentHeight);
    const OfferAddress link = OfferAddress::fromLink(picture.link);
    const bool elsewhere = link.isValid() && link.number() != offerNumber;
    static const QRegularExpression copyMark(QStringLiteral("\\.(jpe?g|png|webp)[._]\\d+x\\d+"), QRegularExpression::CaseInsensitiveOption);
    const bool thumbnail = copyMark.match(raw).hasMatch();
    out.offers = !out.address.isEmpty() && !elsewhere && !isDecoration(picture.words)
        && !isDecoration(out.address.section(u'/', -1).toLower()) && (out.content || thumbnail);
    return out;
}

} // namespace

namespace RenderedPictures {

RenderedMedia read(const QList<PagePicture> &pictures, const QString &scheme, const QString &offerNumber)
{
    QList<Seen> all;
    all.reserve(pictures.size());
    for (const PagePicture &picture : pictures)
        all << seen(picture, scheme, offerNumber);
    RenderedMedia media;
    const auto first = std::find_if(all.begin(), all.end(), [](const Seen &s) { return s.offers && s.content; });
    if (first == all.end())
        return media;
    const double galleryEnd = first->bottom + GalleryMargin;
    // The runs below the gallery: a content picture that is not the offer's
    // (a recommendation, a banner of the shop) ends one.
    QList<QStringList> runs{{}};
    for (const Seen &s : all) {
        if (s.offers && s.top < galleryEnd && s.top >= first->top) {
            if (!media.gallery.contains(s.address))
                media.gallery << s.address;
        } else if (s.offers && s.content && s.top >= galleryEnd) {
            runs.last() << s.address;
        } else if (s.content && s.top >= galleryEnd && !runs.last().isEmpty()) {
            runs << QStringList();
        }
    }
    for (const QStringList &run : runs)
        if (run.size() > media.description.size())
            media.description = run;
    return media;
}

} // namespace RenderedPictures
