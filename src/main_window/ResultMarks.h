#pragma once

#include "download/SaveChoice.h"
#include "picking/PickResult.h"

#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QTimer>

#include <array>
#include <utility>

class BrowserPage;

// The ticks of one tab's result page. The choice is the program's: the page
// only draws it (a tick, the size and bytes once the browser has measured
// the picture, the word of the rule that leaves it out, the counts row) and
// reports clicks on its own links, "pictorra:tick/KIND/N", "pictorra:all/KIND"
// and "pictorra:none/KIND" (see BrowserPage::OwnLinkClicked); the data files
// (商品信息) are one tick, "pictorra:tick/info/0", counted as the files they
// are. Sizes are read
// and drawn in rounds, never one call per picture, so that fifty pictures
// arriving at once leave the page responsive.
class ResultMarks : public QObject
{
    Q_OBJECT
public:
    static constexpr int PollMs = 400;
    static constexpr int MaxPolls = 150; // a minute: what has not loaded by then stays "?"

    explicit ResultMarks(BrowserPage *browser, QObject *parent = nullptr);

    // The result's page is shown: every tick on, drawn with `rules`.
    void begin(const PickResult &result, const SaveChoice &rules);
    void end();
    // 选项 changed: the same ticks under new rules.
    void setRules(const SaveChoice &rules);
    // The rules with the user's ticks.
    const SaveChoice &choice() const { return m_choice; }
    void clicked(const QString &path);
    // Whether the picture is drawn ticked, and the rule's word when a rule leaves it out.
    bool ticked(MediaKind::Id kind, int index, QString *word = nullptr) const;
    // Whether the data files are drawn ticked (false, with 不保存, when 选项 leaves them out).
    bool infoTicked(QString *word = nullptr) const;
    // Every size is known (or given up on) and drawn.
    bool settled() const { return !m_decorating && !m_poll.isActive() && !m_flush.isActive(); }

private:
    struct Cell
    {
        QSize size{-1, -1};
        qint64 bytes = 0;
        bool repeat = false; // the same address came earlier in the item
        bool reported = false; // measured, or the browser could not show it
    };
    void readLengths(const PickResult &result);
    void drawSoon();
    void poll();
    void onSizes(const QVariant &answer);
    void flush();
    void clickedInfo(const QString &action);
    QJsonArray infoMark() const;
    QString countsText() const;
    QString sizeText(const Cell &cell) const;

    QPointer<BrowserPage> m_browser;
    std::array<QList<Cell>, MediaKind::Count> m_cells;
    SaveChoice m_choice;
    QSet<std::pair<int, int>> m_dirty;
    QTimer m_poll;
    QTimer m_flush;
    int m_infoFiles = 0; // the data files a download would write: 0, 1 or 2
    int m_polls = 0;
    int m_serial = 0; // a late answer of an earlier result is dropped
    bool m_active = false;
    bool m_decorating = false; // the ticks are not on the page yet
};
