#include "main_window/MesgList.h"

#include <QAction>
#include <QHelpEvent>
#include <QProgressBar>
#include <QToolButton>
#include <QToolTip>

namespace {
const QString retryText = QStringLiteral("重试失败");
}

MesgList::MesgList(QWidget *parent)
    : QListWidget(parent), m_retryAction(new QAction(retryText, this)), m_retryButton(new QToolButton(this)),
      m_progress(new QProgressBar(this))
{
    m_progress->setObjectName(QStringLiteral("downloadProgress"));
    m_progress->setTextVisible(true);
    m_progress->setFormat(QStringLiteral("%v/%m"));
    m_progress->hide();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_retryAction->setObjectName(QStringLiteral("retryFailed"));
    addAction(m_retryAction);
    m_retryButton->setObjectName(QStringLiteral("retryButton"));
    m_retryButton->setText(retryText);
    m_retryButton->setToolTip(QStringLiteral("重新下载失败的图片，保存到同一目录、同一编号"));
    connect(m_retryAction, &QAction::triggered, this, &MesgList::retryRequested);
    connect(m_retryButton, &QToolButton::clicked, this, &MesgList::retryRequested);
    connect(model(), &QAbstractItemModel::rowsInserted, this, &MesgList::shapeChanged);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &MesgList::shapeChanged);
    setRetryOffered(false);
}

int MesgList::rowHeight() const
{
    return qMax(fontMetrics().height() + 4, sizeHintForRow(0));
}

int MesgList::preferredHeight() const
{
    // Every row holds one line of this list's font; the retry button sits at
    // the right of the counts row and may make the list's bottom lower.
    const int rows = qMax(1, count());
    int height = rows * rowHeight();
    if (retryOffered())
        height = qMax(height, rowHeight() * qMin(1, rows - 1) + m_retryButton->sizeHint().height());
    return height + 2 * frameWidth();
}

void MesgList::setRow(int row, const QString &text)
{
    while (count() <= row)
        addItem(QString());
    item(row)->setText(text);
}

void MesgList::setCounts(const QString &text)
{
    setRow(1, text);
    m_hasCounts = true;
}

void MesgList::clearCounts()
{
    if (m_hasCounts && count() > 1)
        delete takeItem(1);
    m_hasCounts = false;
    setRetryOffered(false);
}

void MesgList::setProgress(int done, int total)
{
    if (total <= 0) {
        m_progress->hide();
        return;
    }
    m_progress->setRange(0, total);
    m_progress->setValue(qBound(0, done, total));
    m_progress->show();
    placeProgress();
}

void MesgList::placeProgress()
{
    // Over the right end of the progress row, whose text says the same in numbers.
    const int width = qMin(240, viewport()->width() / 3);
    const int height = qMax(8, rowHeight() - 4);
    m_progress->setGeometry(frameWidth() + viewport()->width() - width - 2, frameWidth() + 2, width, height);
    m_progress->raise();
}

void MesgList::setRetryOffered(bool offered)
{
    if (offered == retryOffered() && m_retryButton->isHidden() == !offered)
        return;
    m_retryAction->setEnabled(offered);
    m_retryButton->setVisible(offered);
    // The rows end where the button begins: a long failure list is cut short
    // with an ellipsis (its tool tip has it all) instead of running under it.
    setViewportMargins(0, 0, offered ? m_retryButton->sizeHint().width() : 0, 0);
    placeRetryButton();
    emit shapeChanged();
}

bool MesgList::retryOffered() const
{
    return m_retryAction->isEnabled();
}

bool MesgList::viewportEvent(QEvent *event)
{
    // A row is often longer than the list is wide: the tip shows all of it.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QListWidgetItem *row = itemAt(help->pos());
        if (row && !row->text().isEmpty())
            QToolTip::showText(help->globalPos(), row->text(), viewport(), visualItemRect(row));
        else
            QToolTip::hideText();
        return true;
    }
    return QListWidget::viewportEvent(event);
}

void MesgList::showEvent(QShowEvent *event)
{
    QListWidget::showEvent(event);
    emit shapeChanged();
}

void MesgList::hideEvent(QHideEvent *event)
{
    QListWidget::hideEvent(event);
    emit shapeChanged();
}

void MesgList::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    placeRetryButton();
    placeProgress();
}

void MesgList::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    // A skin may bring another font: the rows' height goes with it.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        emit shapeChanged();
}

void MesgList::placeRetryButton()
{
    // Right end of the counts row, where the failures are named.
    const QSize size = m_retryButton->sizeHint();
    const int top = frameWidth() + rowHeight() * qMin(1, qMax(0, count() - 1));
    m_retryButton->setGeometry(width() - frameWidth() - size.width(), top, size.width(), size.height());
    m_retryButton->raise();
}
