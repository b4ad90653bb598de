#include "main_window/CollectCommand.h"

#include "collecting/Collection.h"
#include "main_window/BatchWindow.h"
#include "main_window/MainForm.h"
#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QMenu>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
const QString Title = u"采集本页地址"_s;
}

CollectCommand::CollectCommand(MainForm &window, QObject *parent) : QObject(parent), m_window(window)
{
    installTabMenu();
}

void CollectCommand::installTabMenu()
{
    VerticalTabBar *strip = m_window.tabs().strip();
    strip->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(strip, &QWidget::customContextMenuRequested, this, [this, strip](const QPoint &at) {
        const QPointer<Tab> tab = m_window.tabs().tabs().value(strip->tabAt(at));
        if (!tab)
            return;
        QMenu menu;
        QAction *collect = menu.addAction(Title);
        collect->setObjectName(u"collectAddresses"_s);
        if (menu.exec(strip->mapToGlobal(at)) == collect && tab)
            this->collect(tab);
    });
}

bool CollectCommand::isRunning() const
{
    return !m_collection.isNull();
}

void CollectCommand::collectCurrent()
{
    collect(m_window.tabs().current());
}

void CollectCommand::collect(Tab *tab)
{
    if (m_collection) {
        if (m_collection->state() == Collection::State::Paused)
            m_collection->resume();
        return;
    }
    const QString address = tab && tab->browser() ? tab->browser()->LocationURL() : QString();
    const QString scheme = QUrl(address).scheme();
    if (scheme != u"http"_s && scheme != u"https"_s) {
        m_window.dialogs().messageBox(u"本页不是网页, 没有可采集的宝贝地址"_s, Title, Dialogs::Icon::Information);
        return;
    }
    m_window.showManager();
    auto *batch = qobject_cast<BatchWindow *>(m_window.batchWindow());
    if (!batch)
        return;
    m_collection = new Collection(m_window.engine(), this);
    m_collection->setPages(batch->collectPages());
    m_collection->setDelay([batch = QPointer<BatchWindow>(batch)] { return batch ? batch->pauseMs() : 0; });
    connect(m_collection, &Collection::progress, batch, [batch](int pages, int found) {
        batch->showCollecting(u"正在采集地址: 已采集 %1 页, 找到 %2 个宝贝地址"_s.arg(pages).arg(found));
    });
    connect(m_collection, &Collection::paused, batch, [batch](const QString &reason) {
        batch->showCollecting(reason + u" 完成后再按 采集本页地址 继续。"_s);
    });
    connect(m_collection, &Collection::finished, this, &CollectCommand::onFinished);
    batch->showCollecting(u"正在采集地址: "_s + address);
    m_collection->start(address);
}

void CollectCommand::onFinished()
{
    Collection *collection = m_collection;
    m_collection = nullptr;
    collection->deleteLater();
    auto *batch = qobject_cast<BatchWindow *>(m_window.batchWindow());
    if (!batch)
        return;
    QString summary = collection->summary();
    if (!collection->problem().isEmpty())
        summary += u" ("_s + collection->problem() + u")"_s;
    batch->addCollected(collection->addresses(), summary);
    batch->show();
    batch->raise();
}

void CollectCommand::shutdown()
{
    if (m_collection)
        m_collection->cancel();
}
