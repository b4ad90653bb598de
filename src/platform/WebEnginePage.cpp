#include "platform/WebEnginePage.h"

WebEnginePage::WebEnginePage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent) {}

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
