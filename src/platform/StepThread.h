#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

// A worker thread that runs one step function for one pick slot. The function
// must return soon after the stop token is triggered; TerminateWin32Thread
// asks for that and waits, so no thread outlives its owner.
class StepThread
{
public:
    using StepFunction = std::function<void(std::stop_token, int slot)>;

    StepThread() = default;
    ~StepThread();
    StepThread(const StepThread &) = delete;
    StepThread &operator=(const StepThread &) = delete;

    // Returns at once; the function runs on a new thread with `slot`.
    void start(StepFunction function, int slot);
    bool IsThreadRunning() const { return m_running.load(std::memory_order_acquire); }
    void TerminateWin32Thread();

private:
    std::atomic<bool> m_running{false};
    std::jthread m_thread;
};
