#pragma once

#include <QWidget>

class Dialogs;
class QListWidget;
class SkinManager;
class SkinSettings;

// The skin window ("换肤"): lists the skins folder; a click applies a skin and
// remembers it. Every show after the window was hidden or closed loads it
// afresh: the folder is read again and the stored position re-selected.
class skin : public QWidget
{
    Q_OBJECT
public:
    skin(const SkinSettings &settings, const SkinManager &skins, Dialogs &dialogs, QWidget *parent = nullptr);

    QListWidget *SkinFile() const { return m_list; }
    // Fills the list and re-selects the stored position (showing the window does this).
    void load();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    int selectedRow() const;
    void onSelectionChanged();
    void onItemClicked(int row);
    void choose(int row, bool byUser);

    const SkinSettings &m_settings;
    const SkinManager &m_skins;
    Dialogs &m_dialogs;
    QListWidget *m_list;
    int m_rowBeforePress = -1;
    bool m_loading = false;
};
