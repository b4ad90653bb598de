#pragma once

#include <QObject>
#include <QPointer>

class Collection;
class MainForm;
class Tab;

// 采集本页地址 (the toolbar's command and the tab's context menu): the
// offers of the page a tab shows, and of its next pages when 连续翻页 is
// ticked, join 批量采集's list. The collection loads the tab's address again
// in a tab of its own behind the user's, so the user's page stays as it is.
// Asked again while a collection waits at a verification, it goes on.
class CollectCommand : public QObject
{
    Q_OBJECT
public:
    explicit CollectCommand(MainForm &window, QObject *parent = nullptr);

    void collectCurrent();
    void collect(Tab *tab);
    bool isRunning() const;
    void shutdown();

private:
    void installTabMenu();
    void onFinished();

    MainForm &m_window;
    QPointer<Collection> m_collection;
};
