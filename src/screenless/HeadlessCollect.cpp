#include "screenless/HeadlessCollect.h"

#include "base/DisplayText.h"
#include "batch/BatchRunner.h"
#include "collecting/Collection.h"

#include <QEventLoop>
#include <QUrl>

#include <cstdio>

namespace HeadlessCollect {

int run(Engine &engine, const Options &options)
{
    Collection collection(engine);
    collection.setPages(options.pages);
    collection.setPauseOnBlock(false);
    if (options.delaySeconds >= 0)
        collection.setDelay([ms = int(options.delaySeconds * 1000)] { return ms; });
    else
        collection.setDelay(BatchRunner::randomDelay(2000, 5000));
    QEventLoop loop;
    QObject::connect(&collection, &Collection::finished, &loop, &QEventLoop::quit);
    collection.start(QUrl::fromUserInput(options.address).toString(QUrl::FullyEncoded));
    if (collection.state() != Collection::State::Finished)
        loop.exec();
    for (const QString &address : collection.addresses())
        std::fprintf(stdout, "%s\n", address.toUtf8().constData());
    std::fflush(stdout);
    if (!collection.problem().isEmpty())
        std::fprintf(stderr, "pictorra: %s\n", TerminalText(collection.problem()).toLocal8Bit().constData());
    std::fprintf(stderr, "%s\n", collection.summary().toLocal8Bit().constData());
    return collection.addresses().isEmpty() ? 1 : 0;
}

} // namespace HeadlessCollect
