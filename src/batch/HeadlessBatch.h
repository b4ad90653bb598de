#pragma once

#include "download/SaveChoice.h"

#include <QString>

class Engine;
class TerminalProgress;

// `pictorra --batch LIST --save DIR`: the batch without a screen. LIST "-"
// is standard input; it and a named pipe are read as they are written, each
// address starting as its line arrives. One JSON
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
    SaveChoice choice;        // a folder whose journal has a batch keeps that one's
};

int run(Engine &engine, const Options &options, TerminalProgress &progress);

} // namespace HeadlessBatch
