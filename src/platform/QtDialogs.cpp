#include "platform/QtDialogs.h"

#include "platform/PlainFile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
const QString LastFolderKey = QStringLiteral("config/LastFolder");
// Far above any real config.ini; a larger one is not ours and is not parsed.
constexpr qint64 MaxConfigBytes = 1024 * 1024;

QString titleOrProgramName(const QString &title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}
}

void QtDialogs::messageBox(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(titleOrProgramName(title));
    // Plain text always: messages may quote page titles, and "<采集>" is no tag.
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setStandardButtons(QMessageBox::Ok);
    switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::None: break;
    }
    box.exec();
}

bool QtDialogs::question(const QString &text, const QString &title)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(titleOrProgramName(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::inputBox(const QString &prompt, const QString &title,
                                           const QString &defaultAnswer)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, titleOrProgramName(title), prompt,
                                                 QLineEdit::Normal, defaultAnswer, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString QtDialogs::ChooseFolder(QWidget *owner, const QString &title, const QString &initialFolder)
{
    const QString chosen = QFileDialog::getExistingDirectory(owner ? owner : m_parent.data(), title,
                                                             startFolder(initialFolder));
    if (!chosen.isEmpty() && !m_config.isEmpty() && QFileInfo(m_config).size() <= MaxConfigBytes
        && PlainFile::readable(m_config)) {
        QSettings ini(m_config, QSettings::IniFormat);
        ini.setValue(LastFolderKey, chosen);
    }
    return chosen;
}

QString QtDialogs::startFolder(const QString &initialFolder) const
{
    // A caller's own folder wins; the working folder is only what callers
    // offer when they know of none, and the last choice is a better guess.
    const QFileInfo initial(initialFolder);
    if (!initialFolder.isEmpty() && initial.isDir() && initial.absoluteFilePath() != QDir::currentPath())
        return initialFolder;
    if (m_config.isEmpty() || QFileInfo(m_config).size() > MaxConfigBytes || !PlainFile::readable(m_config))
        return initialFolder;
    const QString last = QSettings(m_config, QSettings::IniFormat).value(LastFolderKey).toString();
    return QFileInfo(last).isDir() ? last : initialFolder;
}
