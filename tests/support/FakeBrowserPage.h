#pragma once

#include "platform/BrowserPage.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

// A browser without an engine: it records what it is told and answers with
// what the test set. Document reads answer on the next event-loop turn, like
// the real engine does.
class FakeBrowserPage : public BrowserPage
{
    Q_OBJECT
public:
    explicit FakeBrowserPage(QWidget *parent = nullptr);
    ~FakeBrowserPage() override;

    QWidget *widget() override { return m_widget; }
    void Navigate(const QString &address) override;
    int ReadyState() const override { return readyState; }
    QString LocationURL() const override { return location; }
    QString LocationName() const override { return title; }
    QString loadError() const override { return failure; }
    void Refresh() override { ++refreshes; }
    void setSilent(bool s) override { silent = s; }
    void takeFocus() override { ++focusRequests; }
    void paste() override { ++pastes; }
    void copy() override { ++copies; }

    void readDocument(const QStringList &divIds, QObject *context, SnapshotCallback done) override;
    void readScrollHeight(QObject *context, HeightCallback done) override;
    void scrollBy(double x, double y) override;
    void writePage(const QStringList &pieces, QObject *context, DoneCallback done) override;
    void readPageFacts(const QStringList &scriptMarkers, QObject *context, FactsCallback done) override;
    void fetchFile(const QUrl &url, int stallMs, qint64 maxBytes, QObject *context, FetchCallback done) override;

    // Lets the page report a title, as the engine does after a load.
    void reportTitle(const QString &text);
    BrowserPage *openNewWindow() { return requestNewWindow(); }

    QStringList navigations;
    QStringList written;
    QList<double> scrolls;
    DocumentSnapshot document;
    PageFacts facts;  // url and title follow location and document unless set
    QMap<QString, QByteArray> files;
    std::optional<double> scrollHeight = 1000.0;
    int heightDelayMs = 0;  // how long a height read stays pending
    int heightReads = 0;
    int readyState = ReadyComplete;
    bool completeOnNavigate = true;
    QString location;
    QString title;
    QString failure;  // what the last navigation's failure says, when it failed
    bool silent = false;
    int refreshes = 0;
    int focusRequests = 0;
    int pastes = 0;
    int copies = 0;

private:
    QPointer<QWidget> m_widget;
};
