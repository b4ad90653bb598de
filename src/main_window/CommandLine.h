#pragma once

#include "download/SaveChoice.h"

#include <QStringList>

#include <optional>

// What the program was asked to do on its command line: a plain value that
// `parse` fills from the options of `CommandLineOption::all()`.
struct CommandLine
{
    static const char usage[];

    static const char version[];     // the program's version, as the build names it

    bool valid = true;
    QString refusal;                 // when not valid: why, naming the option and its value
    bool help = false;               // --help: the usage, and nothing else
    bool showVersion = false;        // --version
    bool verbose = false;            // --verbose: the engine's and the pages' own messages too
    bool pick = false;               // --pick URL [URL ...]
    bool demo = false;               // --demo: the bundled sample shop
    QStringList addresses;
    std::optional<QString> save;     // --save DIR
    std::optional<QString> batch;    // --batch LIST --save DIR [--parallel N] [--delay S]
    std::optional<QString> collect;  // --collect URL [--pages N] [--delay S]
    int pages = 1;                   // of --collect: the given page only unless told
    int parallel = 1;
    double delay = -1;               // seconds; below zero: the batch's random pause
    // --only, --min-width, --min-height, --dedupe: what --save and --batch
    // keep of each item, over what 选项 holds (see choiceOver). Checked when read.
    std::optional<QString> only;
    std::optional<QString> minWidth;
    std::optional<QString> minHeight;
    bool dedupe = false;

    // `arguments` as main() got them, the program's name first.
    static CommandLine parse(const QStringList &arguments);
    // What --help prints: the usage, then every option with what it does.
    static QString helpText();
    // Runs without a screen: picks (and saves) and ends by itself.
    bool headless() const { return pick || batch || collect || (demo && save); }
    // Makes a missing `folder` with its parents; why it cannot take the
    // pictures (the system's reason), nothing when it can.
    static std::optional<QString> saveFolderProblem(const QString &folder);

    // `settings` (what 选项 holds) with the options of this line over it.
    SaveChoice choiceOver(const SaveChoice &settings) const;

    void refuse(const QString &reason);
};
