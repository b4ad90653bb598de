#include "batch/BatchRunner.h"

#include "download/SaveLayout.h"
#include "picking/CleanName.h"
#include "platform/PlainFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

// Where a batch may write: its lock and its item folders.

namespace {

bool inside(const QString &canonicalRoot, const QString &path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    return !canonicalRoot.isEmpty() && real.startsWith(canonicalRoot + u'/');
}

// A folder from the journal may have been replaced since by a link to
// anywhere, or hold one where a picture folder should be: it is used only
// when it and its folders lead to places inside the save folder.
bool staysInside(const QString &canonicalRoot, const QString &folder)
{
    if (!QFileInfo(folder).isDir() || !inside(canonicalRoot, folder))
        return false;
    const QString real = QFileInfo(folder).canonicalFilePath();
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    return std::all_of(entries.cbegin(), entries.cend(),
                       [&real](const QFileInfo &entry) { return inside(real, entry.filePath()); });
}

} // namespace

QString BatchRunner::itemFolderFor(const BatchRow &row, const QString &title, QString *error) const
{
    const QString root = QFileInfo(m_saveFolder).canonicalFilePath();
    if (!row.folder.isEmpty()) {
        const QFileInfo info(row.folder);
        // The user removed it since: it is made anew where it was.
        if (!info.exists() && !info.isSymLink())
            QDir().mkdir(row.folder);
        if (staysInside(root, row.folder))
            return row.folder;
    }
    // Already cleaned (FolderNaming); cleaning twice is harmless.
    const QString path = m_saveFolder + u'/' + CleanName(title);
    QString reason;
    const QString made = mkdiruser(path, 0, int(path.size()), &reason);
    if (made.isEmpty() && error)
        *error = u"无法创建文件夹 %1: %2"_s.arg(path, reason);
    return made;
}

bool BatchRunner::lockFolder(const QString &saveFolder, QString *error)
{
    if (m_lock && m_lockedFolder == saveFolder)
        return true;
    const QString lockPath = QDir(saveFolder).filePath(LockFileName);
    // QLockFile reads a lock that is there (a pipe would hold it for good) and
    // removes a stale one: only a plain file of ours is taken for a lock.
    if (const QString refusal = PlainFile::writeRefusal(lockPath); !refusal.isEmpty()) {
        if (error)
            *error = refusal;
        return false;
    }
    auto lock = std::make_unique<QLockFile>(lockPath);
    // A batch may hold its folder for hours: only a lock whose program is gone is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        qint64 pid = 0;
        QString host, program;
        if (error && lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &program))
            *error = u"这个文件夹正由另一个批量采集使用 (进程 %1), 请等它结束或换一个文件夹"_s.arg(pid);
        else if (error)
            *error = u"无法在这个文件夹中建立锁文件 %1"_s.arg(lockPath);
        return false;
    }
    m_lock = std::move(lock);
    m_lockedFolder = saveFolder;
    return true;
}

