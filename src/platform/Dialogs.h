#pragma once

#include <QString>

#include <optional>

class QWidget;

// The program's message boxes, input box and folder chooser. Commands talk to
// this seam so that tests and the screenless mode can answer for the user.
class Dialogs
{
public:
    enum class Icon { None, Information, Critical };

    virtual ~Dialogs() = default;

    // An empty title shows the program's own name, as the plain boxes do.
    virtual void messageBox(const QString &text, const QString &title = {}, Icon icon = Icon::None) = 0;
    // A yes/no question; true for yes.
    virtual bool question(const QString &text, const QString &title = {}) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultAnswer) = 0;
    // "" when the user cancels.
    virtual QString ChooseFolder(QWidget *owner, const QString &title, const QString &initialFolder) = 0;
};
