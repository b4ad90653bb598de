#include "picking/designs/PageData.h"

#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/ScriptText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Enough for any page's data assignments; a script of many braces that are
// no data (code) costs no more than this many tries.
constexpr int MaxTriesPerScript = 48;
constexpr int MaxValues = 64;
constexpr qsizetype MaxChars = 8 * 1024 * 1024;
// A try may read the rest of its script: all tries together read no more than this.
constexpr qsizetype MaxScanned = 64 * 1024 * 1024;

std::optional<PageDataValue> wholeJson(QStringView script)
{
    const QStringView text = script.trimmed();
    if (!text.startsWith(u'{') && !text.startsWith(u'['))
        return std::nullopt;
    const QByteArray json = text.toUtf8();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return PageDataValue{document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), json};
}

void readLiterals(QStringView script, QList<PageDataValue> &values, qsizetype &scanned)
{
    int tries = 0;
    for (qsizetype brace = ScriptText::find(script, u"{"); brace >= 0 && tries++ < MaxTriesPerScript
         && values.size() < MaxValues && scanned < MaxScanned;) {
        scanned += script.size() - brace;
        const QStringView literal = ObjectLiteral::extract(script, brace);
        QByteArray json;
        if (std::optional<QJsonValue> value = literal.isEmpty() ? std::nullopt : ObjectLiteral::parse(literal, &json)) {
            values.append({*value, json});
            brace = ScriptText::find(script, u"{", literal.data() - script.data() + literal.size());
        } else {
            brace = ScriptText::find(script, u"{", brace + 1);
        }
    }
}

} // namespace

qsizetype PageDataValue::positionOf(const QString &text) const
{
    const qsizetype plain = json.indexOf(text.toUtf8());
    if (plain >= 0)
        return plain;
    QString escaped = text;
    return json.indexOf(escaped.replace(u'/', QLatin1String("\\/")).toUtf8());
}

bool PageDataValue::isStructuredData() const
{
    return value.toObject().contains(QLatin1String("@context"))
        || (value.isArray() && value.toArray().first().toObject().contains(QLatin1String("@context")));
}

namespace PageData {

QList<PageDataValue> read(const QStringList &scripts)
{
    QList<PageDataValue> values;
    qsizetype chars = 0;
    qsizetype scanned = 0;
    for (const QString &script : scripts) {
        chars += script.size();
        if (chars > MaxChars || values.size() >= MaxValues)
            break;
        if (std::optional<PageDataValue> value = wholeJson(script))
            values.append(*value);
        else
            readLiterals(script, values, scanned);
    }
    return values;
}

} // namespace PageData
