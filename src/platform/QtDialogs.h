#pragma once

#include "platform/Dialogs.h"

#include <QPointer>
#include <QWidget>

// Dialogs on Qt's own message box, input dialog and folder chooser.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    // The folder chooser opens where the user last chose, kept in this config.ini.
    void rememberFoldersIn(const QString &configFile) { m_config = configFile; }

    void messageBox(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultAnswer) override;
    QString ChooseFolder(QWidget *owner, const QString &title, const QString &initialFolder) override;

private:
    QString startFolder(const QString &initialFolder) const;

    QPointer<QWidget> m_parent;
    QString m_config;
};
