#pragma once

#include "platform/BrowserPage.h"

#include <QPointer>
#include <QVariant>

class ProfileNetwork;
class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;
class WebEnginePage;

// A tab's browser on Qt WebEngine. Page scripts of our own run in the
// application world, out of reach of the page's scripts.
class WebEngineBrowser : public BrowserPage
{
    Q_OBJECT
public:
    WebEngineBrowser(QWebEngineProfile *profile, QWidget *parent);
    ~WebEngineBrowser() override;

    QWidget *widget() override;
    void Navigate(const QString &address) override;
    int ReadyState() const override { return m_readyState; }
    QString LocationURL() const override;
    QString LocationName() const override;
    QString loadError() const override { return m_loadError; }
    void Refresh() override;
    void setSilent(bool silent) override;
    void takeFocus() override;
    void paste() override;
    void copy() override;

    void readDocument(const QStringList &divIds, QObject *context, SnapshotCallback done) override;
    void readRenderedPage(QObject *context, SnapshotCallback done) override;
    void readScrollHeight(QObject *context, HeightCallback done) override;
    void scrollBy(double x, double y) override;
    void writePage(const QStringList &pieces, QObject *context, DoneCallback done) override;
    void readPageFacts(const QStringList &scriptMarkers, QObject *context, FactsCallback done) override;
    void fetchFile(const QUrl &url, int stallMs, qint64 maxBytes, QObject *context, FetchCallback done) override;
    void readListPage(int maxLinks, bool pressNext, QObject *context, ListCallback done) override;
    void markResult(const QJsonObject &command, QObject *context, MarksCallback done) override;
    void readLength(const QUrl &url, QObject *context, LengthCallback done) override;

    WebEnginePage *page() const { return m_page; }

private:
    using ScriptCallback = std::function<void(const QVariant &result, bool answered)>;
    void runScript(const QString &script, QObject *context, ScriptCallback done);
    void allowPageScripts(bool allowed);
    void expectLoad();
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void writeWhenBlank(const QStringList &pieces, QObject *context, DoneCallback done);

    QPointer<QWebEngineView> m_view;
    WebEnginePage *m_page;
    QPointer<ProfileNetwork> m_network;
    int m_readyState = ReadyUninitialized;
    QString m_loadError;
    bool m_awaitingStart = false;
    // How long a script of ours may take before we give up on its answer.
    int m_scriptTimeoutMs = 15000;
};
