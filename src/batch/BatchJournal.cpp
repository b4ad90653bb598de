#include "batch/BatchJournal.h"

#include "batch/BatchJournalFormat.h"
#include "platform/PlainFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

const QString BatchJournal::FileName = u"批量采集.json"_s;
const QString BatchJournal::LogFileName = u"批量采集.json.log"_s;

namespace {

constexpr qint64 MaxJournalBytes = 64 * 1024 * 1024;
// A short list's log is folded only past this: a few lines cost less than a snapshot.
constexpr qint64 MinLogBytes = 64 * 1024;
// Folded once it outgrows its snapshot, a log holds at most that much and one
// more change of every row; what lies beyond this was never written by us, and
// reading it (a million lines, a million rows) would only hold up the start.
qint64 maxLogBytes(qint64 snapshotBytes)
{
    return 3 * std::max(snapshotBytes, MinLogBytes);
}
const QString LogKey = u"log"_s;
const QString ChoiceKey = u"choice"_s;

bool synced(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return true;
#endif
}

// One line of `file`, its end included, into `line` a step at a time: the
// buffer grows only as long as the line is and is kept for the next one.
// Stops past `limit` bytes, leaving a line without its end, as a torn one.
void readLineInto(QIODevice &file, QByteArray *line, qint64 limit)
{
    constexpr qsizetype Step = 16 * 1024;
    line->resize(0); // keeps the memory
    while (!line->endsWith('\n') && line->size() <= limit) {
        const qsizetype at = line->size();
        line->resize(at + Step);
        const qint64 read = file.readLine(line->data() + at, Step);
        line->resize(at + std::max<qint64>(read, 0));
        if (read <= 0)
            return;
    }
}

} // namespace

BatchJournal::BatchJournal(const QString &saveFolder)
    : m_path(QDir(saveFolder).filePath(FileName)), m_logPath(QDir(saveFolder).filePath(LogFileName))
{
}

BatchJournal::~BatchJournal() = default;

bool BatchJournal::exists() const
{
    return QFile::exists(m_path);
}

bool BatchJournal::save(const QList<BatchRow> &rows, QString *error)
{
    const QDir saveFolder = QFileInfo(m_path).dir();
    QJsonArray array;
    for (const BatchRow &row : rows)
        array.append(BatchJournalFormat::toJson(saveFolder, row));
    const QString logId = QString::number(QRandomGenerator::global()->generate64(), 36);
    const QByteArray bytes = QJsonDocument(QJsonObject{{u"rows"_s, array}, {LogKey, logId}, {ChoiceKey, m_choice.toJson()}}).toJson(QJsonDocument::Compact);
    // The log is refused before the snapshot is replaced: either both can be
    // written, or the journal stays as it was.
    const QString logRefusal = PlainFile::writeRefusal(m_logPath);
    if (!logRefusal.isEmpty()) {
        if (error)
            *error = logRefusal;
        return false;
    }
    if (!PlainFile::replace(m_path, bytes, true, error))
        return false;
    m_written += bytes.size();
    m_snapshotBytes = bytes.size();
    // From here the old log names an older snapshot: ignored even if it stays.
    // The new one is started at once; should that fail, the next change tries again.
    m_log.reset();
    m_logId = logId;
    m_logBytes = 0;
    appendLog({}, nullptr);
    return true;
}

bool BatchJournal::record(const QList<BatchRow> &rows, const QList<int> &changed, QString *error)
{
    // A snapshot deleted or replaced behind our back is written again at once:
    // without it a rerun would know nothing and save every item a second time.
    if (m_logId.isEmpty() || !snapshotIntact())
        return save(rows, error);
    const QDir saveFolder = QFileInfo(m_path).dir();
    QByteArray lines;
    for (int i : changed) {
        QJsonObject object = BatchJournalFormat::toJson(saveFolder, rows.at(i));
        object.insert(u"i"_s, i);
        lines += QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    }
    // A failed append may have left half a line, and nothing may follow it:
    // only a new snapshot (tried again at every change) makes the journal whole.
    if (!appendLog(lines, error)) {
        m_logId.clear();
        return save(rows, error);
    }
    if (m_logBytes > std::max(m_snapshotBytes, MinLogBytes))
        return save(rows, error);
    return true;
}

bool BatchJournal::snapshotIntact() const
{
    const QFileInfo info(m_path);
    return info.isFile() && !info.isSymLink() && info.size() == m_snapshotBytes;
}

bool BatchJournal::appendLog(const QByteArray &bytes, QString *error)
{
    if (!m_log) {
        m_log = std::make_unique<QFile>();
        const QByteArray header = QJsonDocument(QJsonObject{{LogKey, m_logId}}).toJson(QJsonDocument::Compact) + '\n';
        QString reason;
        if (!PlainFile::openToWrite(*m_log, m_logPath, &reason) || m_log->write(header) != header.size()) {
            if (error)
                *error = reason.isEmpty() ? m_logPath + u": "_s + m_log->errorString() : reason;
            m_log.reset();
            return false;
        }
        m_written += header.size();
        m_logBytes = header.size();
    }
    if (m_log->write(bytes) != bytes.size() || !synced(*m_log)) {
        if (error)
            *error = m_logPath + u": "_s + m_log->errorString();
        m_log.reset();
        return false;
    }
    m_logBytes += bytes.size();
    m_written += bytes.size();
    return true;
}

QList<BatchRow> BatchJournal::load(QString *error, SaveChoice *choice) const
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return QList<BatchRow>{};
    };
    // What could not be written again is not read either: a link or a pipe
    // in place of either file stops the batch here, with its name.
    for (const QString &path : {m_path, m_logPath}) {
        if (const QString refusal = PlainFile::writeRefusal(path); !refusal.isEmpty())
            return fail(refusal);
    }
    QFile file;
    QString reason;
    if (!PlainFile::openToRead(file, m_path, &reason))
        return fail(reason);
    if (file.size() > MaxJournalBytes)
        return fail(m_path + u": 文件太大"_s);
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(MaxJournalBytes), &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject())
        return fail(m_path + u": "_s + parse.errorString());
    QList<BatchRow> rows;
    const QDir saveFolder = QFileInfo(m_path).dir();
    for (const QJsonValue &value : document.object().value(u"rows"_s).toArray()) {
        BatchRow row;
        if (BatchJournalFormat::fromJson(saveFolder, value.toObject(), &row))
            rows.append(row);
    }
    replayLog(document.object().value(LogKey).toString(), maxLogBytes(file.size()), &rows);
    if (choice)
        *choice = SaveChoice::fromJson(document.object().value(ChoiceKey).toObject());
    return rows;
}

void BatchJournal::replayLog(const QString &logId, qint64 maxBytes, QList<BatchRow> *rows) const
{
    QFile file;
    if (logId.isEmpty() || !QFileInfo::exists(m_logPath) || !PlainFile::openToRead(file, m_logPath))
        return;
    const QDir saveFolder = QFileInfo(m_path).dir();
    bool header = true;
    QByteArray line;
    while (!file.atEnd() && file.pos() < maxBytes) {
        readLineInto(file, &line, maxBytes - file.pos());
        // Only the last line can be torn (each was synced before the next):
        // it has no line end, or does not parse.
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (!line.endsWith('\n') || object.isEmpty())
            return;
        if (std::exchange(header, false)) {
            if (object.value(LogKey).toString() != logId)
                return;
            continue;
        }
        const int i = object.value(u"i"_s).toInt(-1);
        BatchRow row;
        if (i < 0 || i > rows->size() || !BatchJournalFormat::fromJson(saveFolder, object, &row))
            return;
        if (i == rows->size())
            rows->append(row);
        else
            (*rows)[i] = row;
    }
}
