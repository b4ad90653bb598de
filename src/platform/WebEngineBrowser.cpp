#include "platform/WebEngineBrowser.h"

#include "platform/ProfileNetwork.h"
#include "platform/TextFetch.h"
#include "platform/WebEnginePage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>

namespace {
QString pageScript(const QString &name)
{
    QFile file(QStringLiteral(":/js/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString jsonArray(const QStringList &values)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

const QUrl blankPage{QStringLiteral("about:blank")};
}

WebEngineBrowser::WebEngineBrowser(QWebEngineProfile *profile, QWidget *parent)
    : m_view(new QWebEngineView(parent)), m_page(new WebEnginePage(profile, m_view))
{
    m_view->setPage(m_page);
    // Made now, so that the profile's cookies are in its jar before the first fetch.
    m_network = new ProfileNetwork(m_page->profile(), this);
    m_page->setWindowFactory([this]() -> QWebEnginePage * {
        auto *browser = qobject_cast<WebEngineBrowser *>(requestNewWindow());
        return browser ? browser->page() : nullptr;
    });
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        m_awaitingStart = false;
        m_readyState = ReadyLoading;
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool) {
        // The end of a load that our last navigation cut short says nothing
        // about the page now on its way.
        if (!m_awaitingStart)
            m_readyState = ReadyComplete;
        emit DownloadComplete();
    });
    connect(m_page, &QWebEnginePage::titleChanged, this, &BrowserPage::TitleChange);
    connect(m_page, &WebEnginePage::ownLinkClicked, this, [this](const QUrl &url) { emit OwnLinkClicked(url.path()); });
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::onLoadingChanged);
}

void WebEngineBrowser::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    // The engine's own error page that follows a failure is no new load.
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus && !info.isErrorPage())
        m_loadError.clear();
    if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus)
        return;
    if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
        m_loadError = QStringLiteral("页面无法打开：服务器答复 HTTP %1").arg(info.errorCode());
        return;
    }
    // Cut short by the next navigation (ours or the page's): nothing failed.
    constexpr int aborted = -3;
    if (info.errorCode() == aborted)
        return;
    m_loadError = QStringLiteral("页面无法打开：网络错误 %1（%2）").arg(info.errorString()).arg(info.errorCode());
}

WebEngineBrowser::~WebEngineBrowser()
{
    delete m_view;
}

QWidget *WebEngineBrowser::widget()
{
    return m_view;
}

void WebEngineBrowser::Navigate(const QString &address)
{
    allowPageScripts(true);
    expectLoad();
    m_page->load(QUrl::fromUserInput(address));
}

QString WebEngineBrowser::LocationURL() const
{
    return m_page->url().toString();
}

QString WebEngineBrowser::LocationName() const
{
    return m_page->title();
}

void WebEngineBrowser::Refresh()
{
    allowPageScripts(true);
    expectLoad();
    m_page->triggerAction(QWebEnginePage::Reload);
}

void WebEngineBrowser::expectLoad()
{
    m_readyState = ReadyLoading;
    m_awaitingStart = true;
}

void WebEngineBrowser::setSilent(bool silent)
{
    m_page->setSilent(silent);
}

void WebEngineBrowser::takeFocus()
{
    if (m_view)
        m_view->setFocus();
}

void WebEngineBrowser::paste()
{
    m_page->triggerAction(QWebEnginePage::Paste);
}

void WebEngineBrowser::copy()
{
    m_page->triggerAction(QWebEnginePage::Copy);
}

void WebEngineBrowser::runScript(const QString &script, QObject *context, ScriptCallback done)
{
    // The engine may never answer (a hung or crashed renderer); a time-out
    // turns that into "no answer" instead of a pick that waits for ever.
    auto answered = std::make_shared<bool>(false);
    QPointer<QObject> guard(context);
    auto deliver = [answered, guard, done](const QVariant &result, bool ok) {
        if (*answered || !guard)
            return;
        *answered = true;
        done(result, ok);
    };
    QTimer::singleShot(m_scriptTimeoutMs, context, [deliver] { deliver(QVariant(), false); });
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                          [deliver](const QVariant &result) { deliver(result, true); });
}

void WebEngineBrowser::readDocument(const QStringList &divIds, QObject *context, SnapshotCallback done)
{
    const QString script = pageScript(QStringLiteral("snapshot.js")) + QLatin1Char('(') + jsonArray(divIds) + QLatin1Char(')');
    runScript(script, context, [done](const QVariant &result, bool) {
        done(DocumentSnapshot::fromScriptResult(result));
    });
}

void WebEngineBrowser::readRenderedPage(QObject *context, SnapshotCallback done)
{
    // Far beyond a real product page: 1 MB of inline data and a few hundred pictures.
    const int maxPictures = 3000;
    const int maxScriptChars = 8 * 1024 * 1024;
    const int maxMetas = 300;
    const QString script = pageScript(QStringLiteral("renderedPage.js"))
        + QStringLiteral("(%1,%2,%3)").arg(maxPictures).arg(maxScriptChars).arg(maxMetas);
    runScript(script, context, [done](const QVariant &result, bool) {
        done(DocumentSnapshot::fromScriptResult(result));
    });
}

void WebEngineBrowser::readScrollHeight(QObject *context, HeightCallback done)
{
    runScript(pageScript(QStringLiteral("scrollHeight.js")), context, [done](const QVariant &result, bool answered) {
        bool isNumber = false;
        const double height = result.toDouble(&isNumber);
        if (!answered || !result.isValid() || !isNumber)
            done(std::nullopt);
        else
            done(height);
    });
}

void WebEngineBrowser::scrollBy(double x, double y)
{
    m_page->runJavaScript(QStringLiteral("window.scrollBy(%1, %2);").arg(x, 0, 'f', 0).arg(y, 0, 'f', 0),
                          QWebEngineScript::ApplicationWorld);
}

void WebEngineBrowser::allowPageScripts(bool allowed)
{
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, allowed);
}

void WebEngineBrowser::writePage(const QStringList &pieces, QObject *context, DoneCallback done)
{
    // Page scripts go off before the blank page loads: only then does a script
    // hidden in the written text stay inert. The blank page has no origin of
    // the product site.
    allowPageScripts(false);
    expectLoad();
    m_page->load(blankPage);
    writeWhenBlank(pieces, context, std::move(done));
}

void WebEngineBrowser::writeWhenBlank(const QStringList &pieces, QObject *context, DoneCallback done)
{
    struct Pending
    {
        QMetaObject::Connection connection;
        bool settled = false;
    };
    auto pending = std::make_shared<Pending>();
    QPointer<QObject> guard(context);
    auto settle = [pending, guard, done](bool written) {
        if (pending->settled)
            return;
        pending->settled = true;
        QObject::disconnect(pending->connection);
        if (guard)
            done(written);
    };
    pending->connection = connect(m_page, &QWebEnginePage::loadFinished, context,
                                  [this, pending, guard, pieces, settle](bool ok) {
        // A load that was still under way reports its end first; wait for the blank page.
        if (!ok || m_page->url() != blankPage || pending->settled)
            return;
        QObject::disconnect(pending->connection);
        const QString script = pageScript(QStringLiteral("writePage.js")) + QLatin1Char('(') + jsonArray(pieces) + QLatin1Char(')');
        runScript(script, guard, [settle](const QVariant &result, bool answered) {
            settle(answered && result.toBool());
        });
    });
    // Someone may navigate the tab elsewhere before the blank page arrives.
    QTimer::singleShot(2 * m_scriptTimeoutMs, context, [settle] { settle(false); });
}

void WebEngineBrowser::readPageFacts(const QStringList &scriptMarkers, QObject *context, FactsCallback done)
{
    // Real pages carry about 1 MB of inline data; more than this is no product page of ours.
    const int maxScriptChars = 16 * 1024 * 1024;
    const QString script = pageScript(QStringLiteral("pageFacts.js")) + QLatin1Char('(') + jsonArray(scriptMarkers)
        + QLatin1Char(',') + QString::number(maxScriptChars) + QLatin1Char(')');
    runScript(script, context, [done](const QVariant &result, bool) { done(PageFacts::fromScriptResult(result)); });
}

void WebEngineBrowser::fetchFile(const QUrl &url, int stallMs, qint64 maxBytes, QObject *context, FetchCallback done)
{
    TextFetch::start(m_network, url, stallMs, maxBytes, context, std::move(done));
}

void WebEngineBrowser::readListPage(int maxLinks, bool pressNext, QObject *context, ListCallback done)
{
    const QString script = pageScript(QStringLiteral("listPage.js")) + QLatin1Char('(') + QString::number(maxLinks)
        + (pressNext ? QStringLiteral(",true)") : QStringLiteral(",false)"));
    runScript(script, context, [done, maxLinks](const QVariant &result, bool) {
        done(ListPage::fromScriptResult(result, maxLinks));
    });
}

void WebEngineBrowser::markResult(const QJsonObject &command, QObject *context, MarksCallback done)
{
    const QString script = pageScript(QStringLiteral("resultMarks.js")) + QLatin1Char('(')
        + QString::fromUtf8(QJsonDocument(command).toJson(QJsonDocument::Compact)) + QLatin1Char(')');
    runScript(script, context, [done](const QVariant &result, bool answered) {
        if (done)
            done(answered ? result : QVariant());
    });
}

void WebEngineBrowser::readLength(const QUrl &url, QObject *context, LengthCallback done)
{
    if (!m_network || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return done(-1);
    QNetworkReply *reply = m_network->head(QNetworkRequest(url));
    // A server that never answers costs one reply, not a waiting page.
    QTimer::singleShot(m_scriptTimeoutMs, reply, &QNetworkReply::abort);
    QPointer<QObject> guard(context);
    connect(reply, &QNetworkReply::finished, reply, [reply, guard, done] {
        reply->deleteLater();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        const bool ok = reply->error() == QNetworkReply::NoError && length.isValid();
        if (guard)
            done(ok ? length.toLongLong() : -1);
    });
}
