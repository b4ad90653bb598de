#include "picking/designs/DataPictures.h"

#include "picking/OfferAddress.h"
#include "picking/designs/PictureAddress.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int MaxDepth = 32;
constexpr int MaxNodes = 400000;

bool containsAny(const QString &text, std::initializer_list<const char *> words)
{
    return std::any_of(words.begin(), words.end(), [&text](const char *word) { return text.contains(QLatin1String(word)); });
}

bool isSkuPath(const QString &path)
{
    return containsAny(path, {"sku", "specs", "specattr", "variant", "prop", "option"});
}

bool isDescriptionKey(const QString &key)
{
    return containsAny(key, {"desc", "detail", "introduc"});
}

// An http(s) address as the browser reads it; empty for anything else.
QString webAddress(const QString &text, const QString &scheme)
{
    const QString address = text.trimmed().startsWith(QLatin1String("//")) ? scheme + u':' + text.trimmed() : text.trimmed();
    static const QRegularExpression web(QStringLiteral("^https?://[^/\\s]+"), QRegularExpression::CaseInsensitiveOption);
    return web.match(address).hasMatch() && !address.contains(u' ') ? address : QString();
}

QString videoAddress(const QString &text, const QString &scheme)
{
    static const QRegularExpression video(QStringLiteral("^(https?:)?//\\S+\\.(mp4|webm|m3u8|mov|flv)(\\?\\S*)?$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (!video.match(text).hasMatch())
        return {};
    return webAddress(text, scheme);
}

struct FoundList
{
    int value = 0;
    qsizetype position = 0;
    bool sku = false;
    bool description = false;
    QStringList pictures;
    QStringList names;
};

class Walker
{
public:
    Walker(const QString &pageUrl, DataMedia &out)
        : m_page(pageUrl), m_scheme(PictureAddress::schemeOf(pageUrl)), m_offer(OfferAddress::fromLink(pageUrl).number()), m_out(out)
    {
    }

    void walkValue(int index, const PageDataValue &data)
    {
        m_data = &data;
        m_index = index;
        walk(data.value, QString(), QString(), 0);
    }
    QList<FoundList> lists;

private:
    bool isOtherOffer(const QString &text) const
    {
        // Most strings are no address at all: only those that may be one are parsed.
        if (!text.contains(QLatin1String("offer"), Qt::CaseInsensitive))
            return false;
        const OfferAddress offer = OfferAddress::fromLink(text, m_page);
        return offer.isValid() && offer.number() != m_offer;
    }

    void walk(const QJsonValue &value, const QString &path, const QString &key, int depth)
    {
        if (depth > MaxDepth || ++m_nodes > MaxNodes)
            return;
        if (value.isString())
            return readString(value.toString(), key);
        if (value.isArray())
            return readArray(value.toArray(), path, key, depth);
        const QJsonObject object = value.toObject();
        for (auto member = object.begin(); member != object.end(); ++member) {
            const QString name = member.key().toLower();
            if (!DataPictures::isForeignWord(name))
                walk(member.value(), path + u'.' + name, name, depth + 1);
        }
    }

    void readString(const QString &text, const QString &key)
    {
        if (m_out.video.isEmpty())
            m_out.video = videoAddress(text, m_scheme);
        if (!isDescriptionKey(key))
            return;
        if (m_out.description.isEmpty() && text.contains(QLatin1String("<img"), Qt::CaseInsensitive))
            m_out.description = PictureAddress::imageSources(text, m_scheme);
        else if (m_out.detailUrl.isEmpty() && !PictureAddress::isPicture(text) && videoAddress(text, m_scheme).isEmpty()
                 && !OfferAddress::fromLink(text, m_page).isValid())
            m_out.detailUrl = webAddress(text, m_scheme);
    }

    // An entry's picture and the name the data gives it; the entry of a list
    // of other offers makes the whole list theirs.
    bool readEntry(const QJsonValue &entry, FoundList &found) const
    {
        if (entry.isString()) {
            if (PictureAddress::isPicture(entry.toString())) {
                found.pictures << entry.toString();
                found.names << QString();
            }
            return true;
        }
        const QJsonObject object = entry.toObject();
        QString picture, name;
        for (auto member = object.begin(); member != object.end(); ++member) {
            const QString text = member.value().toString();
            if (isOtherOffer(text))
                return false;
            if (picture.isEmpty() && PictureAddress::isPicture(text))
                picture = text;
            else if (name.isEmpty() && !text.isEmpty() && containsAny(member.key().toLower(), {"name", "title", "value", "text", "label", "alt"}))
                name = text;
        }
        if (!picture.isEmpty()) {
            found.pictures << picture;
            found.names << name;
        }
        return true;
    }

    void readArray(const QJsonArray &array, const QString &path, const QString &key, int depth)
    {
        FoundList found;
        bool theirs = false;
        for (const QJsonValue &entry : array)
            theirs = theirs || !readEntry(entry, found);
        if (theirs)
            return;
        if (!found.pictures.isEmpty() && 2 * found.pictures.size() >= array.size()) {
            found.value = m_index;
            const qsizetype position = m_data->positionOf(found.pictures.first());
            found.position = position < 0 ? m_data->json.size() : position;
            found.sku = isSkuPath(path);
            found.description = isDescriptionKey(key);
            lists << found;
        }
        for (const QJsonValue &entry : array)
            walk(entry, path, key, depth + 1);
    }

    QUrl m_page;
    QString m_scheme;
    QString m_offer;
    DataMedia &m_out;
    const PageDataValue *m_data = nullptr;
    int m_index = 0;
    int m_nodes = 0;
};

} // namespace

namespace DataPictures {

bool isForeignWord(const QString &lowerText)
{
    return containsAny(lowerText, {"recommend", "similar", "related", "guess", "shop", "store", "seller", "supplier",
                                   "company", "logo", "icon", "avatar", "banner", "rank", "footer", "nav", "other"});
}

DataMedia read(const QList<PageDataValue> &values, const QString &pageUrl)
{
    DataMedia media;
    const QString scheme = PictureAddress::schemeOf(pageUrl);
    Walker walker(pageUrl, media);
    for (int i = 0; i < values.size(); ++i)
        if (!values.at(i).isStructuredData())
            walker.walkValue(i, values.at(i));
    QList<FoundList> lists = walker.lists;
    std::stable_sort(lists.begin(), lists.end(), [](const FoundList &a, const FoundList &b) {
        return a.value != b.value ? a.value < b.value : a.position < b.position;
    });
    for (const FoundList &list : lists) {
        if (list.sku) {
            for (qsizetype i = 0; i < list.pictures.size(); ++i)
                media.skus.append({PictureAddress::fullSize(list.pictures.at(i), scheme), list.names.at(i)});
        } else if (list.description && media.description.isEmpty()) {
            media.description = PictureAddress::fullSize(list.pictures, scheme);
        } else if (!list.description && media.gallery.isEmpty()) {
            media.gallery = PictureAddress::fullSize(list.pictures, scheme);
            media.gallery.removeDuplicates();
        }
    }
    return media;
}

} // namespace DataPictures
