#include "main_window/CommandLineOption.h"

#include "base/DisplayText.h"
#include "main_window/CommandLine.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

using Take = CommandLineOption::Take;

Take flag(bool CommandLine::*field)
{
    return [field](CommandLine &line, const QString &) -> std::optional<QString> {
        line.*field = true;
        return std::nullopt;
    };
}

Take once(std::optional<QString> CommandLine::*field)
{
    return [field](CommandLine &line, const QString &value) -> std::optional<QString> {
        if (line.*field)
            return QStringLiteral("只能给一次: %1").arg(TerminalText(value));
        line.*field = value;
        return std::nullopt;
    };
}

Take integer(int CommandLine::*field, int low, int high, const char *rule)
{
    return [=](CommandLine &line, const QString &value) -> std::optional<QString> {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < low || number > high)
            return QStringLiteral("%1: %2").arg(TerminalText(value), QString::fromUtf8(rule));
        line.*field = number;
        return std::nullopt;
    };
}

Take number(double CommandLine::*field, double low, double high, const char *rule)
{
    return [=](CommandLine &line, const QString &value) -> std::optional<QString> {
        bool ok = false;
        const double number = value.toDouble(&ok);
        // Written so that NaN is refused too.
        if (!ok || !(number >= low && number <= high))
            return QStringLiteral("%1: %2").arg(TerminalText(value), QString::fromUtf8(rule));
        line.*field = number;
        return std::nullopt;
    };
}

// A value of what to save, checked as SaveChoice reads it; the refusal names
// the option and the value itself.
Take choiceText(std::optional<QString> CommandLine::*field, const QString &option)
{
    return [=](CommandLine &line, const QString &value) -> std::optional<QString> {
        if (line.*field)
            return QStringLiteral("只能给一次: %1").arg(TerminalText(value));
        SaveChoice scratch;
        auto refusal = option == u"--only"_s ? scratch.parseOnly(value) : scratch.parseMin(option, value);
        if (refusal)
            return refusal->mid(option.size() + 1);
        line.*field = value;
        return std::nullopt;
    };
}

} // namespace

const std::vector<CommandLineOption> &CommandLineOption::all()
{
    // In the order --help lists them; with several faults, the first row's is named.
    static const std::vector<CommandLineOption> options = {
        {{u"help"_s, u"h"_s}, {}, u"显示用法后退出"_s, Any, flag(&CommandLine::help)},
        {{u"version"_s}, {}, u"显示版本后退出"_s, Any, flag(&CommandLine::showVersion)},
        {{u"pick"_s}, {}, u"不开窗口，采集给出的网址（一个或多个），每页一行JSON"_s, Any, flag(&CommandLine::pick)},
        {{u"demo"_s}, {}, u"打开附带的示例店铺；与 --save 同用时不开窗口"_s, Any, flag(&CommandLine::demo)},
        {{u"batch"_s}, u"地址列表"_s, u"不开窗口，批量采集列表里的地址（- 为标准输入）"_s, Any, once(&CommandLine::batch)},
        {{u"save"_s}, u"目录"_s, u"把采集结果保存到此目录，缺少时创建"_s, Saving, once(&CommandLine::save)},
        {{u"parallel"_s}, u"并行数"_s, u"同时采集的页数，1 到 4，默认 1"_s, Batch,
         integer(&CommandLine::parallel, 1, 4, "并行数须为 1 到 4 的整数")},
        {{u"collect"_s}, u"网址"_s, u"不开窗口，采集列表页（店铺、分类、搜索）上的宝贝地址，每行一个"_s, Any,
         once(&CommandLine::collect)},
        {{u"pages"_s}, u"页数"_s, u"按 下一页 最多采集的页数，1 到 100，默认只采集给出的页"_s, Collect,
         integer(&CommandLine::pages, 1, 100, "页数须为 1 到 100 的整数")},
        {{u"delay"_s}, u"秒"_s, u"两页之间的间隔，0 到 3600 秒，默认随机 2 到 5 秒"_s, Batch | Collect,
         number(&CommandLine::delay, 0, 3600, "秒数须在 0 到 3600 之间")},
        {{u"only"_s}, u"种类"_s, u"只保存这些种类，逗号分隔：main,sku,desc,video,info（info 即 商品信息.json 和 商品SKU.csv）"_s,
         Saving, choiceText(&CommandLine::only, u"--only"_s)},
        {{u"min-width"_s}, u"种类=像素"_s, u"main、sku、desc 图片的最小宽度，如 desc=450,main=300；更窄的丢弃"_s, Saving,
         choiceText(&CommandLine::minWidth, u"--min-width"_s)},
        {{u"min-height"_s}, u"种类=像素"_s, u"同上，最小高度；更低的丢弃"_s, Saving,
         choiceText(&CommandLine::minHeight, u"--min-height"_s)},
        {{u"dedupe"_s}, {}, u"同一宝贝里相同的图片只保存一次"_s, Saving, flag(&CommandLine::dedupe)},
        {{u"verbose"_s}, {}, u"另显示浏览器引擎和网页自己的消息"_s, Any, flag(&CommandLine::verbose)},
    };
    return options;
}

CommandLineOption::Road CommandLineOption::roadOf(const CommandLine &line)
{
    if (line.batch)
        return Batch;
    if (line.collect)
        return Collect;
    if (line.pick)
        return Pick;
    return line.demo ? Demo : Window;
}

QString CommandLineOption::roadNames(int roads)
{
    QStringList names;
    for (const auto &[road, name] : {std::pair{Pick, "--pick"}, std::pair{Demo, "--demo"}, std::pair{Batch, "--batch"},
                                     std::pair{Collect, "--collect"}}) {
        if (roads & road)
            names << QLatin1String(name);
    }
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(u"、"_s) + u" 或 "_s + last;
}
