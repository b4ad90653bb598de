#include "appearance/Toolbar1.h"

#include "appearance/Artwork.h"

#include <QAction>
#include <QToolButton>

namespace {
struct ButtonInfo
{
    const char16_t *caption;
    const char16_t *toolTip;
    int picture;
};

// Buttons 3 and 4 show pictures 4 and 3.
constexpr ButtonInfo Buttons[Toolbar1::ButtonCount] = {
    {u"粘贴", u"粘贴", 1},
    {u"复制", u"复制", 2},
    {u"新页", u"打开新空白页", 4},
    {u"主页", u"打开主页", 3},
    {u"收藏夹", u"打开收藏夹", 5},
    {u"收藏", u"收藏网址", 6},
    {u"刷新", u"刷新网页", 7},
    {u"换肤", u"更换软件外观", 8},
};
}

Toolbar1::Toolbar1(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (int i = 0; i < ButtonCount; ++i) {
        const ButtonInfo &info = Buttons[i];
        QAction *action = addAction(Artwork::picture(info.picture), QString::fromUtf16(info.caption));
        action->setToolTip(QString::fromUtf16(info.toolTip));
        const int index = i + 1;
        connect(action, &QAction::triggered, this, [this, index] { emit buttonClicked(index); });
        m_buttons.append(action);
    }
}

QAction *Toolbar1::button(int index) const
{
    if (index < 1 || index > m_buttons.size())
        return nullptr;
    return m_buttons.at(index - 1);
}

QToolButton *Toolbar1::toolButton(int index) const
{
    QAction *action = button(index);
    return action ? qobject_cast<QToolButton *>(widgetForAction(action)) : nullptr;
}
