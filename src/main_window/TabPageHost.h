#pragma once

#include "engine/PageHost.h"

#include <QObject>

class QWidget;
class TabSet;

// The window's tabs as the engine's pages: each page a tab of its own,
// opened behind the one the user looks at.
class TabPageHost : public QObject, public PageHost
{
    Q_OBJECT
public:
    TabPageHost(TabSet &tabs, QWidget &window, QObject *parent = nullptr);

    BrowserPage *openPage() override;
    void closePage(BrowserPage *page) override;
    void showToUser(BrowserPage *page) override;
    void keepResult(BrowserPage *page, const PickResult &result) override;
    void keptResultSaved(BrowserPage *page, const DownloadSummary &summary) override;

private:
    TabSet &m_tabs;
    QWidget &m_window;
};
