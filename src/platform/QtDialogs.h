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

    void messageBox(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultAnswer) override;
    QString ChooseFolder(QWidget *owner, const QString &title, const QString &initialFolder) override;

private:
    QPointer<QWidget> m_parent;
};
