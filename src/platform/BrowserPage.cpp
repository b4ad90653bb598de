#include "platform/BrowserPage.h"

#include <QPointer>

void BrowserPage::readListPage(int maxLinks, bool pressNext, QObject *context, ListCallback done)
{
    Q_UNUSED(maxLinks)
    Q_UNUSED(pressNext)
    // Answered later, as a real read is: the caller's state is settled by then.
    QPointer<QObject> guard(context);
    QMetaObject::invokeMethod(this, [guard, done] {
        if (guard)
            done(ListPage());
    }, Qt::QueuedConnection);
}
