#include "batch/BatchRow.h"

#include "base/TerminalJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>


using namespace Qt::StringLiterals;

namespace {

struct StateNames
{
    BatchState state;
    const char16_t *text;
    const char16_t *key;
};

constexpr std::array<StateNames, 11> Names{{
    {BatchState::Waiting, u"等待", u"waiting"},
    {BatchState::Picking, u"采集中", u"picking"},
    {BatchState::Downloading, u"下载中", u"downloading"},
    {BatchState::Done, u"完成", u"saved"},
    {BatchState::Partial, u"部分失败", u"partial"},
    {BatchState::NeedsCheck, u"需要验证", u"blocked"},
    {BatchState::NotProduct, u"不是宝贝页", u"refused"},
    {BatchState::AlreadySaved, u"已保存", u"skipped"},
    {BatchState::Unreachable, u"无法打开", u"unreachable"},
    {BatchState::Failed, u"失败", u"failed"},
    {BatchState::Cancelled, u"已取消", u"cancelled"},
}};

} // namespace

QString batchStateText(BatchState state)
{
    return QString::fromUtf16(Names[static_cast<std::size_t>(state)].text);
}

QString batchStateKey(BatchState state)
{
    return QString::fromUtf16(Names[static_cast<std::size_t>(state)].key);
}

bool batchStateFromKey(const QString &key, BatchState *state)
{
    for (const StateNames &names : Names) {
        if (key == QStringView(names.key)) {
            *state = names.state;
            return true;
        }
    }
    return false;
}

bool batchStateIsFinal(BatchState state)
{
    return state != BatchState::Waiting && state != BatchState::Picking && state != BatchState::Downloading;
}

bool batchStateIsFailure(BatchState state)
{
    return state == BatchState::Partial || state == BatchState::NeedsCheck || state == BatchState::NotProduct
        || state == BatchState::Unreachable || state == BatchState::Failed || state == BatchState::Cancelled;
}

bool batchStateWasPicked(BatchState state)
{
    return batchStateIsFinal(state) && state != BatchState::NotProduct && state != BatchState::NeedsCheck
        && state != BatchState::Unreachable && state != BatchState::Cancelled;
}

QByteArray batchJsonLine(const BatchRow &row)
{
    QJsonObject object{{u"url"_s, row.url}, {u"state"_s, batchStateKey(row.state)}};
    if (!batchStateWasPicked(row.state) && batchStateIsFinal(row.state)) {
        object.insert(u"error"_s, row.note);
    } else {
        object.insert(u"title"_s, row.title);
        object.insert(u"productTitle"_s, row.productTitle);
        object.insert(u"folder"_s, row.folder);
        for (const MediaKind &kind : MediaKinds::all())
            object.insert(kind.key, row.found[kind.id]);
        object.insert(u"saved"_s, row.saved);
        object.insert(u"dropped"_s, row.dropped);
        object.insert(u"droppedBy"_s, SaveChoice::dropsJson(row.droppedBy));
        object.insert(u"failed"_s, row.failed);
        object.insert(u"failedNames"_s, QJsonArray::fromStringList(row.failedNames));
        if (!row.reader.isEmpty())
            object.insert(u"reader"_s, row.reader);
        if (batchStateIsFailure(row.state))
            object.insert(u"error"_s, row.note);
    }
    return TerminalJson::escaped(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
