#pragma once

#include <QWebEnginePage>

#include <functional>

// The engine's page with the two hooks the tab set needs: new windows become
// tabs of our own window, and a silent page shows no script dialogs.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT
public:
    using WindowFactory = std::function<QWebEnginePage *()>;

    WebEnginePage(QWebEngineProfile *profile, QObject *parent);

    void setWindowFactory(WindowFactory factory) { m_windowFactory = std::move(factory); }
    void setSilent(bool silent) { m_silent = silent; }

    static const QString OwnScheme; // "pictorra": links of our own pages that the program answers

Q_SIGNALS:
    void ownLinkClicked(const QUrl &url);

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &origin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &origin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &origin, const QString &msg, const QString &defaultValue,
                          QString *result) override;

private:
    WindowFactory m_windowFactory;
    bool m_silent = false;
};
