#include "main_window/MainLayout.h"
#include "main_window/TabBook.h"
#include "support/TestMain.h"

class TabBookTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void smallestFreeIndexFillsGaps()
    {
        TabBook book;
        QCOMPARE(book.smallestFreeIndex(), 0);
        book.TabList = {0, 2};
        QCOMPARE(book.smallestFreeIndex(), 1);
        book.TabList = {2, 1, 0};
        QCOMPARE(book.smallestFreeIndex(), 3);
        book.TabList = {1, 2};
        QCOMPARE(book.smallestFreeIndex(), 0);
    }

    void positionsAreOneBasedWithZeroForNone()
    {
        TabBook book;
        book.TabList = {0, 2, 1};
        QCOMPARE(book.TabPosition(1), 3);
        QCOMPARE(book.TabPosition(7), 0);
    }

    void layoutKeepsTheDesignOffsets()
    {
        const MainLayout layout = MainLayout::compute(815, 464);
        QVERIFY(layout.browsersMoved);
        QCOMPARE(layout.browser, QRect(247, 64, 568, 384));
        QCOMPARE(layout.mesg, QRect(247, 70, 568, 16));  // below the address strip
        QCOMPARE(layout.tabStrip, QRect(0, 64, 230, 384));
        QCOMPARE(layout.closeButton.topLeft(), QPoint(230, 64));
        QCOMPARE(layout.urladress, QRect(56, 4, 575, 20));
        // The buttons keep their distance from the right edge.
        QCOMPARE(layout.pickButton.left(), 815 - 118 - 65);
        QCOMPARE(layout.downloadButton.left(), 815 - 118);

        const MainLayout wide = MainLayout::compute(1600, 900);
        QCOMPARE(wide.browser, QRect(247, 64, 1353, 820));
        QCOMPARE(wide.tabStrip.width(), 230);
        QCOMPARE(wide.downloadButton.right() + 1, 1600 - 53);
    }

    void theStartPlaceFitsTheScreen()
    {
        const QRect wanted(296, 192, 815, 487);
        const QMargins frame(4, 30, 4, 4);
        // Room enough: exactly where the design puts it.
        QCOMPARE(MainLayout::startGeometry(wanted, frame, QRect(0, 0, 1920, 1080)), wanted);
        // 1024 x 600: moved up and left first, then nothing cut.
        const QRect small(0, 0, 1024, 600);
        const QRect moved = MainLayout::startGeometry(wanted, frame, small);
        QCOMPARE(moved.size(), wanted.size());
        QVERIFY(small.contains(moved.marginsAdded(frame)));
        // Smaller than the window (a scaled screen): shrunk to fit, frame included.
        const QRect tiny(0, 24, 640, 480);
        const QRect fitted = MainLayout::startGeometry(wanted, frame, tiny);
        QCOMPARE(fitted.marginsAdded(frame), tiny);
    }

    void tooSmallAreaMovesNothingButTheToolbar()
    {
        QVERIFY(!MainLayout::compute(240, 400).browsersMoved);
        QVERIFY(!MainLayout::compute(800, 79).browsersMoved);
        QVERIFY(MainLayout::compute(248, 80).browsersMoved);
        QCOMPARE(MainLayout::compute(240, 400).toolbar, QRect(0, 0, 240, 42));
    }
};

PICTORRA_TEST_MAIN(TabBookTest)
#include "tst_tabbook.moc"
