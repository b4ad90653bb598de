#include "platform/WebEnginePage.h"

WebEnginePage::WebEnginePage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}

const QString WebEnginePage::OwnScheme = QStringLiteral("pictorra");

// Our links never load anything: a click is a command to the program, and the
// page stays as it is. Only a user's click in the page itself counts; a
// redirect or a frame cannot issue one.
bool WebEnginePage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    if (url.scheme() != OwnScheme)
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    if (type == NavigationTypeLinkClicked && isMainFrame)
        emit ownLinkClicked(url);
    return false;
}

QWebEnginePage *WebEnginePage::createWindow(WebWindowType)
{
    return m_windowFactory ? m_windowFactory() : nullptr;
}

void WebEnginePage::javaScriptAlert(const QUrl &origin, const QString &msg)
{
    if (!m_silent)
        QWebEnginePage::javaScriptAlert(origin, msg);
}

bool WebEnginePage::javaScriptConfirm(const QUrl &origin, const QString &msg)
{
    return m_silent ? false : QWebEnginePage::javaScriptConfirm(origin, msg);
}

bool WebEnginePage::javaScriptPrompt(const QUrl &origin, const QString &msg, const QString &defaultValue,
                                     QString *result)
{
    return m_silent ? false : QWebEnginePage::javaScriptPrompt(origin, msg, defaultValue, result);
}
