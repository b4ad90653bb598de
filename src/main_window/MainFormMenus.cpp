// The menus of the window and what their items do.
#include "main_window/MainForm.h"

#include "main_window/BatchWindow.h"
#include "download/FolderNaming.h"
#include "main_window/SaveOptionsDialog.h"
#include "main_window/SaveSettings.h"
#include "main_window/ResultMarks.h"
#include "main_window/TabSet.h"
#include "batch/PickBatchWorker.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QCheckBox>
#include <QProcess>
#include <QUrl>

void MainForm::buildMenus()
{
    auto add = [this](QMenu *menu, const char *name, const QString &text, const QKeySequence &keys,
                      std::function<void()> command) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, std::move(command));
    };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("文件"));
    m_fileMenu->setObjectName(QStringLiteral("file"));
    add(m_fileMenu, "new", QStringLiteral("新建"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newCopy(); });
    add(m_fileMenu, "Man", QStringLiteral("管理"), QKeySequence(Qt::CTRL | Qt::Key_M), [this] { showManager(); });
    add(m_fileMenu, "exit", QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { close(); });
    add(m_fileMenu, "Ver", QStringLiteral("版本"), QKeySequence(Qt::CTRL | Qt::Key_B), [this] { showVersion(); });
    // After the four of old, which keep their places.
    add(m_fileMenu, "Options", QStringLiteral("选项"), QKeySequence(), [this] { showOptions(); });
    QMenu *tabs = menuBar()->addMenu(QStringLiteral("标签页"));
    tabs->setObjectName(QStringLiteral("tabsMenu"));
    add(tabs, "newTab", QStringLiteral("新建标签页"), QKeySequence(Qt::CTRL | Qt::Key_T), [this] { newTab(); });
    add(tabs, "closeTab", QStringLiteral("关闭标签页"), QKeySequence(Qt::CTRL | Qt::Key_W), [this] { m_tabs->closeCurrent(); });
    add(tabs, "reopenTab", QStringLiteral("重新打开关闭的标签页"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
        [this] { m_tabs->reopenClosed(); });
    QMenu *help = menuBar()->addMenu(QStringLiteral("帮助"));
    help->setObjectName(QStringLiteral("Help"));
    add(help, "HelpDoc", QStringLiteral("帮助文档"), QKeySequence(Qt::CTRL | Qt::Key_H), [this] { showHelp(); });
}

void MainForm::newCopy()
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

void MainForm::showManager()
{
    if (!m_plcj) {
        const QPointer<BatchWindow> batch = new BatchWindow(new PickBatchWorker(*m_engine, this), dialogs(), configFile());
        m_transfers.add([batch] { return batch && batch->transferring(); },
                        [batch] { if (batch) batch->stopTransfers(); });
        m_plcj = batch.data();
    }
    m_plcj->show();
    m_plcj->raise();
}

void MainForm::showOptions()
{
    SaveOptionsDialog dialog(SaveSettings::load(configFile()), this);
    QCheckBox *wholeTitle = dialog.addCheck(QStringLiteral("文件夹用完整网页标题命名（含网站名）"),
                                            FolderNaming::wholeTitleStored(configFile()));
    wholeTitle->setObjectName(QStringLiteral("wholeTitle"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool namingStored = FolderNaming::storeWholeTitle(configFile(), wholeTitle->isChecked());
    if (!SaveSettings::store(configFile(), dialog.choice()) || !namingStored)
        dialogs().messageBox(QStringLiteral("选项无法保存：config.ini 不可写入。"), QStringLiteral("友情提示"),
                             Dialogs::Icon::Critical);
    // The result pages shown judge their pictures by the new rules; their ticks stay.
    for (Tab *tab : tabs().tabs())
        tab->marks()->setRules(dialog.choice());
}

void MainForm::showVersion()
{
    dialogs().messageBox(QStringLiteral("软件名称：Pictorra") + QLatin1Char('\r') + QStringLiteral("软件版本：Ver3.2"),
                         QStringLiteral("软件版本信息"), Dialogs::Icon::Information);
}

void MainForm::showHelp()
{
    const QString host = QUrl(m_services.homeAddress).host();
    const QString crlf = QStringLiteral("\r\n");
    // Without a window manager the box shows no title bar: the text names itself.
    const QString text = QStringLiteral("Pictorra 使用帮助") + crlf + crlf
        + QStringLiteral("软件功能：阿里巴巴产品的主图、SKU图、描述图、视频和商品信息采集下载。") + crlf
        + QStringLiteral("使用方法：方法1)直接在地址栏输入要下载产品详情页的网址，然后点击<采集>按钮，待采集完成后点击<下载>按钮，选择目录保存图片。")
        + crlf + QString(10, QLatin1Char(' ')) + QStringLiteral("方法2)直接在地址栏输入") + host
        + QStringLiteral("网址回车，浏览到目标采集产品详情页面，然后点击<采集>按钮，待采集完成后点击<下载>按钮，选择目录保存图片。")
        + crlf;
    dialogs().messageBox(text, QStringLiteral("使用帮助"), Dialogs::Icon::Information);
}
