#include "batch/BatchJournal.h"

#include "batch/BatchJournalFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSaveFile>

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
const QString LogKey = u"log"_s;

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
    const QByteArray bytes = QJsonDocument(QJsonObject{{u"rows"_s, array}, {LogKey, logId}}).toJson(QJsonDocument::Compact);
    QSaveFile file(m_path);
    // A short write on a full disk is not reported by commit(): count the bytes.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
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
    if (m_logId.isEmpty())
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

bool BatchJournal::appendLog(const QByteArray &bytes, QString *error)
{
    if (!m_log) {
        m_log = std::make_unique<QFile>(m_logPath);
        const QByteArray header = QJsonDocument(QJsonObject{{LogKey, m_logId}}).toJson(QJsonDocument::Compact) + '\n';
        if (!m_log->open(QIODevice::WriteOnly | QIODevice::Truncate) || m_log->write(header) != header.size()) {
            if (error)
                *error = m_log->errorString();
            m_log.reset();
            return false;
        }
        m_written += header.size();
        m_logBytes = header.size();
    }
    if (m_log->write(bytes) != bytes.size() || !synced(*m_log)) {
        if (error)
            *error = m_log->errorString();
        m_log.reset();
        return false;
    }
    m_logBytes += bytes.size();
    m_written += bytes.size();
    return true;
}

QList<BatchRow> BatchJournal::load(QString *error) const
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return QList<BatchRow>{};
    };
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > MaxJournalBytes)
        return fail(u"文件太大"_s);
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(MaxJournalBytes), &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject())
        return fail(parse.errorString());
    QList<BatchRow> rows;
    const QDir saveFolder = QFileInfo(m_path).dir();
    for (const QJsonValue &value : document.object().value(u"rows"_s).toArray()) {
        BatchRow row;
        if (BatchJournalFormat::fromJson(saveFolder, value.toObject(), &row))
            rows.append(row);
    }
    replayLog(document.object().value(LogKey).toString(), &rows);
    return rows;
}

void BatchJournal::replayLog(const QString &logId, QList<BatchRow> *rows) const
{
    QFile file(m_logPath);
    if (logId.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QDir saveFolder = QFileInfo(m_path).dir();
    bool header = true;
    QByteArray line;
    while (!file.atEnd()) {
        readLineInto(file, &line, MaxJournalBytes);
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
