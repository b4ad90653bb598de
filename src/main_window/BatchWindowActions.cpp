#include "main_window/BatchWindow.h"

#include "batch/BatchAddresses.h"
#include "batch/BatchCsv.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "main_window/SaveSettings.h"
#include "platform/Dialogs.h"
#include "platform/PlainFile.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QUrl>

using namespace Qt::StringLiterals;

// What the window's buttons do; BatchWindow.cpp builds it.

void BatchWindow::setAddresses(const QString &text)
{
    m_paste->setPlainText(text);
}

void BatchWindow::setSaveFolder(const QString &folder)
{
    m_folder->setText(folder);
}

void BatchWindow::startClicked()
{
    // 继续 after a pause goes on with the same rows.
    if (m_runner->status() == BatchRunner::Status::Paused) {
        m_runner->start();
        return;
    }
    const QString folder = m_folder->text().trimmed();
    if (folder.isEmpty() || !QDir(folder).exists()) {
        warn(u"请先选择保存到的文件夹"_s);
        return;
    }
    const BatchAddresses::Reading reading = BatchAddresses::readWithReport(m_paste->toPlainText());
    const QStringList &addresses = reading.addresses;
    m_reread.stop();
    showDropped(reading.dropped());
    QString error;
    m_runner->setChoice(SaveSettings::load(m_configFile));
    if (!m_runner->open(folder, addresses, &error)) {
        warn(u"无法使用这个文件夹: "_s + error);
        return;
    }
    // A folder with a batch in it goes on with the choice that batch began with.
    m_choice->setText(u"保存: "_s + m_runner->choice().describe());
    if (m_runner->rows().isEmpty()) {
        warn(u"没有找到宝贝地址"_s);
        return;
    }
    if (PlainFile::readable(m_configFile))
        QSettings(m_configFile, QSettings::IniFormat).setValue(u"config/BatchFolder"_s, folder);
    m_runner->start();
}

void BatchWindow::importList(const QString &path)
{
    QString error;
    BatchAddresses::Reading file = BatchAddresses::readFileWithReport(path, &error);
    if (!error.isEmpty()) {
        warn(path + u": "_s + error);
        return;
    }
    QStringList all = BatchAddresses::read(m_paste->toPlainText());
    // Both lists are normalised by read(): a listed address is found at once.
    QSet<QString> listed(all.cbegin(), all.cend());
    for (const QString &address : std::as_const(file.addresses)) {
        if (listed.contains(address)) {
            ++file.merged;
            continue;
        }
        listed.insert(address);
        all << address;
    }
    m_paste->setPlainText(all.join(u'\n'));
    // The lines the file dropped are not in the box: reading the box again would forget them.
    m_reread.stop();
    showDropped(file.dropped());
}

void BatchWindow::showDropped(const QString &dropped)
{
    m_dropped->setText(dropped);
    m_dropped->setToolTip(dropped);
    m_dropped->setVisible(!dropped.isEmpty());
}

bool BatchWindow::exportTable(const QString &path)
{
    QString error;
    if (BatchCsv::write(path, *m_model, &error))
        return true;
    warn(path + u": "_s + error);
    return false;
}

void BatchWindow::chooseFolder()
{
    const QString folder = m_dialogs.ChooseFolder(this, u"保存到"_s, m_folder->text());
    if (!folder.isEmpty())
        m_folder->setText(folder);
}

void BatchWindow::updateControls()
{
    const BatchRunner::Status status = m_runner->status();
    const bool running = status == BatchRunner::Status::Running;
    m_start->setText(status == BatchRunner::Status::Paused ? u"继续"_s : u"开始"_s);
    m_start->setEnabled(!running);
    m_pause->setEnabled(running);
    m_stop->setEnabled(running || status == BatchRunner::Status::Paused);

    m_paste->setReadOnly(running);
    m_folder->setReadOnly(running || status == BatchRunner::Status::Paused);
    updateProgress();
}

void BatchWindow::updateProgress()
{
    const int total = int(m_runner->rows().size());
    m_progress->setRange(0, qMax(1, total));
    m_progress->setValue(m_runner->finishedCount());
    m_progress->setFormat(u"%v/%m"_s);
    m_retry->setEnabled(m_runner->status() != BatchRunner::Status::Running && m_runner->tally().failures() > 0);
    if (m_runner->status() != BatchRunner::Status::Running)
        return;
    const std::optional<int> left = m_runner->secondsLeft();
    m_status->setText(left ? u"运行中, 预计还需 %1分%2秒"_s.arg(*left / 60).arg(*left % 60, 2, 10, QChar(u'0'))
                           : u"运行中"_s);
}

void BatchWindow::showStatus(const QString &reason)
{
    static const QStringList words{u"就绪"_s, u"运行中"_s, u"已暂停"_s, u"已停止"_s, u"全部完成"_s};
    QString word = words.value(int(m_runner->status()));
    if (m_runner->status() == BatchRunner::Status::Finished && m_runner->tally().failures() > 0)
        word = u"已结束, 有失败的地址 (可按 重试失败)"_s;
    m_status->setText(reason.isEmpty() ? word : word + u": "_s + reason);
}

void BatchWindow::openFolderOf(int row)
{
    if (row < 0 || row >= m_runner->rows().size())
        return;
    const QString folder = m_runner->rows()[row].folder;
    if (!folder.isEmpty() && QDir(folder).exists())
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void BatchWindow::warn(const QString &text)
{
    m_status->setText(text);
    m_dialogs.messageBox(text, u"批量采集"_s, Dialogs::Icon::Information);
}

bool BatchWindow::transferring() const
{
    return m_runner->status() == BatchRunner::Status::Running || m_runner->runningCount() > 0;
}

void BatchWindow::stopTransfers()
{
    m_runner->stop();
}
