#include "picking/ScrollRun.h"
#include "support/TestMain.h"

class ScrollRunTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theDistanceGrowsWithTimeAndEachTickScrollsByIt()
    {
        ScrollRun run(20);
        run.start(3000);
        run.ScorllStepAdd(19);
        QCOMPARE(run.distance(), 0.0);
        run.ScorllStepAdd(1000);  // fifty steps of 10
        QCOMPARE(run.distance(), 500.0);
        run.ScorllStepAdd(1010);  // the part of a step left over still counts later
        QCOMPARE(run.distance(), 500.0);
        run.ScorllStepAdd(1020);
        QCOMPARE(run.distance(), 510.0);
        QCOMPARE(run.step(3000).scrollBy, 510.0);
        QVERIFY(!run.step(3000).reachedEnd);
        run.ScorllStepAdd(6000);
        QCOMPARE(run.distance(), 3000.0);
        QVERIFY(run.step(3000).reachedEnd);  // equality is the end
    }

    void everyFifthSecondSamplesAndAStillPageDoublesTheStep()
    {
        ScrollRun run(20);
        run.start(2000);
        for (int second = 1; second <= 15; ++second)
            QCOMPARE(run.countSecond(), second % 5 == 0);
        QCOMPARE(run.seconds(), 15.0);
        run.sample(2500);  // grown: the step stays
        QCOMPARE(run.stepSize(), qint16(10));
        run.sample(2500);
        run.sample(2500);
        QCOMPARE(run.stepSize(), qint16(40));
        run.ScorllStepAdd(20);
        QCOMPARE(run.distance(), 40.0);
        for (int i = 0; i < 20; ++i)
            run.sample(2500);
        QCOMPARE(run.stepSize(), ScrollRun::MaxStep);
    }
};

PICTORRA_TEST_MAIN(ScrollRunTest)
#include "tst_scroll_run.moc"
