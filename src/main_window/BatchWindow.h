#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class BatchItemWorker;
class BatchRunner;
class BatchTableModel;
class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

// The window 批量采集: a list of addresses picked and downloaded one after
// another (or a few at once) into one folder, with a table of what became
// of each.
class BatchWindow : public QWidget
{
    Q_OBJECT
public:
    // `configFile` is config.ini: the save folder is remembered there.
    BatchWindow(BatchItemWorker *worker, Dialogs &dialogs, const QString &configFile, QWidget *parent = nullptr);
    ~BatchWindow() override;

    BatchRunner &runner() { return *m_runner; }
    BatchTableModel &model() { return *m_model; }
    void setAddresses(const QString &text);
    void setSaveFolder(const QString &folder);

    void startClicked();
    void importList(const QString &path);
    bool exportTable(const QString &path);
    // Addresses are being picked or saved: quitting now would cut them off.
    bool transferring() const;
    // 停止, without asking: the rows wait again and the journal says so.
    void stopTransfers();

    // 采集本页地址: how many pages (1 unless 连续翻页 is ticked), the pause
    // between them (the batch's), and where the addresses go.
    int collectPages() const;
    int pauseMs() const;
    void showCollecting(const QString &text);
    // Appends the addresses not listed yet (to the running batch too) and says
    // how many were found and how many were new; returns the new ones' count.
    int addCollected(const QStringList &addresses, const QString &summary);

private:
    void build();
    void buildControls(class QGridLayout *grid);
    void buildCollectControls(class QHBoxLayout *row);
    void feedCollected();
    void chooseFolder();
    void updateControls();
    void updateProgress();
    void showStatus(const QString &reason);
    void openFolderOf(int row);
    // Says under the list which lines a reading dropped (nothing: the line goes).
    void showDropped(const QString &dropped);
    void warn(const QString &text);

    QPointer<BatchItemWorker> m_worker;
    Dialogs &m_dialogs;
    QString m_configFile;
    BatchRunner *m_runner = nullptr;
    BatchTableModel *m_model = nullptr;
    QPlainTextEdit *m_paste = nullptr;
    QLineEdit *m_folder = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_retry = nullptr;
    QSpinBox *m_parallel = nullptr;
    QSpinBox *m_delayMin = nullptr;
    QSpinBox *m_delayMax = nullptr;
    QCheckBox *m_keepPages = nullptr;
    QCheckBox *m_pageOn = nullptr;
    QSpinBox *m_pageCount = nullptr;
    QStringList m_collectedQueue;  // collected, for the running batch a few at a time
    QTimer m_collectedFeed;
    QTableView *m_table = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_dropped = nullptr;
    QLabel *m_choice = nullptr;  // what each item saves: 选项's, or a resumed batch's own
    QTimer m_tick;
    QTimer m_reread; // the pasted list is read again once typing rests
};
