#pragma once

#include <QtGlobal>

class QThread;

// Qt answers a style sheet it cannot parse with a warning only, and then uses
// whatever part it managed to read. While a probe lives, that warning is
// caught (and kept off the log) for the thread that made the probe; every
// other message goes on to the handler that was there before.
class StyleSheetProbe
{
public:
    StyleSheetProbe();
    ~StyleSheetProbe();
    StyleSheetProbe(const StyleSheetProbe &) = delete;
    StyleSheetProbe &operator=(const StyleSheetProbe &) = delete;

    bool parseFailed() const { return m_failed; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QThread *m_thread;
    StyleSheetProbe *m_outer;
    bool m_failed = false;
};
