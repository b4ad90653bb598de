#include "main_window/CommandLine.h"

#include <QFileInfo>

const char CommandLine::usage[] = "usage: pictorra [--pick URL [URL ...] [--save DIR]]\n"
                                  "       pictorra --demo [--save DIR]\n";

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--pick") && !line.demo)
            line.pick = true;
        else if (argument == QLatin1String("--demo") && !line.pick)
            line.demo = true;
        else if (argument == QLatin1String("--save") && i + 1 < arguments.size() && !line.save)
            line.save = arguments.at(++i);
        else if (line.pick && !argument.startsWith(QLatin1String("--")))
            line.addresses.append(argument);
        else
            line.valid = false;
    }
    if (line.pick && line.addresses.isEmpty())
        line.valid = false;
    if (line.save && !line.pick && !line.demo)
        line.valid = false;
    return line;
}

std::optional<QString> CommandLine::saveFolderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return QStringLiteral("pictorra: the folder %1 does not exist\n").arg(folder);
    if (!info.isDir() || !info.isWritable())
        return QStringLiteral("pictorra: cannot write into %1\n").arg(folder);
    return std::nullopt;
}
