#include "main_window/AddressStrip.h"

#include "main_window/DroppedAddress.h"
#include "main_window/MainLayout.h"

#include <QComboBox>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
QPushButton *button(const QString &name, const QString &caption, const QString &toolTip, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(toolTip);
    return b;
}
}

AddressStrip::AddressStrip(QWidget *parent)
    : QWidget(parent),
      goback(button(QStringLiteral("goback"), QStringLiteral("<"), QStringLiteral("后退"), this)),
      GoForward(button(QStringLiteral("GoForward"), QStringLiteral(">"), QStringLiteral("前进"), this)),
      urladress(new QComboBox(this)),
      pick_B(button(QStringLiteral("pick_B"), QStringLiteral("采集&P"), QStringLiteral("Alt+P"), this)),
      DownLoad_B(button(QStringLiteral("DownLoad_B"), QStringLiteral("下载&D"), QStringLiteral("Alt+D"), this))
{
    setObjectName(QStringLiteral("picAddress"));
    urladress->setObjectName(QStringLiteral("urladress"));
    urladress->setEditable(true);
    urladress->setInsertPolicy(QComboBox::NoInsert);
    urladress->setToolTip(QStringLiteral("可直接输入产品详情页的网址进行采集"));
    goback->setGeometry(0, 0, MainLayout::px(375), MainLayout::px(375));
    GoForward->setGeometry(MainLayout::px(360), 0, MainLayout::px(375), MainLayout::px(375));
    // No inline completion: it would change what the user typed (letter case
    // included) before Enter reads it.
    urladress->setCompleter(nullptr);
    // Keys go to the box, the focus proxy of its line edit, which passes them
    // on past any filter; a Return sent to the line edit itself comes up to
    // the box unhandled.
    urladress->installEventFilter(this);
    // A dropped address takes the place of what the box holds, not a place inside it.
    urladress->lineEdit()->installEventFilter(this);
}

bool AddressStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == urladress && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            emit addressEntered(address());
    }
    if (watched == urladress->lineEdit() && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (const QString dropped = DroppedAddress(drop->mimeData()); !dropped.isEmpty()) {
            setAddress(dropped);
            urladress->setFocus(Qt::OtherFocusReason);
            drop->acceptProposedAction();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString AddressStrip::address() const
{
    return urladress->currentText();
}

void AddressStrip::setAddress(const QString &address)
{
    urladress->setEditText(address);
}

void AddressStrip::rememberAddress(const QString &address)
{
    if (urladress->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        urladress->addItem(address);
        urladress->setEditText(address);
    }
}

void AddressStrip::applyLayout(const MainLayout &layout)
{
    setGeometry(layout.addressStrip);
    if (!layout.browsersMoved)
        return;
    urladress->setGeometry(layout.urladress.x(), layout.urladress.y(), layout.urladress.width(),
                           layout.urladress.height() + 2);
    pick_B->setGeometry(layout.pickButton);
    DownLoad_B->setGeometry(layout.downloadButton);
}
