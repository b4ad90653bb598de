#include "appearance/Artwork.h"
#include "appearance/Toolbar1.h"
#include "support/TestMain.h"

#include <QAction>
#include <QToolButton>

namespace {
QImage picture(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}

bool hasInk(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
    return false;
}
}

class TestToolbar1 : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureIsDrawn()
    {
        QVERIFY(hasInk(picture(Artwork::programIcon())));
        for (int n = 1; n <= 10; ++n)
            QVERIFY2(hasInk(picture(Artwork::picture(n))), qPrintable(Artwork::picturePath(n)));
        QVERIFY(Artwork::picture(0).isNull());
        QVERIFY(Artwork::picture(11).isNull());
    }

    void eightButtonsInOrder()
    {
        Toolbar1 toolbar;
        const QStringList captions = QStringLiteral("粘贴 复制 新页 主页 收藏夹 收藏 刷新 换肤").split(QLatin1Char(' '));
        const QStringList tips =
            QStringLiteral("粘贴 复制 打开新空白页 打开主页 打开收藏夹 收藏网址 刷新网页 更换软件外观").split(QLatin1Char(' '));
        const int pictures[] = {1, 2, 4, 3, 5, 6, 7, 8};
        QCOMPARE(toolbar.objectName(), QStringLiteral("Toolbar1"));
        QCOMPARE(toolbar.actions().size(), 8);
        QCOMPARE(toolbar.toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        for (int i = 0; i < 8; ++i) {
            QAction *action = toolbar.button(i + 1);
            QCOMPARE(toolbar.actions().at(i), action);
            QCOMPARE(action->text(), captions.at(i));
            QCOMPARE(action->toolTip(), tips.at(i));
            QCOMPARE(picture(action->icon()), picture(Artwork::picture(pictures[i])));
        }
        QCOMPARE(toolbar.button(0), nullptr);
        QCOMPARE(toolbar.button(9), nullptr);
    }

    void clickReportsTheButtonIndex()
    {
        Toolbar1 toolbar;
        toolbar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&toolbar));
        QSignalSpy clicked(&toolbar, &Toolbar1::buttonClicked);
        for (int index : {8, 1, 3, 4}) {
            QToolButton *button = toolbar.toolButton(index);
            QVERIFY(button);
            QCOMPARE(button->text(), toolbar.button(index)->text());
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QCOMPARE(clicked.size(), 4);
        QList<int> indexes;
        for (const QList<QVariant> &args : clicked)
            indexes << args.at(0).toInt();
        QCOMPARE(indexes, QList<int>({8, 1, 3, 4}));
    }
};

PICTORRA_TEST_MAIN(TestToolbar1)
#include "tst_toolbar1.moc"
