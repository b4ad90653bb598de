#pragma once

#include "download/SaveChoice.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QFormLayout;
class QSpinBox;

// 选项: what a download saves (the kinds, the least width and height of each
// picture kind, 相同图片只保存一次), kept in config.ini by the caller. Further
// settings go in as rows of addCheck().
class SaveOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SaveOptionsDialog(const SaveChoice &choice, QWidget *parent = nullptr);

    SaveChoice choice() const;
    // A check box row for a setting of the program's own.
    QCheckBox *addCheck(const QString &text, bool checked);

private:
    void addKindRow(const MediaKind &kind, const SaveChoice &choice);

    QFormLayout *m_form = nullptr;
    std::array<QCheckBox *, MediaKind::Count> m_kinds{};
    std::array<QSpinBox *, MediaKind::Count> m_widths{};
    std::array<QSpinBox *, MediaKind::Count> m_heights{};
    QCheckBox *m_info = nullptr;
    QCheckBox *m_dedupe = nullptr;
};
