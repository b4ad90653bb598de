#pragma once

#include "picking/PickResult.h"
#include "picking/designs/PageDesign.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class BrowserPage;
class PickCommand;
class PageDesigns;
class QListWidget;
struct DocumentSnapshot;
struct PageFacts;

// One running pick in one tab, from the page wait to the result page. Every
// step re-checks that its browser still exists: the window keeps running
// other commands in between.
//
// Pages of the old design are scrolled to their end and read from their
// containers; pages that carry their data inline are read at once and get
// their description from the description file.
class PickJob : public QObject
{
    Q_OBJECT
public:
    static const QString NavigatedMessage;
    static const QString DescriptionNote;
    static const QString DeadlineNote;
    // Taller than any real product page: a page past it keeps growing by itself.
    static constexpr double MaxPageHeight = 500000;

    PickJob(PickCommand &command, int slot, int browserIndex, int statusRow);

    void waitForPage();

private:
    void pollPage();
    void checkPage();
    void judge(std::optional<double> height, const DocumentSnapshot &snapshot, const PageFacts &facts);
    void waitLonger();
    void startScrolling();
    void onScrollTick();
    void onHeight(std::optional<double> height);
    void complete(bool atDeadline);
    void readContainers();
    void startDataPick(const DesignReading &reading);
    void onDescription(const std::optional<QByteArray> &file);
    void writeResult(PickResult result);
    bool navigatedAway(const QString &address) const;
    void refuse(const QString &message, bool critical);
    void finish(bool completed, const QString &message);
    void setStatus(int row, const QString &text);
    QListWidget *mesg() const;

    PickCommand &m_command;
    const int m_slot;
    const int m_browserIndex;
    const int m_statusRow;
    QPointer<BrowserPage> m_browser;
    const PageDesigns &m_designs;
    QTimer m_pagePoll;
    QTimer Timer1;
    QTimer m_deadline;
    QElapsedTimer m_sinceStart;
    DesignReading m_reading;
    QString m_note;
    bool m_tickBusy = false;
    bool m_completing = false;
    bool m_waiting = false;
    bool m_waitingLonger = false;
    bool m_finished = false;  // answers still under way are dropped
};
