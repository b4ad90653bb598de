#include "download/ResultJson.h"

#include "base/TerminalJson.h"
#include "download/FolderNaming.h"

#include <QJsonArray>

namespace {
QByteArray json(const QJsonValue &value)
{
    return TerminalJson::value(value);
}

QByteArray field(const QString &key, const QJsonValue &value)
{
    return ", " + json(key) + ": " + json(value);
}

// One name per address, whatever the page gave: a script may zip the two lists.
QStringList namesOf(const MediaGroup &group)
{
    QStringList names = group.names.mid(0, group.addresses.size());
    while (names.size() < group.addresses.size())
        names.append(QString());
    return names;
}

QByteArray saveFields(const DownloadSummary &saved)
{
    QStringList failedNames;
    for (const FailedPicture &picture : saved.failures)
        failedNames << picture.name();
    QByteArray fields = field(QStringLiteral("folder"), saved.itemFolder) + field(QStringLiteral("saved"), saved.saved)
        + field(QStringLiteral("dropped"), saved.dropped)
        + field(QStringLiteral("droppedBy"), SaveChoice::dropsJson(saved.droppedBy)) + field(QStringLiteral("failed"), saved.failed)
        + field(QStringLiteral("failedNames"), QJsonArray::fromStringList(failedNames));
    if (saved.outcome == DownloadSummary::Outcome::FolderFailed)
        fields += field(QStringLiteral("saveError"), saved.line + QStringLiteral(" (") + saved.error + QLatin1Char(')'));
    return fields;
}
} // namespace

QByteArray ResultJson::line(const PickResult &pick, const DownloadSummary *saved)
{
    QByteArray line = "{\"url\": " + json(pick.address) + field(QStringLiteral("title"), pick.title);
    if (!pick.reader.isEmpty())
        line += field(QStringLiteral("reader"), pick.reader);
    for (const MediaGroup &group : pick.groups()) {
        line += field(group.key(), QJsonArray::fromStringList(group.addresses));
        if (group.describe().named)
            line += field(group.key() + QStringLiteral("Names"), QJsonArray::fromStringList(namesOf(group)));
    }
    if (pick.cutShort)
        line += field(QStringLiteral("cutShort"), true);
    if (!pick.note.isEmpty())
        line += field(QStringLiteral("note"), pick.note);
    if (saved)
        line += saveFields(*saved);
    return line + field(QStringLiteral("productTitle"), FolderNaming::productTitle(pick)) + "}";
}

QByteArray ResultJson::errorLine(const QString &address, const QString &error)
{
    return "{\"url\": " + json(address) + field(QStringLiteral("error"), error) + "}";
}
