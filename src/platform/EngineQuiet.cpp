#include "platform/EngineQuiet.h"

#include <cstring>

namespace EngineQuiet {

namespace {
QtMessageHandler previous = nullptr;

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!shown(type, context.category))
        return;
    if (previous)
        previous(type, context, message);
}
} // namespace

QByteArray chromiumFlags(const QByteArray &flags)
{
    if (flags.contains("--log-level") || flags.contains("--enable-logging"))
        return flags;
    return (flags.trimmed() + " --log-level=3").trimmed();
}

bool shown(QtMsgType type, const char *category)
{
    if (type == QtFatalMsg)
        return true;
    if (type != QtCriticalMsg || !category)
        return false;
    // "js" carries a page's console.error; "qt.webengine…" the engine's notes.
    return std::strcmp(category, "js") != 0 && std::strncmp(category, "qt.webengine", 12) != 0;
}

void install()
{
    previous = qInstallMessageHandler(handler);
}

} // namespace EngineQuiet
