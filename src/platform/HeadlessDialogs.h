#pragma once

#include "platform/Dialogs.h"

// Dialogs for runs without a screen: boxes never block, their text goes to
// standard error, and the folder chooser answers with a folder given up front.
class HeadlessDialogs : public Dialogs
{
public:
    explicit HeadlessDialogs(QString folder = {}) : m_folder(std::move(folder)) {}

    void messageBox(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultAnswer) override;
    QString ChooseFolder(QWidget *owner, const QString &title, const QString &initialFolder) override;

private:
    QString m_folder;
};
