#include "engine/ScreenlessPageHost.h"

#include "platform/WebEngineBrowser.h"

#include <QWidget>

ScreenlessPageHost::ScreenlessPageHost(QWebEngineProfile *profile, QObject *parent)
    : QObject(parent), m_profile(profile)
{
}

BrowserPage *ScreenlessPageHost::openPage()
{
    if (!m_profile)
        return nullptr;
    auto *page = new WebEngineBrowser(m_profile, nullptr);
    page->setParent(this);
    page->setSilent(true);
    // A page that is never shown has no viewport: nothing scrolls, nothing lazy loads.
    page->widget()->resize(PageSize);
    page->widget()->show();
    return page;
}

void ScreenlessPageHost::closePage(BrowserPage *page)
{
    if (page && page->parent() == this)
        page->deleteLater();
}
