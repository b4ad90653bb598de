#pragma once

#include <QToolBar>

class QToolButton;

// The main window's toolbar: eight picture buttons with their caption under
// the picture. It only reports which button was clicked; ToolbarCommands
// says what each one does.
class Toolbar1 : public QToolBar
{
    Q_OBJECT
public:
    static constexpr int ButtonCount = 8;

    explicit Toolbar1(QWidget *parent = nullptr);

    // Buttons are numbered 1..8 from the left; nullptr for other numbers.
    QAction *button(int index) const;
    QToolButton *toolButton(int index) const;

signals:
    void buttonClicked(int index);

private:
    QList<QAction *> m_buttons;
};
