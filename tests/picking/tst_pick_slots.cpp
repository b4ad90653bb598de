#include "picking/PickSlots.h"
#include "support/TestMain.h"

#include <thread>

class PickSlotsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void slotZeroIsReservedAndFreedSlotsComeBack()
    {
        PickSlots slots_;
        QCOMPARE(slots_.AllocSlot(), std::optional<int>(1));
        QCOMPARE(slots_.AllocSlot(), std::optional<int>(2));
        slots_.release(1);
        QCOMPARE(slots_.SlotList, (QList<int>{0, 2}));
        QCOMPARE(slots_.AllocSlot(), std::optional<int>(1));
        QCOMPARE(slots_.SlotPosition(1), 3);
        QCOMPARE(slots_.SlotPosition(9), 0);
        slots_.release(0);
        QCOMPARE(slots_.SlotList.first(), 0);
    }

    void allSlotsTakenGivesNone()
    {
        PickSlots slots_;
        for (int i = 1; i < PickSlots::SlotCount; ++i)
            QCOMPARE(slots_.AllocSlot(), std::optional<int>(i));
        QCOMPARE(slots_.AllocSlot(), std::nullopt);
        QCOMPARE(slots_.SlotList.size(), 256);
    }

    void ticksScrollByTheWholeDistanceUntilTheEnd()
    {
        PickSlots slots_;
        slots_.startScrolling(1);
        slots_.ScrollPos[1] = 500;
        PickSlots::Tick tick = slots_.tick(1, 3000);
        QVERIFY(!tick.reachedEnd);
        QCOMPARE(tick.scrollBy, 500.0);
        QVERIFY(!tick.takeSample);
        QCOMPARE(slots_.PickSeconds[1], 1.0);
        slots_.ScrollPos[1] = 3000;  // equality is the end
        QVERIFY(slots_.tick(1, 3000).reachedEnd);
        slots_.ScrollPos[1] = 3001;
        QVERIFY(slots_.tick(1, 3000).reachedEnd);
    }

    void everyFifthSecondSamplesTheHeight()
    {
        PickSlots slots_;
        slots_.startScrolling(1);
        slots_.PageHeight[1] = 2000;
        QList<bool> samples;
        for (int second = 1; second <= 15; ++second)
            samples.append(slots_.tick(1, 1e9).takeSample);
        for (int second = 1; second <= 15; ++second)
            QCOMPARE(samples[second - 1], second % 5 == 0);

        // A grown page keeps the step; an unchanged one doubles it.
        slots_.sample(1, 2500);
        QCOMPARE(slots_.ScrollStep[1].load(), qint16(10));
        QCOMPARE(slots_.PageHeight[1], 2500.0);
        slots_.sample(1, 2500);
        QCOMPARE(slots_.ScrollStep[1].load(), qint16(20));
        slots_.sample(1, 2500);
        slots_.sample(1, 2500);
        QCOMPARE(slots_.ScrollStep[1].load(), qint16(80));
        slots_.sample(1, 2600);
        QCOMPARE(slots_.ScrollStep[1].load(), qint16(80));
    }

    void theStepSaturatesInsteadOfOverflowing()
    {
        PickSlots slots_;
        slots_.startScrolling(3);
        for (int i = 0; i < 20; ++i)
            slots_.sample(3, 100);
        QCOMPARE(slots_.ScrollStep[3].load(), PickSlots::MaxStep);
    }

    void theStepThreadAdvancesUntilToldToStop()
    {
        PickSlots slots_;
        slots_.startScrolling(2);
        std::jthread thread([&](std::stop_token stop) { slots_.ScorllStepAdd(stop, 2, 1); });
        QTRY_VERIFY(slots_.ScrollPos[2].load() >= 50);
        slots_.ScrollStep[2] = 1000;
        QTRY_VERIFY(slots_.ScrollPos[2].load() >= 5000);
        slots_.stopScrolling(2);
        thread.join();
        QCOMPARE(slots_.ScrollRun[2].load(), qint16(0));
    }
};

PICTORRA_TEST_MAIN(PickSlotsTest)
#include "tst_pick_slots.moc"
