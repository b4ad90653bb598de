#include "platform/StepThread.h"
#include "support/TestMain.h"

#include <atomic>

class StepThreadTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void runsTheStepFunctionForItsSlot()
    {
        std::atomic<int> seenSlot{-1};
        std::atomic<bool> stop{false};
        StepThread thread;
        thread.start([&](std::stop_token, int slot) {
            seenSlot = slot;
            while (!stop)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }, 7);
        QTRY_COMPARE(seenSlot.load(), 7);
        QVERIFY(thread.IsThreadRunning());
        stop = true;
        QTRY_VERIFY(!thread.IsThreadRunning());
    }

    void terminateEndsALoopThatWouldRunForEver()
    {
        StepThread thread;
        thread.start([](std::stop_token token, int) {
            while (!token.stop_requested())
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }, 1);
        QVERIFY(thread.IsThreadRunning());
        thread.TerminateWin32Thread();
        QVERIFY(!thread.IsThreadRunning());
        thread.TerminateWin32Thread();  // a second call is harmless
    }

    void destroyingARunningThreadJoinsIt()
    {
        std::atomic<bool> ended{false};
        {
            StepThread thread;
            thread.start([&](std::stop_token token, int) {
                while (!token.stop_requested())
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                ended = true;
            }, 2);
        }
        QVERIFY(ended);
    }
};

PICTORRA_TEST_MAIN(StepThreadTest)
#include "tst_stepthread.moc"
