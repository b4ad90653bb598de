#include "download/DownloadPlan.h"

#include "download/PictureFile.h"
#include "download/SaveLayout.h"
#include "download/FolderNaming.h"
#include "picking/CleanName.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

bool DownloadPlan::needsFolder(const MediaGroup &group) const
{
    if (!m_choice.keeps(group.kind))
        return false;
    return group.describe().folderRule == MediaKind::Folder::Always || !group.addresses.isEmpty();
}

// The group's pictures that are not ticked off, numbered among themselves.
void DownloadPlan::addChosen(const MediaGroup &group, const QString &folder)
{
    QStringList urls;
    QList<bool> forced;
    for (int place : m_choice.places(group.kind, group.addresses.size())) {
        urls << group.addresses.at(place);
        forced << (m_choice.tick(group.kind, place) == SaveChoice::Tick::On);
    }
    addGroup(group.describe(), folder, urls, 1, forced);
}

void DownloadPlan::arrived(MediaKind::Id kind, int index, bool fetched)
{
    m_orders[kind].arrived(index, fetched);
    if (!m_choice.dedupe)
        return;
    // A repeat is known only once every earlier picture of the item is settled.
    bool earlierDone = true;
    for (DescriptionOrder &order : m_orders) {
        order.setHeld(!earlierDone);
        order.settle();
        earlierDone = earlierDone && order.complete();
    }
}

bool DownloadPlan::forResult(const QString &folder, const PickResult &result, DownloadSummary &summary)
{
    // Stop at the first folder that cannot be made: pictures go nowhere else.
    if (!makeFolder(folder + u'/' + FolderNaming::itemTitle(result), &summary.itemFolder, summary))
        return false;
    return forItemFolder(result, summary);
}

bool DownloadPlan::forItemFolder(const PickResult &result, DownloadSummary &summary)
{
    QStringList folders;
    for (const MediaGroup &group : result.groups()) {
        QString made;
        if (needsFolder(group) && !makeFolder(summary.itemFolder + u'/' + group.folder(), &made, summary))
            return false;
        folders << made;
    }
    for (const MediaGroup &group : result.groups())
        addChosen(group, folders.at(group.kind));
    return true;
}

bool DownloadPlan::forRetry(const QList<FailedPicture> &failures, DownloadSummary &summary)
{
    PictureFile::removeStaleParts(summary.itemFolder);
    std::array<QStringList, MediaKind::Count> staged;
    std::array<int, MediaKind::Count> first{};
    for (const FailedPicture &failure : failures) {
        const MediaKind *kind = MediaKinds::byFolder(failure.group);
        QString folder;
        if (!makeKindFolder(kind, failure.group, &folder, summary))
            return false;
        if (m_choice.judged(kind->id)) {
            staged[kind->id] << failure.url;
            first[kind->id] = first[kind->id] ? std::min(first[kind->id], failure.number) : failure.number;
        } else {
            addGroup(*kind, folder, {failure.url}, failure.number);
        }
    }
    // What they keep is numbered on from the smallest of their numbers.
    for (const MediaKind &kind : MediaKinds::all())
        if (m_choice.judged(kind.id) && !staged[kind.id].isEmpty())
            addGroup(kind, summary.itemFolder + u'/' + kind.folder, staged[kind.id], std::max(first[kind.id], 1));
    return true;
}

bool DownloadPlan::forResume(const PickResult &result, DownloadSummary &summary)
{
    // The user may have removed a half-saved item's folder: it is made anew.
    if (!QFileInfo::exists(summary.itemFolder))
        QDir().mkdir(summary.itemFolder);
    PictureFile::removeStaleParts(summary.itemFolder);
    QStringList folders;
    for (const MediaGroup &group : result.groups()) {
        QString made;
        if (needsFolder(group) && !makeKindFolder(&group.describe(), group.folder(), &made, summary))
            return false;
        folders << made;
    }
    for (const MediaGroup &group : result.groups())
        if (!m_choice.judged(group.kind))
            addChosen(group, folders.at(group.kind));
    // A file named by its place alone that is there was saved whole (files
    // take their names only when complete).
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(),
                                [this](const Job &job) {
                                    const bool saved = QFileInfo(job.file).isFile();
                                    m_skipped[job.kind] += saved ? 1 : 0;
                                    m_skippedTotal += saved ? 1 : 0;
                                    return saved;
                                }),
                 m_jobs.end());
    // Staged names depend on the widths of the pictures before them, so
    // they are all judged again; what an earlier run saved keeps its name.
    for (const MediaGroup &group : result.groups()) {
        if (!m_choice.judged(group.kind))
            continue;
        addChosen(group, folders.at(group.kind));
        m_orders[group.kind].setResuming(true);
    }
    return true;
}

void DownloadPlan::discard()
{
    for (DescriptionOrder &order : m_orders)
        order.discard();
}

bool DownloadPlan::makeFolder(const QString &path, QString *made, DownloadSummary &summary)
{
    *made = mkdiruser(path, 0, int(path.size()), &summary.error);
    if (!made->isEmpty())
        return true;
    summary.line = FolderErrorLine(path);
    return false;
}

// A retry writes into the folders the first run made; one the user removed
// meanwhile is made again, and its leftovers are swept.
bool DownloadPlan::makeKindFolder(const MediaKind *kind, const QString &group, QString *made, DownloadSummary &summary)
{
    *made = summary.itemFolder + u'/' + group;
    if (kind && QFileInfo(summary.itemFolder).isDir() && (QFileInfo(*made).isDir() || QDir().mkdir(*made))) {
        PictureFile::removeStaleParts(*made);
        return true;
    }
    summary.error = kind ? QStringLiteral("cannot write into %1").arg(*made) : QStringLiteral("unknown group");
    summary.line = FolderErrorLine(*made);
    return false;
}

void DownloadPlan::addGroup(const MediaKind &kind, const QString &folder, const QStringList &urls, int firstNumber,
                            const QList<bool> &forced)
{
    if (m_choice.judged(kind.id)) {
        DescriptionOrder &order = m_orders[kind.id];
        order.reset(folder, kind.folder, urls, firstNumber, m_choice.rules[kind.id], forced,
                    m_choice.dedupe ? &m_seen : nullptr);
        for (int j = 0; j < urls.size(); ++j)
            m_jobs.append({kind.id, 0, urls.at(j), order.stagedFile(j), j});
        return;
    }
    for (int i = 0; i < urls.size(); ++i) {
        const int number = firstNumber + i;
        m_jobs.append({kind.id, number, urls.at(i), MediaFileName(folder, kind, number, urls.at(i)), -1});
    }
}
