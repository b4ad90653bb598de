#include "main_window/TransferGuard.h"

#include "platform/Dialogs.h"

bool TransferGuard::busy() const
{
    for (const Transfer &transfer : m_transfers)
        if (transfer.busy && transfer.busy())
            return true;
    return false;
}

bool TransferGuard::mayClose(Dialogs &dialogs)
{
    if (!busy())
        return true;
    if (!dialogs.question(question()))
        return false;
    // The box ran the event loop: a transfer may have ended meanwhile, and
    // stopping an idle one must be harmless.
    for (const Transfer &transfer : m_transfers)
        if (transfer.stop && transfer.busy && transfer.busy())
            transfer.stop();
    return true;
}

QString TransferGuard::question()
{
    return QStringLiteral("下载尚未完成，确定退出吗？");
}
