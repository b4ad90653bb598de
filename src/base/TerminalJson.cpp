#include "base/TerminalJson.h"

#include "base/DisplayText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

QByteArray TerminalJson::escaped(const QByteArray &json)
{
    const QString text = QString::fromUtf8(json);
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (IsUnsafeForDisplay(c.unicode()))
            out += QStringLiteral("\\u") + QString::number(c.unicode(), 16).rightJustified(4, u'0');
        else
            out += c;
    }
    return out.toUtf8();
}

QByteArray TerminalJson::value(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return escaped(wrapped.mid(1, wrapped.size() - 2));
}
