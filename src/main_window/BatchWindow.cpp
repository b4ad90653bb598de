#include "main_window/BatchWindow.h"

#include "batch/BatchAddresses.h"
#include "batch/BatchItemWorker.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "main_window/SaveSettings.h"
#include "platform/Dialogs.h"
#include "platform/PlainFile.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString FolderKey = u"config/BatchFolder"_s;
}

BatchWindow::BatchWindow(BatchItemWorker *worker, Dialogs &dialogs, const QString &configFile, QWidget *parent)
    : QWidget(parent), m_worker(worker), m_dialogs(dialogs), m_configFile(configFile)
{
    setObjectName(u"plcj"_s);
    setWindowTitle(u"批量采集"_s);
    m_runner = new BatchRunner(worker, this);
    m_model = new BatchTableModel(m_runner, this);
    build();
    // Read when each pause begins, so a change applies to the running batch.
    m_runner->setDelay([this] { return pauseMs(); });
    if (PlainFile::readable(m_configFile))
        m_folder->setText(QSettings(m_configFile, QSettings::IniFormat).value(FolderKey).toString());
    connect(m_runner, &BatchRunner::statusChanged, this, [this](BatchRunner::Status, const QString &reason) {
        updateControls();
        showStatus(reason);
    });
    connect(m_runner, &BatchRunner::rowChanged, this, &BatchWindow::updateProgress);
    connect(m_runner, &BatchRunner::rowsReset, this, &BatchWindow::updateProgress);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        m_model->refreshRunning();
        updateProgress();
    });
    m_tick.start(1000);
    updateControls();
    resize(1000, 640);
}

BatchWindow::~BatchWindow() = default;

void BatchWindow::build()
{
    auto *grid = new QGridLayout(this);
    m_paste = new QPlainTextEdit(this);
    m_paste->setObjectName(u"addresses"_s);
    m_paste->setPlaceholderText(u"粘贴宝贝地址, 每行一个 (分享的链接文字也可以)"_s);
    m_paste->setMaximumHeight(120);
    m_dropped = new QLabel(this);
    m_dropped->setObjectName(u"dropped"_s);
    m_dropped->setWordWrap(true);
    m_dropped->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    m_dropped->hide();
    auto *list = new QVBoxLayout;
    list->addWidget(m_paste);
    list->addWidget(m_dropped);
    grid->addLayout(list, 0, 0, 1, 2);
    m_reread.setSingleShot(true);
    m_reread.setInterval(300);
    connect(&m_reread, &QTimer::timeout, this,
            [this] { showDropped(BatchAddresses::readWithReport(m_paste->toPlainText()).dropped()); });
    connect(m_paste, &QPlainTextEdit::textChanged, &m_reread, qOverload<>(&QTimer::start));
    buildControls(grid);
    m_table = new QTableView(this);
    m_table->setObjectName(u"table"_s);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setColumnWidth(BatchTableModel::Address, 260);
    m_table->setColumnWidth(BatchTableModel::Title, 200);
    m_table->setColumnWidth(BatchTableModel::State, 110);
    for (int column = BatchTableModel::FirstKind; column <= BatchTableModel::Failed; ++column)
        m_table->setColumnWidth(column, 56);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { openFolderOf(index.row()); });
    grid->addWidget(m_table, 3, 0, 1, 2);
    m_progress = new QProgressBar(this);
    m_status = new QLabel(this);
    m_status->setObjectName(u"status"_s);
    grid->addWidget(m_progress, 4, 0);
    grid->addWidget(m_status, 4, 1);
    m_choice = new QLabel(u"保存: "_s + SaveSettings::load(m_configFile).describe(), this);
    m_choice->setObjectName(u"choice"_s);
    m_choice->setWordWrap(true);
    grid->addWidget(m_choice, 5, 0, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
}

void BatchWindow::buildControls(QGridLayout *grid)
{
    auto button = [this](const QString &text, auto slot) {
        auto *b = new QPushButton(text, this);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto *row1 = new QHBoxLayout;
    row1->addWidget(button(u"导入"_s, [this] {
        const QString path = QFileDialog::getOpenFileName(this, u"导入"_s, {}, u"文本文件 (*.txt);;所有文件 (*)"_s);
        if (!path.isEmpty())
            importList(path);
    }));
    row1->addWidget(button(u"保存到"_s, [this] { chooseFolder(); }));
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(u"folder"_s);
    row1->addWidget(m_folder, 1);
    buildCollectControls(row1);
    grid->addLayout(row1, 1, 0, 1, 2);

    auto *row2 = new QHBoxLayout;
    row2->addWidget(m_start = button(u"开始"_s, [this] { startClicked(); }));
    row2->addWidget(m_pause = button(u"暂停"_s, [this] { m_runner->pause(); }));
    row2->addWidget(m_stop = button(u"停止"_s, [this] { m_runner->stop(); }));
    row2->addWidget(m_retry = button(u"重试失败"_s, [this] { m_runner->retryFailed(); }));
    row2->addWidget(new QLabel(u"同时采集"_s, this));
    m_parallel = new QSpinBox(this);
    m_parallel->setRange(1, BatchRunner::MaxParallel);
    connect(m_parallel, &QSpinBox::valueChanged, m_runner, &BatchRunner::setParallel);
    row2->addWidget(m_parallel);
    row2->addWidget(new QLabel(u"间隔(秒)"_s, this));
    m_delayMin = new QSpinBox(this);
    m_delayMax = new QSpinBox(this);
    for (QSpinBox *box : {m_delayMin, m_delayMax})
        box->setRange(0, 600);
    m_delayMin->setValue(2);
    m_delayMax->setValue(5);
    row2->addWidget(m_delayMin);
    row2->addWidget(new QLabel(u"-"_s, this));
    row2->addWidget(m_delayMax);
    m_keepPages = new QCheckBox(u"保留结果页"_s, this);
    connect(m_keepPages, &QCheckBox::toggled, this, [this](bool keep) {
        if (m_worker)
            m_worker->setKeepResultPages(keep);
    });
    row2->addWidget(m_keepPages);
    row2->addStretch(1);
    row2->addWidget(button(u"导出"_s, [this] {
        const QString path = QFileDialog::getSaveFileName(this, u"导出"_s, m_folder->text() + u"/批量采集.csv"_s,
                                                          u"CSV (*.csv)"_s);
        if (!path.isEmpty())
            exportTable(path);
    }));
    grid->addLayout(row2, 2, 0, 1, 2);
}
