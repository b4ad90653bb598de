#include "support/FakeBrowserPage.h"

#include <QPointer>
#include <QTimer>

FakeBrowserPage::FakeBrowserPage(QWidget *parent) : m_widget(new QWidget(parent)) {}

FakeBrowserPage::~FakeBrowserPage()
{
    delete m_widget.data();
}

void FakeBrowserPage::Navigate(const QString &address)
{
    navigations.append(address);
    location = address;
    readyState = completeOnNavigate ? ReadyComplete : ReadyLoading;
    if (completeOnNavigate)
        emit DownloadComplete();
}

void FakeBrowserPage::readDocument(const QStringList &divIds, QObject *context, SnapshotCallback done)
{
    DocumentSnapshot answer = document;
    if (!divIds.isEmpty()) {
        answer.divs.clear();
        for (const DivElement &div : document.divs)
            if (divIds.contains(div.id))
                answer.divs.append(div);
    }
    QTimer::singleShot(0, context, [answer, done] { done(answer); });
}

void FakeBrowserPage::readScrollHeight(QObject *context, HeightCallback done)
{
    const auto answer = scrollHeight;
    ++heightReads;
    QTimer::singleShot(heightDelayMs, context, [answer, done] { done(answer); });
}

void FakeBrowserPage::scrollBy(double, double y)
{
    scrolls.append(y);
}

void FakeBrowserPage::writePage(const QStringList &pieces, QObject *context, DoneCallback done)
{
    navigations.append(QStringLiteral("about:blank"));
    written = pieces;
    QTimer::singleShot(0, context, [done] { done(true); });
}

void FakeBrowserPage::reportTitle(const QString &text)
{
    title = text;
    emit TitleChange(text);
}

void FakeBrowserPage::readPageFacts(const QStringList &, QObject *context, FactsCallback done)
{
    PageFacts answer = facts;
    answer.hasDocument = answer.hasDocument || document.hasDocument;
    if (answer.url.isEmpty())
        answer.url = location;
    if (answer.title.isEmpty())
        answer.title = document.title;
    if (answer.readyState.isEmpty())
        answer.readyState = readyState == ReadyComplete ? QStringLiteral("complete") : QStringLiteral("loading");
    QTimer::singleShot(0, context, [answer, done] { done(answer); });
}

void FakeBrowserPage::fetchFile(const QUrl &url, int, qint64, QObject *context, FetchCallback done)
{
    std::optional<QByteArray> answer;
    if (files.contains(url.toString()))
        answer = files.value(url.toString());
    QTimer::singleShot(0, context, [answer, done] { done(answer); });
}
