#include "main_window/CommandLine.h"

#include "main_window/CommandLineOption.h"

#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// Columns of a terminal: Chinese characters take two.
qsizetype displayWidth(const QString &text)
{
    return std::accumulate(text.cbegin(), text.cend(), qsizetype(0),
                           [](qsizetype width, QChar c) { return width + (c.unicode() >= 0x2E80 ? 2 : 1); });
}

QString helpColumn(const CommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names)
        names.prepend((name.size() == 1 ? u"-"_s : u"--"_s) + name);
    return names.join(u", "_s) + (option.valueName.isEmpty() ? QString() : u' ' + option.valueName);
}

} // namespace

QString CommandLine::helpText()
{
    const auto &options = CommandLineOption::all();
    qsizetype width = 0;
    for (const CommandLineOption &option : options)
        width = std::max(width, displayWidth(helpColumn(option)));
    QString text = QString::fromUtf8(usage) + u"选项:\n"_s;
    for (const CommandLineOption &option : options) {
        const QString column = helpColumn(option);
        text += u"  "_s + column + QString(width - displayWidth(column) + 2, u' ') + option.description + u'\n';
    }
    return text;
}
