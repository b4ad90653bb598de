// What 采集本页地址 needs of the window: its paging controls and the list the
// collected addresses join.
#include "main_window/BatchWindow.h"

#include "batch/BatchAddresses.h"
#include "batch/BatchRunner.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSet>
#include <QSpinBox>

using namespace Qt::StringLiterals;

void BatchWindow::buildCollectControls(QHBoxLayout *row)
{
    m_pageOn = new QCheckBox(u"连续翻页"_s, this);
    m_pageOn->setObjectName(u"pageOn"_s);
    m_pageOn->setToolTip(u"采集本页地址时, 也按 下一页 采集后面的页"_s);
    m_pageCount = new QSpinBox(this);
    m_pageCount->setObjectName(u"pageCount"_s);
    m_pageCount->setRange(1, 100);
    m_pageCount->setValue(10);
    m_pageCount->setSuffix(u" 页"_s);
    row->addWidget(m_pageOn);
    row->addWidget(m_pageCount);
    m_collectedFeed.setInterval(0);
    connect(&m_collectedFeed, &QTimer::timeout, this, &BatchWindow::feedCollected);
}

int BatchWindow::collectPages() const
{
    return m_pageOn->isChecked() ? m_pageCount->value() : 1;
}

int BatchWindow::pauseMs() const
{
    const int low = m_delayMin->value() * 1000;
    return BatchRunner::randomDelay(low, qMax(low, m_delayMax->value() * 1000))();
}

void BatchWindow::showCollecting(const QString &text)
{
    m_status->setText(text);
}

int BatchWindow::addCollected(const QStringList &addresses, const QString &summary)
{
    // The rows and the box are both normalised by read(): a listed address is found at once.
    QSet<QString> listed(m_collectedQueue.cbegin(), m_collectedQueue.cend());
    for (const BatchRow &row : m_runner->rows())
        listed.insert(BatchAddresses::normalised(row.url));
    for (const QString &address : BatchAddresses::read(m_paste->toPlainText()))
        listed.insert(address);
    QStringList fresh;
    for (const QString &address : addresses) {
        const QString key = BatchAddresses::normalised(address);
        if (!listed.contains(key)) {
            listed.insert(key);
            fresh << address;
        }
    }
    if (!fresh.isEmpty()) {
        m_paste->appendPlainText(fresh.join(u'\n'));
        // A batch under way takes them as a list still being read does.
        const BatchRunner::Status status = m_runner->status();
        if (status == BatchRunner::Status::Running || status == BatchRunner::Status::Paused) {
            m_collectedQueue += fresh;
            m_collectedFeed.start();
        }
    }
    m_status->setText(u"%1, 其中 %2 个是新的, 已加入列表"_s.arg(summary).arg(fresh.size()));
    return int(fresh.size());
}

// A few hundred at a time, each turn of the event loop: every address is
// journalled as it joins, and ten thousand at once would stall the window.
void BatchWindow::feedCollected()
{
    constexpr qsizetype PerTurn = 250;
    const BatchRunner::Status status = m_runner->status();
    // A batch stopped meanwhile takes the rest from the list at its next 开始.
    if (m_collectedQueue.isEmpty() || (status != BatchRunner::Status::Running && status != BatchRunner::Status::Paused)) {
        m_collectedQueue.clear();
        m_collectedFeed.stop();
        return;
    }
    m_runner->add(m_collectedQueue.mid(0, PerTurn));
    m_collectedQueue.remove(0, qMin(PerTurn, m_collectedQueue.size()));
}
