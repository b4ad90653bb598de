#include "platform/StepThread.h"

StepThread::~StepThread()
{
    TerminateWin32Thread();
}

void StepThread::start(StepFunction function, int slot)
{
    TerminateWin32Thread();
    m_running.store(true, std::memory_order_release);
    m_thread = std::jthread([this, function = std::move(function), slot](std::stop_token stop) {
        function(stop, slot);
        m_running.store(false, std::memory_order_release);
    });
}

void StepThread::TerminateWin32Thread()
{
    if (!m_thread.joinable())
        return;
    m_thread.request_stop();
    m_thread.join();
}
