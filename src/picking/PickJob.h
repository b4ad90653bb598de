#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class BrowserPage;
class PickCommand;
class QListWidget;
struct DocumentSnapshot;

// One running pick in one tab, from the page wait to the result page. Every
// step re-checks that its browser still exists: the window keeps running
// other commands in between.
class PickJob : public QObject
{
    Q_OBJECT
public:
    PickJob(PickCommand &command, int slot, int browserIndex, int statusRow);

    void waitForPage();

private:
    void pollPage();
    void checkPage(std::optional<double> height);
    void onChecked(const DocumentSnapshot &snapshot);
    void startScrolling();
    void onScrollTick();
    void onHeight(std::optional<double> height);
    void complete();
    void writeResult(const DocumentSnapshot &snapshot);
    void refuse(const QString &message, bool critical);
    void finish(bool completed, const QString &message);
    void setStatus(int row, const QString &text);
    QListWidget *mesg() const;

    PickCommand &m_command;
    const int m_slot;
    const int m_browserIndex;
    const int m_statusRow;
    QPointer<BrowserPage> m_browser;
    QTimer m_pagePoll;
    QTimer Timer1;
    bool m_tickBusy = false;
    bool m_waiting = false;
    bool m_finished = false;  // answers still under way are dropped
};
