#include "appearance/skin.h"

#include "appearance/Artwork.h"
#include "appearance/SkinManager.h"
#include "appearance/SkinSettings.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMouseEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

skin::skin(const SkinSettings &settings, const SkinManager &skins, Dialogs &dialogs, QWidget *parent)
    : QWidget(parent, Qt::Window), m_settings(settings), m_skins(skins), m_dialogs(dialogs),
      m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("skin"));
    setWindowTitle(QStringLiteral("换肤"));
    setWindowIcon(Artwork::programIcon());
    m_list->setObjectName(QStringLiteral("SkinFile"));
    // The rows keep the skins' own measure whatever skin is on, none included:
    // choosing one must not move the row under the mouse.
    m_list->setStyleSheet(QStringLiteral("QListWidget#SkinFile::item { padding: 6px 10px; margin: 0px;"
                                         " border: none; border-bottom: 1px solid palette(midlight); }"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    resize(314, 406);  // 4710 × 6090 twips

    m_list->viewport()->installEventFilter(this);
    // Selection, not the current row: the list makes its first entry current
    // by itself when it takes the focus, and that is nobody's choice.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &skin::onSelectionChanged);
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { onItemClicked(m_list->row(item)); });
}

void skin::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        load();
}

void skin::load()
{
    const QString folder = m_skins.skinsFolder();
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
    fill();
    const std::optional<int> id = m_settings.skinId();
    if (!id || *id < 0 || *id >= m_list->count())
        return;
    m_loading = true;
    m_list->setCurrentRow(*id);
    m_loading = false;
}

void skin::fill()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    // The file's name is the skin's; ".qss" says nothing to the user.
    for (const QString &file : m_skins.names()) {
        const QString shown = file.endsWith(QStringLiteral(".qss"), Qt::CaseInsensitive) && file.size() > 4
                                  ? file.chopped(4) : file;
        auto *item = new QListWidgetItem(shown, m_list);
        item->setData(Qt::UserRole, file);
    }
}

bool skin::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the entry that is already selected changes no selection;
    // remember the selection from before the press to tell the two apart.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress)
        m_rowBeforePress = selectedRow();
    return QWidget::eventFilter(watched, event);
}

int skin::selectedRow() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void skin::onSelectionChanged()
{
    const int row = selectedRow();
    if (row >= 0)
        choose(row, !m_loading);
}

void skin::onItemClicked(int row)
{
    if (row >= 0 && row == m_rowBeforePress)
        choose(row, true);
}

void skin::choose(int row, bool byUser)
{
    const QString name = m_list->item(row)->data(Qt::UserRole).toString();
    m_skins.apply(name);
    const SkinSettings::WriteResult stored = m_settings.store(name, row);
    // Opening the window writes the stored choice again; only the user's own
    // choice is worth a message when that fails.
    if (!stored && byUser)
        m_dialogs.messageBox(stored.message, QStringLiteral("友情提示"), Dialogs::Icon::Information);
    if (isVisible())
        activateWindow();
}
