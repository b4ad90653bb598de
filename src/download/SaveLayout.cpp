#include "download/SaveLayout.h"

#include "picking/MediaKind.h" // MinDescWidth
#include "picking/CleanName.h"

#include <QFileInfo>

#include <filesystem>
#include <limits>
#include <system_error>

namespace {

bool Taken(const QString &path)
{
    const QFileInfo info(path);
    // A dangling link is a name in use too: creating over it would fail.
    return info.exists() || info.isSymLink();
}

enum class Made { Created, TakenMeanwhile, Failed };

// Failed sets *why; TakenMeanwhile means someone took the name after our check.
Made CreateOne(const QString &path, QString *why)
{
    std::error_code code;
    if (std::filesystem::create_directory(std::filesystem::path(path.toStdU16String()), code))
        return Made::Created;
    if (Taken(path))
        return Made::TakenMeanwhile;
    // The name was free before and after, yet the system would not make it:
    // trying the next number would meet the same answer for ever.
    *why = code ? QString::fromStdString(code.message())
                : QStringLiteral("the system reports the name as taken, but it is free");
    return Made::Failed;
}

QString fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return {};
}

// Not one picture kept; what is counted apart (the video) may have arrived.
QString NoPictureLine(const DownloadSummary &s)
{
    const QString apart = ApartCounts(s, QString(), QString());
    const QString head = apart.isEmpty() ? QStringLiteral("消息提示:未保存任何图片")
                                         : QStringLiteral("消息提示:只保存了%1,未保存图片").arg(apart);
    return head + QStringLiteral("(丢弃%1张").arg(s.dropped) + s.dropNote() + QStringLiteral(",失败%1张),目录").arg(s.failed);
}

} // namespace

QString ItemName(const QString &cleaned)
{
    qsizetype dots = 0;
    while (dots < cleaned.size() && cleaned[dots] == u'.')
        ++dots;
    return CutToBytes(cleaned.mid(dots), ItemNameBytes);
}

QString mkdiruser(const QString &path, int counter, int baseLength, QString *error)
{
    if (path.contains(QChar(u'\0')))
        return fail(error, path + QStringLiteral(": a folder name cannot hold a NUL character"));
    QString base = path.left(baseLength);
    const qsizetype leaf = base.lastIndexOf(u'/') + 1;
    base = base.left(leaf) + ItemName(base.mid(leaf));
    QString candidate = base + path.mid(baseLength);
    for (int tries = 0; tries < MaxFolderTries; ++tries) {
        if (!Taken(candidate)) {
            QString why;
            switch (CreateOne(candidate, &why)) {
            case Made::Created: return candidate;
            case Made::Failed: return fail(error, candidate + QStringLiteral(": ") + why);
            case Made::TakenMeanwhile: break;
            }
        }
        if (counter == std::numeric_limits<int>::max())
            break;
        ++counter;
        candidate = base + QString::number(counter);
    }
    return fail(error, path + QStringLiteral(": every numbered name tried is taken"));
}

int ProgressPercent(qint64 done, qint64 total)
{
    if (total <= 0)
        return 0;
    const qint64 scaled = done * 100;
    qint64 percent = scaled / total;
    const qint64 twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && percent % 2 != 0))
        ++percent;
    return int(percent);
}

QString ProgressLine(qint64 done, qint64 total)
{
    return QStringLiteral("消息提示:下载进度,%1/%2 %3%")
        .arg(done).arg(total).arg(ProgressPercent(done, total));
}

QString CompletionLine(const QString &itemFolder, int failed)
{
    QString line = QStringLiteral("消息提示:下载完成,保存至->") + itemFolder + QStringLiteral("->双击打开");
    if (failed > 0)
        line += QStringLiteral("（%1张下载失败）").arg(failed);
    return line;
}

QString CompletionLine(const DownloadSummary &s)
{
    // The folder stays between "->" and "->": the double click opens it.
    const QString folder = QStringLiteral("->") + s.itemFolder + QStringLiteral("->双击打开");
    QString line;
    if (s.total == 0) {
        line = QStringLiteral("消息提示:没有可下载的图片,已建目录") + folder;
    } else if (s.failed == s.total) {
        line = QStringLiteral("消息提示:下载失败,%1张图片全部未能下载,目录").arg(s.total) + folder;
    } else if (s.saved == 0) {
        line = NoPictureLine(s) + folder;
    } else {
        line = CompletionLine(s.itemFolder, s.failed);
        if (s.unknownWidth > 0)
            line += QStringLiteral("（%1张宽度未知）").arg(s.unknownWidth);
        line += ApartCounts(s, QStringLiteral("（"), QStringLiteral("）"));
    }
    if (!s.dataError.isEmpty())
        line += QStringLiteral("（商品信息未能保存）");
    return line;
}

QString ApartCounts(const DownloadSummary &summary, const QString &open, const QString &close)
{
    QString counts;
    for (const MediaKind &kind : MediaKinds::all())
        if (!kind.apartCount.isEmpty() && summary.kept[kind.id] > 0)
            counts += open + kind.apartCount.arg(summary.kept[kind.id]) + close;
    return counts;
}

QString FolderErrorLine(const QString &path)
{
    return QStringLiteral("消息提示:下载失败,无法创建目录->") + path;
}

QString FolderFromLine(const QString &line)
{
    const QString arrow = QStringLiteral("->");
    const qsizetype first = line.indexOf(arrow);
    if (first < 0)
        return {};
    const qsizetype from = first + arrow.size();
    const qsizetype second = line.indexOf(arrow, from);
    return second < 0 ? line.mid(from) : line.mid(from, second - from);
}
