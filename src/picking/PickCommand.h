#pragma once

#include "picking/PickSlots.h"
#include "picking/PicLists.h"
#include "picking/PickResult.h"
#include "picking/designs/PageDesigns.h"
#include "platform/StepThread.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class MainForm;
class PickJob;
class QListWidget;

// The 采集 button: reloads the address in the selected tab, checks that it is
// a product page, scrolls it to its end so that its lazy pictures load, and
// replaces it by the result page. Several picks run at once, one per tab.
class PickCommand : public QObject
{
    Q_OBJECT
public:
    static const QString CompletedLine;

    explicit PickCommand(MainForm &window, QObject *parent = nullptr);
    ~PickCommand() override;

    void pick_B_Click();
    // Ends every step thread; the window calls it when it closes.
    void shutdown();

    static QString PickStatus(double seconds);
    static void writeRow(QListWidget *list, int row, const QString &text);

    PickSlots &pickSlots() { return m_slots; }
    PicLists &lists() { return m_lists; }
    const PageDesigns &designs() const { return m_designs; }
    MainForm &window() { return m_window; }
    int runningPicks() const { return m_running; }
    bool hasThread(int browserIndex) const;

    QString PickCaption;

Q_SIGNALS:
    // A pick found its result; pickEnded(completed = true) follows once the
    // result page is shown.
    void resultReady(int browserIndex, const PickResult &result);
    // A pick ended: completed with its result page, or refused with `message`.
    void pickEnded(int browserIndex, bool completed, const QString &message);
    // Row 0 or the status row of a tab's message list changed.
    void statusChanged(int browserIndex, const QString &line);

private:
    friend class PickJob;
    void startThread(int slot, int browserIndex);
    void endThread(int browserIndex);
    void beginPageWait();
    void endPageWait();
    void jobEnded(PickJob *job, int browserIndex, bool completed, const QString &message);

    MainForm &m_window;
    PickSlots m_slots;
    PicLists m_lists;
    PageDesigns m_designs;
    std::map<QString, std::unique_ptr<StepThread>> PickThreads;
    int m_pageWaits = 0;
    int m_running = 0;
};
