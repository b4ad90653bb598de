#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;
struct MainLayout;

// The strip under the toolbar: "<" and ">" step through the tabs, the address
// box with its drop-down history, and the Pick and Download buttons.
class AddressStrip : public QWidget
{
    Q_OBJECT
public:
    explicit AddressStrip(QWidget *parent = nullptr);

    QString address() const;
    void setAddress(const QString &address);
    void applyLayout(const MainLayout &layout);
    // Remembers an entered address once (exact, case-sensitive comparison).
    void rememberAddress(const QString &address);

    QPushButton *goback;
    QPushButton *GoForward;
    QComboBox *urladress;
    QPushButton *pick_B;
    QPushButton *DownLoad_B;

Q_SIGNALS:
    void addressEntered(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
