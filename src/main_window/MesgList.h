#pragma once

#include <QListWidget>

class QAction;
class QProgressBar;
class QToolButton;

// A tab's message list over its page: the status or completion line, and
// under it what a download came to. It is as high as its rows, shows each
// row's whole text as its tool tip, and offers 重试失败 while a download
// left failed pictures behind.
class MesgList : public QListWidget
{
    Q_OBJECT
public:
    explicit MesgList(QWidget *parent = nullptr);

    // Frame plus one line per row (at least one).
    int preferredHeight() const;
    void setRow(int row, const QString &text);
    // The row under the completion line: what a download saved, dropped and
    // lost. clearCounts takes it away again when the tab leaves its result.
    void setCounts(const QString &text);
    void clearCounts();
    void setRetryOffered(bool offered);
    // A download's progress as a bar at the right of the first row; 0 of 0 takes it away.
    void setProgress(int done, int total);
    QProgressBar *progressBar() const { return m_progress; }
    bool retryOffered() const;
    QToolButton *retryButton() const { return m_retryButton; }
    QAction *retryAction() const { return m_retryAction; }

Q_SIGNALS:
    void retryRequested();
    // Shown, hidden or a row more or less: whoever lays the tab out places it again.
    void shapeChanged();

protected:
    bool viewportEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeRetryButton();
    void placeProgress();
    int rowHeight() const;

    bool m_hasCounts = false;
    QAction *m_retryAction;
    QToolButton *m_retryButton;
    QProgressBar *m_progress;
};
