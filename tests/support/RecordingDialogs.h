#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers for the user and remembers what the program asked.
class RecordingDialogs : public Dialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
        Icon icon;
    };
    struct FolderRequest
    {
        QString title;
        QString initialFolder;
    };

    QList<Message> messages;
    QList<FolderRequest> folderRequests;
    QStringList prompts;
    QStringList questions;

    std::optional<QString> inputAnswer;      // nullopt: the user cancels
    QString folderAnswer;                    // "": the user cancels
    std::function<void()> onMessage;         // runs inside a message box, if set
    bool questionAnswer = true;

    void messageBox(const QString &text, const QString &title, Icon icon) override
    {
        messages.append({text, title, icon});
        if (onMessage)
            onMessage();
    }
    bool question(const QString &text, const QString &) override
    {
        questions.append(text);
        return questionAnswer;
    }
    std::optional<QString> inputBox(const QString &prompt, const QString &, const QString &defaultAnswer) override
    {
        prompts.append(prompt + QLatin1Char('|') + defaultAnswer);
        return inputAnswer;
    }
    QString ChooseFolder(QWidget *, const QString &title, const QString &initialFolder) override
    {
        folderRequests.append({title, initialFolder});
        return folderAnswer;
    }
};
