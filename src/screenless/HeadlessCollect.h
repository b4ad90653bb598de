#pragma once

#include <QString>

class Engine;

// `pictorra --collect URL [--pages N]`: the product addresses of a list page
// (and of its next pages), one a line on standard output, so that --batch
// reads the output as it is; the summary (共N页，找到M个宝贝地址) on standard
// error. Nobody is there to pass a verification: it ends the collection.
namespace HeadlessCollect {

struct Options
{
    QString address;
    int pages = 1;
    double delaySeconds = -1;  // below zero: the batch's random 2-5 s
};

// Runs the event loop until the collection ends. The exit code: 0 when an
// address was found, 1 when none was.
int run(Engine &engine, const Options &options);

} // namespace HeadlessCollect
