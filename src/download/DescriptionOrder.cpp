#include "download/DescriptionOrder.h"

#include "download/PictureSize.h"
#include "download/SaveChoice.h"
#include "download/SaveLayout.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
bool sameBytes(const QString &a, const QString &b)
{
    QFile first(a), second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 Chunk = 256 * 1024;
    while (!first.atEnd()) {
        if (first.read(Chunk) != second.read(Chunk))
            return false;
    }
    return true;
}
}

void DescriptionOrder::reset(const QString &folder, const QString &group, const QStringList &urls, int firstNumber,
                             SaveChoice::Rule rule, const QList<bool> &forced, Seen *seen)
{
    m_folder = folder;
    m_group = group;
    m_urls = urls;
    m_states = QList<State>(urls.size(), State::Waiting);
    m_failed.clear();
    m_first = firstNumber;
    m_rule = rule;
    m_forced = forced;
    m_seen = seen;
    m_next = m_kept = m_foreign = m_unknownWidth = 0;
    m_dropped = {};
    m_resuming = m_held = false;
}

QString DescriptionOrder::stagedFile(int index) const
{
    // Hidden and ending in ".part": a killed run's leftovers are swept later.
    return QStringLiteral("%1/.%2-%3.part").arg(m_folder, m_group).arg(index + 1);
}

void DescriptionOrder::arrived(int index, bool fetched)
{
    State state = State::Failed;
    if (fetched) {
        // The fetch checked that the bytes start like a picture: one we cannot
        // measure (no decoder here) may well be good, so it stays. The size
        // is the header's word: a huge one costs nothing, nothing is decoded.
        const QSize size = PictureSize(stagedFile(index));
        const auto reason = m_forced.value(index) ? std::nullopt : SaveChoice::judge(m_rule, size);
        if (reason) {
            QFile::remove(stagedFile(index));
            ++m_dropped[*reason];
            state = State::Gone;
        } else {
            m_unknownWidth += size.width() < 0 ? 1 : 0;
            state = State::Kept;
        }
    }
    m_states[index] = state;
    if (state == State::Failed)
        m_failed.append(index);
    nameSettled();
}

void DescriptionOrder::nameSettled()
{
    for (; !m_held && m_next < m_states.size() && m_states.at(m_next) != State::Waiting; ++m_next) {
        const State state = m_states.at(m_next);
        if (state == State::Gone)
            continue;
        if (state == State::Kept && isRepeat(stagedFile(m_next))) {
            QFile::remove(stagedFile(m_next));
            ++m_dropped[SaveChoice::Same];
            m_states[m_next] = State::Gone;
            continue;
        }
        const QString target = PictureFileName(m_folder, m_group, m_first + m_kept + m_foreign, m_urls.at(m_next));
        if (m_resuming && QFileInfo(target).isFile()) {
            settleOverEarlier(target);
            continue;
        }
        if (state == State::Failed)
            continue;
        // Never over a file that is there already (a retry may meet the user's).
        if (QFile::rename(stagedFile(m_next), target)) {
            ++m_kept;
            continue;
        }
        QFile::remove(stagedFile(m_next));
        m_states[m_next] = State::Failed;
        m_failed.append(m_next);
    }
}

// Picture m_next's name is taken by what an earlier run saved. Either that
// file is taken as this picture, or the picture fails and the name stays
// the file's, which the numbers after it step over.
void DescriptionOrder::settleOverEarlier(const QString &target)
{
    bool same = m_states.at(m_next) == State::Failed;
    if (!same) {
        same = !QFileInfo(target).isSymLink() && sameBytes(stagedFile(m_next), target);
        QFile::remove(stagedFile(m_next));
        if (!same) {
            ++m_foreign;
            m_states[m_next] = State::Failed;
            m_failed.append(m_next);
            return;
        }
    }
    m_failed.removeOne(m_next);
    m_states[m_next] = State::Kept;
    ++m_kept;
}

bool DescriptionOrder::isRepeat(const QString &file)
{
    if (!m_seen || m_forced.value(m_next))
        return false;
    QFile bytes(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!bytes.open(QIODevice::ReadOnly) || !hash.addData(&bytes))
        return false;
    const QByteArray digest = hash.result();
    if (m_seen->contains(digest))
        return true;
    m_seen->insert(digest);
    return false;
}

void DescriptionOrder::discard()
{
    // Also those still Waiting: a fetch may have saved its staged file and
    // been stopped before it could report.
    for (int i = m_next; i < m_states.size(); ++i)
        if (m_states.at(i) != State::Gone && m_states.at(i) != State::Failed)
            QFile::remove(stagedFile(i));
    m_next = int(m_states.size());
}

QList<FailedPicture> DescriptionOrder::failures() const
{
    QList<int> failed = m_failed;
    std::sort(failed.begin(), failed.end());
    QList<FailedPicture> list;
    for (int k = 0; k < failed.size(); ++k)
        list.append({m_group, m_first + m_kept + m_foreign + k, m_urls.at(failed.at(k))});
    return list;
}
