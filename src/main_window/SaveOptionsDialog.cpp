#include "main_window/SaveOptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
QSpinBox *pixels(int value, const QString &name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 100000);
    box->setSuffix(u" 像素"_s);
    box->setSpecialValueText(u"不限"_s);
    box->setValue(value);
    return box;
}
}

SaveOptionsDialog::SaveOptionsDialog(const SaveChoice &choice, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(u"选项"_s);
    setObjectName(u"SaveOptions"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"下载时保存："_s, this));
    m_form = new QFormLayout;
    layout->addLayout(m_form);
    for (const MediaKind &kind : MediaKinds::all())
        addKindRow(kind, choice);
    m_info = new QCheckBox(u"商品信息（商品信息.json 和 商品SKU.csv）"_s, this);
    m_info->setObjectName(u"info"_s);
    m_info->setChecked(choice.info);
    m_form->addRow(m_info);
    m_dedupe = addCheck(u"相同图片只保存一次"_s, choice.dedupe);
    m_dedupe->setObjectName(u"dedupe"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// A kind with pictures gets its least width and height beside its box.
void SaveOptionsDialog::addKindRow(const MediaKind &kind, const SaveChoice &choice)
{
    m_kinds[kind.id] = new QCheckBox(kind.folder, this);
    m_kinds[kind.id]->setObjectName(kind.key);
    m_kinds[kind.id]->setChecked(choice.keeps(kind.id));
    if (kind.body != MediaKind::Body::Picture) {
        m_form->addRow(m_kinds[kind.id]);
        return;
    }
    auto *sizes = new QHBoxLayout;
    m_widths[kind.id] = pixels(choice.rules[kind.id].minWidth, kind.key + u"Width"_s, this);
    m_heights[kind.id] = pixels(choice.rules[kind.id].minHeight, kind.key + u"Height"_s, this);
    sizes->addWidget(new QLabel(u"最小宽度"_s, this));
    sizes->addWidget(m_widths[kind.id]);
    sizes->addWidget(new QLabel(u"最小高度"_s, this));
    sizes->addWidget(m_heights[kind.id]);
    m_form->addRow(m_kinds[kind.id], sizes);
}

QCheckBox *SaveOptionsDialog::addCheck(const QString &text, bool checked)
{
    auto *box = new QCheckBox(text, this);
    box->setChecked(checked);
    m_form->addRow(box);
    return box;
}

SaveChoice SaveOptionsDialog::choice() const
{
    SaveChoice choice;
    for (const MediaKind &kind : MediaKinds::all()) {
        choice.kinds[kind.id] = m_kinds[kind.id]->isChecked();
        if (m_widths[kind.id])
            choice.rules[kind.id] = {m_widths[kind.id]->value(), m_heights[kind.id]->value()};
    }
    choice.info = m_info->isChecked();
    choice.dedupe = m_dedupe->isChecked();
    return choice;
}
