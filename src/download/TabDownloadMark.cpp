// A download cut off before its end leaves a mark in its item folder; the
// next download of the same item into the same place completes it there.
#include "download/TabDownload.h"

#include "download/FolderNaming.h"
#include "download/UnfinishedMark.h"

using namespace Qt::StringLiterals;

void TabDownload::markUnfinished()
{
    if (m_summary.itemFolder.isEmpty() || m_plan.jobs().isEmpty())
        return;
    UnfinishedMark::write(m_summary.itemFolder, m_result.address, missingFiles());
}

QStringList TabDownload::missingFiles() const
{
    QStringList missing;
    const QList<DownloadPlan::Job> &jobs = m_plan.jobs();
    for (int i = 0; i < jobs.size(); ++i) {
        const DownloadPlan::Job &job = jobs.at(i);
        if (job.ordered < 0 && !m_savedJobs.contains(i))
            missing << MediaKinds::of(job.kind).folder + QString::number(job.number) + u"  "_s + job.url;
    }
    // Numbered as they are kept, those not yet named have no name to give.
    for (const MediaKind &kind : MediaKinds::all()) {
        const DescriptionOrder &order = m_plan.order(kind.id);
        const int left = order.size() - order.kept() - order.dropped();
        if (left > 0)
            missing << u"%1：已保存%2张，其余%3张未下载完"_s.arg(kind.folder).arg(order.kept()).arg(left);
    }
    if (!m_retrying && m_plan.choice().savesInfo() && !m_result.product.toJson().isEmpty())
        missing << u"商品信息.json 等商品数据文件（全部图片下载后才写入）"_s;
    return missing;
}

bool TabDownload::completesMarkedFolder()
{
    const QString marked = UnfinishedMark::folderOf(m_folder, FolderNaming::itemTitle(m_result), m_result.address);
    if (marked.isEmpty())
        return false;
    m_summary.itemFolder = marked;
    beginResume();
    return true;
}
