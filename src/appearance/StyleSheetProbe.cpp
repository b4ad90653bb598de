#include "appearance/StyleSheetProbe.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<StyleSheetProbe *> activeProbe{nullptr};
std::atomic<QtMessageHandler> previousHandler{nullptr};
}

StyleSheetProbe::StyleSheetProbe() : m_thread(QThread::currentThread()), m_outer(activeProbe.load())
{
    if (!m_outer)
        previousHandler.store(qInstallMessageHandler(&StyleSheetProbe::handler));
    activeProbe.store(this);
}

StyleSheetProbe::~StyleSheetProbe()
{
    activeProbe.store(m_outer);
    if (!m_outer)
        qInstallMessageHandler(previousHandler.load());
}

void StyleSheetProbe::handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    StyleSheetProbe *probe = activeProbe.load();
    if (probe && probe->m_thread == QThread::currentThread()
        && message.startsWith(QLatin1String("Could not parse"))) {
        for (; probe; probe = probe->m_outer)
            probe->m_failed = true;
        return;
    }
    if (const QtMessageHandler next = previousHandler.load()) {
        next(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
