#include "download/SaveChoice.h"

#include "base/DisplayText.h"

#include <QSettings>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const QString OnlyKey = u"save/only"_s;
const QString WidthKey = u"save/minWidth"_s;
const QString HeightKey = u"save/minHeight"_s;
const QString DedupeKey = u"save/dedupe"_s;
// Larger than any picture a page shows; a bigger least size is a typing slip.
constexpr int MaxPixels = 100000;

const MediaKind *kindOf(const QString &key)
{
    for (const MediaKind &kind : MediaKinds::all())
        if (kind.key == key)
            return &kind;
    return nullptr;
}

bool sized(const MediaKind &kind)
{
    return kind.body == MediaKind::Body::Picture;
}

} // namespace

std::optional<QString> SaveChoice::parseOnly(const QString &value)
{
    SaveChoice parsed = *this;
    parsed.kinds.fill(false);
    parsed.info = false;
    if (value.trimmed().isEmpty())
        return u"--only 后缺少种类（可用 main,sku,desc,video,info）"_s;
    for (const QString &raw : value.split(u',')) {
        const QString name = raw.trimmed();
        if (name.isEmpty())
            continue;
        if (const MediaKind *kind = kindOf(name))
            parsed.kinds[kind->id] = true;
        else if (name == InfoKey)
            parsed.info = true;
        else
            return u"--only %1: 未知的种类 %2（可用 main,sku,desc,video,info）"_s.arg(TerminalText(value),
                                                                                   TerminalText(name));
    }
    *this = parsed;
    return std::nullopt;
}

std::optional<QString> SaveChoice::parseMin(const QString &option, const QString &value)
{
    const bool width = option.contains(u"width"_s);
    SaveChoice parsed = *this;
    for (const QString &raw : value.split(u',')) {
        const QString pair = raw.trimmed();
        const qsizetype equals = pair.indexOf(u'=');
        const MediaKind *kind = equals > 0 ? kindOf(pair.left(equals).trimmed()) : nullptr;
        bool ok = false;
        const QString number = equals > 0 ? pair.mid(equals + 1).trimmed() : QString();
        const int pixels = number.toInt(&ok);
        if (!kind || !sized(*kind))
            return u"%1 %2: 须为 种类=像素（种类为 main、sku 或 desc）"_s.arg(option, TerminalText(value));
        if (!ok || pixels < 0 || pixels > MaxPixels)
            return u"%1 %2: 像素须为 0 到 %3 的整数"_s.arg(option, TerminalText(value)).arg(MaxPixels);
        (width ? parsed.rules[kind->id].minWidth : parsed.rules[kind->id].minHeight) = pixels;
    }
    *this = parsed;
    return std::nullopt;
}

QString SaveChoice::onlyText() const
{
    QStringList names;
    for (const MediaKind &kind : MediaKinds::all())
        if (kinds[kind.id])
            names << kind.key;
    if (info)
        names << InfoKey;
    // "," and not "": a choice of nothing must not read back as "no value".
    return names.isEmpty() ? u","_s : names.join(u',');
}

QString SaveChoice::minText(bool width) const
{
    QStringList pairs;
    for (const MediaKind &kind : MediaKinds::all())
        if (sized(kind))
            pairs << kind.key + u'=' + QString::number(width ? rules[kind.id].minWidth : rules[kind.id].minHeight);
    return pairs.join(u',');
}

QString SaveChoice::describe() const
{
    QStringList parts;
    for (const MediaKind &kind : MediaKinds::all()) {
        if (!kinds[kind.id])
            continue;
        QStringList limits;
        if (rules[kind.id].minWidth > 0 && sized(kind))
            limits << u"宽≥%1"_s.arg(rules[kind.id].minWidth);
        if (rules[kind.id].minHeight > 0 && sized(kind))
            limits << u"高≥%1"_s.arg(rules[kind.id].minHeight);
        parts << kind.folder + (limits.isEmpty() ? QString() : u'(' + limits.join(u' ') + u')');
    }
    if (info)
        parts << u"商品信息"_s;
    if (dedupe)
        parts << u"相同图片只保存一次"_s;
    return parts.isEmpty() ? u"（什么也不保存）"_s : parts.join(u' ');
}

namespace {
// Each value on its own: one damaged value costs only itself and reads as the default.
SaveChoice fromTexts(const std::optional<QString> &only, const std::optional<QString> &width,
                     const std::optional<QString> &height, bool dedupe)
{
    SaveChoice choice;
    SaveChoice tried = choice;
    if (only && !tried.parseOnly(*only))
        choice = tried;
    tried = choice;
    if (width && !tried.parseMin(u"--min-width"_s, *width))
        choice = tried;
    tried = choice;
    if (height && !tried.parseMin(u"--min-height"_s, *height))
        choice = tried;
    choice.dedupe = dedupe;
    return choice;
}

std::optional<QString> textAt(const QSettings &ini, const QString &key)
{
    return ini.contains(key) ? std::optional<QString>(ini.value(key).toString()) : std::nullopt;
}

std::optional<QString> textAt(const QJsonObject &object, const QString &key)
{
    return object.contains(key) ? std::optional<QString>(object.value(key).toString()) : std::nullopt;
}
} // namespace

SaveChoice SaveChoice::fromSettings(const QSettings &ini)
{
    return fromTexts(textAt(ini, OnlyKey), textAt(ini, WidthKey), textAt(ini, HeightKey),
                     ini.value(DedupeKey).toString() == u"true"_s);
}

void SaveChoice::store(QSettings &ini) const
{
    ini.setValue(OnlyKey, onlyText());
    ini.setValue(WidthKey, minText(true));
    ini.setValue(HeightKey, minText(false));
    ini.setValue(DedupeKey, dedupe ? u"true"_s : u"false"_s);
}

QJsonObject SaveChoice::toJson() const
{
    return {{u"only"_s, onlyText()}, {u"minWidth"_s, minText(true)}, {u"minHeight"_s, minText(false)},
            {u"dedupe"_s, dedupe}};
}

SaveChoice SaveChoice::fromJson(const QJsonObject &object)
{
    return fromTexts(textAt(object, u"only"_s), textAt(object, u"minWidth"_s), textAt(object, u"minHeight"_s),
                     object.value(u"dedupe"_s).toBool());
}
