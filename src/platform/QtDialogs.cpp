#include "platform/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
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
    return QFileDialog::getExistingDirectory(owner ? owner : m_parent.data(), title, initialFolder);
}
