#pragma once

#include "platform/DocumentSnapshot.h"
#include "platform/ListPage.h"
#include "platform/PageFacts.h"

#include <QByteArray>
#include <QJsonObject>
#include <QVariant>
#include <QUrl>

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// One browser of the tab set, as the commands see it. The real one wraps Qt
// WebEngine; tests of the bookkeeping use a stand-in.
//
// Document reads are asynchronous: a callback receives the answer later on the
// window thread, and only while `context` is still alive.
class BrowserPage : public QObject
{
    Q_OBJECT
public:
    enum { ReadyUninitialized = 0, ReadyLoading = 1, ReadyComplete = 4 };

    using SnapshotCallback = std::function<void(const DocumentSnapshot &)>;
    using HeightCallback = std::function<void(std::optional<double>)>;
    using DoneCallback = std::function<void(bool)>;
    using FactsCallback = std::function<void(const PageFacts &)>;
    using FetchCallback = std::function<void(std::optional<QByteArray>)>;
    using ListCallback = std::function<void(const ListPage &)>;
    // Asked when a page wants a new window; returns the browser that takes it.
    using NewWindowHandler = std::function<BrowserPage *()>;

    using QObject::QObject;

    virtual QWidget *widget() = 0;

    virtual void Navigate(const QString &address) = 0;
    virtual int ReadyState() const = 0;
    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    // Why the last navigation failed (network or HTTP error); empty when it did not.
    virtual QString loadError() const { return {}; }
    virtual void Refresh() = 0;
    virtual void setSilent(bool silent) = 0;
    virtual void takeFocus() = 0;
    virtual void paste() = 0;
    virtual void copy() = 0;

    // The first <title> and the <div>s whose id is in `divIds` (all when empty).
    virtual void readDocument(const QStringList &divIds, QObject *context, SnapshotCallback done) = 0;
    // body.scrollHeight; nullopt when there is no body.
    // The page as it is rendered now, gathered whole by a fixed script of ours
    // (pictures, inline data scripts, <meta> properties; see DocumentSnapshot):
    // what a reader of designs we do not know reads. No divs.
    virtual void readRenderedPage(QObject *context, SnapshotCallback done)
    {
        Q_UNUSED(context)
        done(DocumentSnapshot{});
    }
    virtual void readScrollHeight(QObject *context, HeightCallback done) = 0;
    virtual void scrollBy(double x, double y) = 0;
    // Address, load state, interstitial signs and the inline scripts holding
    // one of `scriptMarkers`, read from the document as it is now.
    virtual void readPageFacts(const QStringList &scriptMarkers, QObject *context, FactsCallback done) = 0;
    // A small file (http/https only) fetched with the cookies of this tab's
    // profile; nullopt on any failure, a stall of `stallMs` or more than `maxBytes`.
    virtual void fetchFile(const QUrl &url, int stallMs, qint64 maxBytes, QObject *context, FetchCallback done) = 0;
    // Replaces the page by the written pieces on an opaque origin with page
    // scripts off; `done(false)` when the page could not be written.
    virtual void writePage(const QStringList &pieces, QObject *context, DoneCallback done) = 0;
    // The page's offer links (at most `maxLinks`) and its 下一页 control, read
    // by a script of ours; with `pressNext` a 下一页 button is pressed too.
    // Pages without a browser engine answer with no document.
    virtual void readListPage(int maxLinks, bool pressNext, QObject *context, ListCallback done);

    // Runs the marks script of our result page (js/resultMarks.js: ticks,
    // sizes, the counts row) with `command`, out of reach of the page's own
    // scripts; `done` gets its answer (invalid when there was none).
    using MarksCallback = std::function<void(const QVariant &)>;
    virtual void markResult(const QJsonObject &command, QObject *context, MarksCallback done)
    {
        Q_UNUSED(command) Q_UNUSED(context) Q_UNUSED(done)
    }

    // The length a server gives for `url` (http/https) when asked for its
    // headers alone, with this tab's cookies; -1 when it gives none.
    using LengthCallback = std::function<void(qint64)>;
    virtual void readLength(const QUrl &url, QObject *context, LengthCallback done)
    {
        Q_UNUSED(url) Q_UNUSED(context) Q_UNUSED(done)
    }

    void setNewWindowHandler(NewWindowHandler handler) { m_newWindowHandler = std::move(handler); }

Q_SIGNALS:
    void TitleChange(const QString &text);
    void DownloadComplete();
    // The user closed the tab that shows this page; whoever works in it stops.
    void closedByUser();
    // A link to "pictorra:PATH" on the page was clicked (a tick of our result
    // page); nothing navigates.
    void OwnLinkClicked(const QString &path);

protected:
    BrowserPage *requestNewWindow() { return m_newWindowHandler ? m_newWindowHandler() : nullptr; }

private:
    NewWindowHandler m_newWindowHandler;
};
