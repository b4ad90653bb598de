#pragma once

#include <QStringList>

#include <optional>

// What the program was asked to do on its command line.
struct CommandLine
{
    static const char usage[];

    bool valid = true;
    bool pick = false;               // --pick URL [URL ...]
    bool demo = false;               // --demo: the bundled sample shop
    QStringList addresses;
    std::optional<QString> save;     // --save DIR

    // `arguments` as main() got them, the program's name first.
    static CommandLine parse(const QStringList &arguments);
    // Runs without a screen: picks (and saves) and ends by itself.
    bool headless() const { return pick || (demo && save); }
    // Why `folder` cannot take the pictures; nothing when it can.
    static std::optional<QString> saveFolderProblem(const QString &folder);
};
