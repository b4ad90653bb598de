#include "main_window/CommandLine.h"

#include "base/DisplayText.h"
#include "main_window/CommandLineOption.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

const char CommandLine::version[] = PICTORRA_VERSION;

const char CommandLine::usage[] = "用法: pictorra [--pick 网址 [网址 ...] [--save 目录]] [--verbose]\n"
                                  "      pictorra --demo [--save 目录] [--verbose]\n"
                                  "      pictorra --batch 地址列表 --save 目录 [--parallel 并行数] [--delay 秒] [--verbose]\n"
                                  "      pictorra --collect 网址 [--pages 页数] [--delay 秒] [--verbose]\n"
                                  "      pictorra --help | --version\n"
                                  "保存时（--save）可用 --only、--min-width、--min-height、--dedupe 选择保存什么，不给时按“选项”中的设置。\n"
                                  "标准输出每页一行JSON（--collect 每行一个宝贝地址）；进度和汇总写到标准错误。\n"
                                  "--verbose 另显示浏览器引擎和网页自己的消息。\n";

namespace {

QString optionName(const QString &argument)
{
    return argument.mid(argument.startsWith(u"--"_s) ? 2 : 1).section(u'=', 0, 0);
}

const CommandLineOption *optionNamed(const QString &name)
{
    const auto &options = CommandLineOption::all();
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const CommandLineOption &option) { return option.names.contains(name); });
    return found == options.end() ? nullptr : &*found;
}

// Qt's parser says what is wrong only in English and keeps only the option's
// name; this finds the argument as it was typed and says it in our words.
QString syntaxFault(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    for (qsizetype i = 1; i < arguments.size() && arguments.at(i) != u"--"_s; ++i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(u'-') || argument.size() == 1)
            continue;
        const QString name = optionName(argument);
        if (!unknown.isEmpty()) {
            if (name == unknown.first())
                return u"未知的选项 %1"_s.arg(TerminalText(argument));
            continue;
        }
        const CommandLineOption *option = optionNamed(name);
        const qsizetype assign = argument.indexOf(u'=');
        if (!option || assign >= 0) {
            if (option && option->valueName.isEmpty())
                return u"%1 不带值: %2"_s.arg(option->shownName(), TerminalText(argument.mid(assign + 1)));
            continue;
        }
        if (!option->valueName.isEmpty() && ++i == arguments.size())
            return u"%1 后缺少值"_s.arg(option->shownName());
    }
    return TerminalText(parser.errorText());
}

void checkCombination(CommandLine &line, const QCommandLineParser &parser)
{
    if (line.pick && line.demo)
        line.refuse(u"--pick 和 --demo 不能同用"_s);
    else if (line.pick && line.addresses.isEmpty())
        line.refuse(u"--pick 后缺少网址"_s);
    else if (line.batch && (line.pick || line.demo))
        line.refuse(u"--batch %1: 不能与 --pick 或 --demo 同用"_s.arg(TerminalText(*line.batch)));
    else if (line.batch && !line.save)
        line.refuse(u"--batch %1: 缺少 --save 目录"_s.arg(TerminalText(*line.batch)));
    else if (line.collect && (line.pick || line.demo || line.batch))
        line.refuse(u"--collect %1: 不能与 --pick、--demo 或 --batch 同用"_s.arg(TerminalText(*line.collect)));
    else if (line.collect && !QStringList{u"http"_s, u"https"_s}.contains(QUrl::fromUserInput(*line.collect).scheme()))
        line.refuse(u"--collect %1: 不是网页地址"_s.arg(TerminalText(*line.collect)));
    else if ((line.only || line.minWidth || line.minHeight || line.dedupe) && !line.save)
        line.refuse(u"--only、--min-width、--min-height 和 --dedupe 须与 --save 同用"_s);
    // Each option goes only with the main options its row names.
    const CommandLineOption::Road road = CommandLineOption::roadOf(line);
    for (const CommandLineOption &option : CommandLineOption::all()) {
        if (!parser.isSet(option.names.first()) || (option.roads & road))
            continue;
        const QString value = parser.values(option.names.first()).value(0);
        line.refuse(u"%1%2: 须与 %3 同用"_s.arg(option.shownName(), value.isEmpty() ? QString() : u' ' + TerminalText(value),
                                                  CommandLineOption::roadNames(option.roads)));
    }
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-fast" is one unknown option, not four.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const CommandLineOption &option : CommandLineOption::all())
        parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
    CommandLine line;
    if (!parser.parse(arguments))
        line.refuse(syntaxFault(parser, arguments));
    // Taken even from a faulty line: --help and --version answer whatever else it holds.
    for (const CommandLineOption &option : CommandLineOption::all()) {
        const QString &name = option.names.first();
        const QStringList values = !parser.isSet(name) ? QStringList()
                                   : option.valueName.isEmpty() ? QStringList{QString()}
                                                                : parser.values(name);
        for (const QString &value : values) {
            if (const auto reason = option.take(line, value))
                line.refuse(option.shownName() + u' ' + *reason);
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (line.pick)
        line.addresses = positional;
    else if (!positional.isEmpty())
        line.refuse(u"多余的参数 %1"_s.arg(TerminalText(positional.first())));
    checkCombination(line, parser);
    return line;
}

std::optional<QString> CommandLine::saveFolderProblem(const QString &folder)
{
    // A missing folder is made with its parents, as `mkdir -p` would; only one
    // that cannot be made is refused, with the system's reason.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
    if (error)
        return QStringLiteral("pictorra: %1: %2\n").arg(folder, QString::fromLocal8Bit(error.message()));
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable())
        return QStringLiteral("pictorra: 无法写入 %1\n").arg(folder);
    return std::nullopt;
}

SaveChoice CommandLine::choiceOver(const SaveChoice &settings) const
{
    // Checked when the line was read: these cannot fail here.
    SaveChoice choice = settings.rulesOnly();
    if (only)
        choice.parseOnly(*only);
    if (minWidth)
        choice.parseMin(u"--min-width"_s, *minWidth);
    if (minHeight)
        choice.parseMin(u"--min-height"_s, *minHeight);
    choice.dedupe = choice.dedupe || dedupe;
    return choice;
}

void CommandLine::refuse(const QString &reason)
{
    // The first fault is the one named: the later ones often follow from it.
    if (valid)
        refusal = reason;
    valid = false;
}
