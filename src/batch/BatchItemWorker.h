#pragma once

#include "download/DownloadSummary.h"
#include "download/SaveChoice.h"
#include "picking/PickResult.h"

#include <QObject>
#include <QString>

// What the batch asks of the program for one address: pick it, then download
// what the pick found. The real worker runs the 采集 command in a tab of its
// own and the tab's download; tests put a stand-in here. A job number names
// one address's run; signals for a job that was cancelled are ignored, and a
// worker may answer before its call returns.
class BatchItemWorker : public QObject
{
    Q_OBJECT
public:
    enum class PickEnd {
        Picked,  // result holds what the page offered
        Refused, // not a product page, or the pick failed; message says why
        Blocked, // the marketplace wants a verification before it shows the page
        Unreachable, // the page could not be loaded (network or HTTP error); message says which
    };
    Q_ENUM(PickEnd)

    using QObject::QObject;

    virtual void pick(int job, const QString &url) = 0;
    // Saves `result` into `itemFolder`, which the runner has made and
    // journalled. `resume`: an earlier, interrupted run of this address saved
    // into it; complete the item there and keep what it saved.
    virtual void download(int job, const PickResult &result, const QString &itemFolder, bool resume) = 0;
    // Stops the job at once; nothing more is written for it and no signal follows.
    virtual void cancel(int job) = 0;
    // The job ended; its tab may go (unless the user keeps result pages).
    virtual void release(int job) { Q_UNUSED(job) }
    // The job's page needs the user (a verification): show it.
    virtual void bringToFront(int job) { Q_UNUSED(job) }

    // 保留结果页: a finished job's tab stays open.
    void setKeepResultPages(bool keep) { m_keepResultPages = keep; }
    bool keepResultPages() const { return m_keepResultPages; }
    // What each download keeps; the runner sets the batch's.
    void setChoice(const SaveChoice &choice) { m_choice = choice; }
    const SaveChoice &choice() const { return m_choice; }

Q_SIGNALS:
    void picked(int job, BatchItemWorker::PickEnd end, const PickResult &result, const QString &message);
    void downloadProgress(int job, int done, int total);
    void downloaded(int job, const DownloadSummary &summary);
    // The user closed the job's page while it was picked or saved: the job
    // stopped there (nothing more is written for it) and is not the page's fault.
    void cancelledByUser(int job, const QString &message);

private:
    bool m_keepResultPages = false;
    SaveChoice m_choice;
};
