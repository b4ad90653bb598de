#pragma once

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

struct CommandLine;

// One option of the command line. A new option is one more row in `all()`
// (CommandLineOption.cpp) and, for its value, one more field of
// `CommandLine`; the parser, the scope check and --help go by the rows.
struct CommandLineOption
{
    // What a line runs, as its main option says; an option names those it goes with.
    enum Road { Window = 1, Pick = 2, Demo = 4, Batch = 8, Saving = Pick | Demo | Batch, Any = 15 };

    // Puts a value (empty for a switch) into the request; when the value is
    // refused, why, after the option's name ("5: 并行数须为 …").
    using Take = std::function<std::optional<QString>(CommandLine &, const QString &value)>;

    QStringList names;               // the long name first, without dashes
    QString valueName;               // empty for a switch
    QString description;             // what --help says of it
    int roads = Any;
    Take take;

    QString shownName() const { return QLatin1String("--") + names.first(); }

    static const std::vector<CommandLineOption> &all();
    static Road roadOf(const CommandLine &line);
    // "--pick、--demo 或 --batch": the main options of `roads`.
    static QString roadNames(int roads);
};
