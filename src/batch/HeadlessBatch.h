#pragma once

#include <QString>

class Engine;
class TerminalProgress;

// `pictorra --batch LIST --save DIR`: the batch without a screen. One JSON
// line per address on standard output as it ends; on `progress` the bar,
// why the run stopped, and a closing summary. Returns the exit code: 0 when every address
// was saved completely, 1 otherwise, 2 when LIST or DIR cannot be used.
namespace HeadlessBatch {

struct Options
{
    QString list;
    QString saveFolder;
    int parallel = 1;
    double delaySeconds = -1; // below zero: a random 2-5 s
};

int run(Engine &engine, const Options &options, TerminalProgress &progress);

} // namespace HeadlessBatch
