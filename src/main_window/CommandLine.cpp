#include "main_window/CommandLine.h"

#include "base/DisplayText.h"

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
        else if (argument == QLatin1String("--pick"))
            line.pick = true;
        else if (argument == QLatin1String("--demo"))
            line.demo = true;
        else if (line.parseValue(arguments, i))
            continue;
        else if (line.pick && !argument.startsWith(QLatin1String("--")))
            line.addresses.append(argument);
        else if (argument.startsWith(u'-'))
            line.refuse(QStringLiteral("未知的选项 %1").arg(TerminalText(argument)));
        else
            line.refuse(QStringLiteral("多余的参数 %1").arg(TerminalText(argument)));
    }
    line.checkCombination();
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

// The options that take a value: true when `arguments[i]` is one, with
// `i` moved past its value.
bool CommandLine::parseValue(const QStringList &arguments, int &i)
{
    const QString &option = arguments.at(i);
    const bool isSave = option == QLatin1String("--save"), isBatch = option == QLatin1String("--batch");
    const bool isParallel = option == QLatin1String("--parallel"), isDelay = option == QLatin1String("--delay");
    if (!isSave && !isBatch && !isParallel && !isDelay)
        return false;
    if (i + 1 >= arguments.size()) {
        refuse(QStringLiteral("%1 后缺少值").arg(option));
        return true;
    }
    const QString value = arguments.at(++i);
    const QString shown = TerminalText(value);
    bool ok = true;
    if (isParallel)
        parallel = value.toInt(&ok);
    if (isDelay)
        delay = value.toDouble(&ok);
    if ((isSave && save) || (isBatch && batch))
        refuse(QStringLiteral("%1 只能给一次: %2").arg(option, shown));
    else if (isSave)
        save = value;
    else if (isBatch)
        batch = value;
    else if (isParallel && (!ok || parallel < 1 || parallel > 4))
        refuse(QStringLiteral("--parallel %1: 并行数须为 1 到 4 的整数").arg(shown));
    // Written so that NaN is refused too; -1, the value a missing --delay
    // leaves, is refused like any other below zero.
    else if (isDelay && (!ok || !(delay >= 0 && delay <= 3600)))
        refuse(QStringLiteral("--delay %1: 秒数须在 0 到 3600 之间").arg(shown));
    if ((isParallel || isDelay) && m_batchOnly.isEmpty())
        m_batchOnly = option;
    return true;
}

void CommandLine::checkCombination()
{
    if (pick && demo)
        refuse(QStringLiteral("--pick 和 --demo 不能同用"));
    else if (pick && addresses.isEmpty())
        refuse(QStringLiteral("--pick 后缺少网址"));
    else if (batch && (pick || demo))
        refuse(QStringLiteral("--batch 不能与 --pick 或 --demo 同用"));
    else if (batch && !save)
        refuse(QStringLiteral("--batch %1: 缺少 --save 目录").arg(TerminalText(*batch)));
    else if (!batch && !m_batchOnly.isEmpty())
        refuse(QStringLiteral("%1 只用于 --batch").arg(m_batchOnly));
    else if (save && !pick && !demo && !batch)
        refuse(QStringLiteral("--save %1: 须与 --pick、--demo 或 --batch 同用").arg(TerminalText(*save)));
}

void CommandLine::refuse(const QString &reason)
{
    // The first fault is the one named: the later ones often follow from it.
    if (valid)
        refusal = reason;
    valid = false;
}
