#pragma once

#include <QString>

#include <functional>
#include <vector>

class Dialogs;

// Whoever moves pictures (the 下载 button, the batch window) says here how to
// tell that it is under way and how to stop it without leaving half a file,
// so that closing the window never cuts a transfer off unasked.
class TransferGuard
{
public:
    using Busy = std::function<bool()>;
    using Stop = std::function<void()>;

    void add(Busy busy, Stop stop) { m_transfers.push_back({std::move(busy), std::move(stop)}); }
    bool busy() const;
    // Nothing under way, or the user agreed and everything was stopped: true.
    bool mayClose(Dialogs &dialogs);

    static QString question();

private:
    struct Transfer
    {
        Busy busy;
        Stop stop;
    };
    std::vector<Transfer> m_transfers;
};
