#pragma once

#include "engine/PageHost.h"

#include <QObject>
#include <QSize>

class QWebEngineProfile;

// Pages without a window: each one a browser of its own on the program's
// profile, laid out at a fixed size, so that a page scrolls and its lazily
// loaded pictures load as in a tab.
class ScreenlessPageHost : public QObject, public PageHost
{
    Q_OBJECT
public:
    // A desktop window's worth: product pages lay out as they do on a screen.
    static constexpr QSize PageSize{1280, 900};

    // `profile` null: no page can be opened (tests on stand-in pages).
    explicit ScreenlessPageHost(QWebEngineProfile *profile, QObject *parent = nullptr);

    BrowserPage *openPage() override;
    void closePage(BrowserPage *page) override;

private:
    QWebEngineProfile *m_profile;
};
