#pragma once

#include "batch/BatchItemWorker.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QTimer>

#include <functional>

// Answers picks and downloads from a script, one event-loop turn later, and
// makes real item folders so that tests can count them.
class FakeBatchWorker : public BatchItemWorker
{
public:
    struct Script
    {
        PickEnd end = PickEnd::Picked;
        QString title;
        int failed = 0;
        bool hold = false; // the download waits for finishHeld()
        bool descMissing = false;
        std::function<void(DownloadSummary &)> summary = {}; // shapes the download's summary
        QString reader = {}; // PickResult::reader
    };

    QHash<QString, Script> scripts;
    QStringList picks;                       // urls, in order
    QList<QPair<QString, QString>> downloads; // url, itemFolder asked for
    QList<bool> resumed;                      // per download: into an earlier run's folder
    QSet<int> cancelled;
    QList<int> broughtToFront;

    void pick(int job, const QString &url) override
    {
        picks << url;
        m_urls[job] = url;
        QTimer::singleShot(0, this, [this, job, url] {
            if (cancelled.contains(job))
                return;
            const Script script = scripts.value(url);
            PickResult result;
            result.title = script.title;
            result.address = url;
            result.addresses(MediaKind::Main) = {url + QStringLiteral("/m1.jpg"), url + QStringLiteral("/m2.jpg")};
            result.addresses(MediaKind::Description) = {url + QStringLiteral("/d1.jpg")};
            result.descriptionMissing = script.descMissing;
            result.reader = script.reader;
            emit picked(job, script.end, result, script.end == PickEnd::Picked ? QString() : QStringLiteral("no"));
        });
    }

    void download(int job, const PickResult &result, const QString &itemFolder, bool resume) override
    {
        downloads.append({result.address, itemFolder});
        resumed << resume;
        QTimer::singleShot(0, this, [this, job, folder = itemFolder, url = result.address] {
            if (cancelled.contains(job))
                return;
            if (scripts.value(url).hold)
                m_held.insert(job, folder);
            else
                finish(job, folder);
        });
    }

    void cancel(int job) override { cancelled.insert(job); m_held.remove(job); }
    void bringToFront(int job) override { broughtToFront << job; }

    void finishHeld()
    {
        const auto held = std::exchange(m_held, {});
        for (auto it = held.cbegin(); it != held.cend(); ++it)
            finish(it.key(), it.value());
    }
    bool holding() const { return !m_held.isEmpty(); }

private:
    void finish(int job, const QString &folder)
    {
        DownloadSummary summary;
        summary.itemFolder = folder;
        summary.total = 3;
        summary.failed = scripts.value(m_urls.value(job)).failed;
        summary.saved = summary.total - summary.failed;
        if (const auto shape = scripts.value(m_urls.value(job)).summary)
            shape(summary);
        emit downloaded(job, summary);
    }

    QHash<int, QString> m_urls;
    QHash<int, QString> m_held;
};
