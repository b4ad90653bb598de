#pragma once

#include "main_window/Tab.h"
#include "picking/PickOutcome.h"
#include "picking/designs/PageDesigns.h"
#include "platform/Intervals.h"

#include <QObject>
#include <QString>

class AddressStrip;
class Dialogs;
class Pick;
class QListWidget;
class TabSet;

// The 采集 button: picks the address of the address box in the selected tab
// (a new tab when that one is picking) and shows how the pick ended: the
// result page, or a box saying why there is none. Several picks run at once,
// one per tab.
class PickCommand : public QObject
{
    Q_OBJECT
public:
    static const QString CompletedLine;

    PickCommand(TabSet &tabs, AddressStrip &address, Dialogs &dialogs, const PageDesigns &designs,
                const Intervals &intervals, QObject *parent = nullptr);
    ~PickCommand() override;

    void pick_B_Click();
    // Cancels every running pick; the window calls it when it closes.
    void shutdown();

    static QString PickStatus(double seconds);
    static void writeRow(QListWidget *list, int row, const QString &text);

    const PageDesigns &designs() const { return m_designs; }
    int runningPicks() const { return m_running; }

Q_SIGNALS:
    // A pick found its result; pickEnded(completed = true) follows once the
    // result page is shown.
    void resultReady(Tab *tab, const PickResult &result);
    // A pick ended: completed with its result page, or refused with `message`.
    void pickEnded(Tab *tab, bool completed, const QString &message);
    // Row 0 or the status row of a tab's message list changed.
    void statusChanged(Tab *tab, const QString &line);

private:
    void onProgress(Tab *tab, int statusRow, const Pick *pick, int seconds);
    void onEnded(const QPointer<Tab> &tab, Pick *pick, const PickOutcome &outcome);
    void showResult(const QPointer<Tab> &tab, const PickOutcome &outcome);
    void refuse(Tab *tab, const PickOutcome &outcome);
    void finish(Tab *tab, bool completed, const QString &message);
    void setStatus(Tab *tab, int row, const QString &text);

    TabSet &m_tabs;
    AddressStrip &m_address;
    Dialogs &m_dialogs;
    const Intervals m_intervals;
    const PageDesigns &m_designs;
    int m_running = 0;
};
