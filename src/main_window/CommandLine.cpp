#include "main_window/CommandLine.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

const char CommandLine::version[] = PICTORRA_VERSION;

const char CommandLine::usage[] = "用法: pictorra [--pick 网址 [网址 ...] [--save 目录]] [--verbose]\n"
                                  "      pictorra --demo [--save 目录] [--verbose]\n"
                                  "      pictorra --batch 地址列表 --save 目录 [--parallel 并行数] [--delay 秒] [--verbose]\n"
                                  "      pictorra --help | --version\n"
                                  "标准输出每页一行JSON；进度和汇总写到标准错误。--verbose 另显示浏览器引擎和网页自己的消息。\n";

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            line.help = true;
        else if (argument == QLatin1String("--version"))
            line.showVersion = true;
        else if (argument == QLatin1String("--verbose"))
            line.verbose = true;
        else if (argument == QLatin1String("--pick") && !line.demo)
            line.pick = true;
        else if (argument == QLatin1String("--demo") && !line.pick)
            line.demo = true;
        else if (argument == QLatin1String("--save") && i + 1 < arguments.size() && !line.save)
            line.save = arguments.at(++i);
        else if (line.parseBatchArgument(arguments, i))
            continue;
        else if (line.pick && !argument.startsWith(QLatin1String("--")))
            line.addresses.append(argument);
        else
            line.valid = false;
    }
    if (line.pick && line.addresses.isEmpty())
        line.valid = false;
    if (line.save && !line.pick && !line.demo && !line.batch)
        line.valid = false;
    if (!line.batchComplete())
        line.valid = false;
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

bool CommandLine::parseBatchArgument(const QStringList &arguments, int &i)
{
    const QString &argument = arguments.at(i);
    if (i + 1 >= arguments.size() || pick || demo)
        return false;
    const QString value = arguments.at(i + 1);
    bool ok = true;
    if (argument == QLatin1String("--batch") && !batch)
        batch = value;
    else if (argument == QLatin1String("--parallel"))
        parallel = value.toInt(&ok);
    else if (argument == QLatin1String("--delay"))
        delay = value.toDouble(&ok);
    else
        return false;
    ++i;
    valid = valid && ok;
    return true;
}

bool CommandLine::batchComplete() const
{
    const bool options = parallel != 1 || delay != -1;
    if (!batch)
        return !options;
    return save && !pick && !demo && parallel >= 1 && parallel <= 4 && (delay == -1 || (delay >= 0 && delay <= 3600));
}
