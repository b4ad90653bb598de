#include "favourites/linka.h"

#include "platform/Dialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
// The list's size at start, 4695 x 2970 twips.
constexpr QSize StartClientSize(313, 198);
}

linka::linka(const QString &folder, Dialogs &dialogs,
             std::function<void(const QString &path)> openfile, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_store(folder), m_dialogs(dialogs), m_openfile(std::move(openfile))
{
    setObjectName(QStringLiteral("linka"));
    setWindowTitle(QStringLiteral("收藏夹"));
    setAttribute(Qt::WA_DeleteOnClose);

    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    buildMenu();

    // The list fills whatever the menu bar leaves of the window.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(File1);
    resize(StartClientSize.width(), StartClientSize.height() + m_menuBar->sizeHint().height());

    // Selection, not the current row: the list makes its first entry current
    // by itself when it regains the focus, and that is nobody's choice.
    connect(File1, &QListWidget::itemSelectionChanged, this, &linka::File1_Click);
    connect(File1, &QListWidget::itemClicked, this, &linka::File1_Click);
    connect(File1, &QListWidget::itemDoubleClicked, this, &linka::File1_DblClick);
    Form_Load();
}

void linka::buildMenu()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    const QStringList captions = {QStringLiteral("打开"), QStringLiteral("删除"), QStringLiteral("修改"),
                                  QStringLiteral("设为主页")};
    for (int index = 0; index < captions.size(); ++index) {
        QAction *item = m_menuBar->addAction(captions[index]);
        connect(item, &QAction::triggered, this, [this, index] { menu_Click(index); });
        m_menu.append(item);
    }
}

void linka::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        if (QScreen *screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void linka::Form_Load()
{
    m_store.ensureFolder();
    refresh({});
}

// Re-reads the folder and selects preferredName when listed, else the first
// entry (or nothing, when !orFirst), so the selection never names a file that is gone.
void linka::refresh(const QString &preferredName, bool orFirst)
{
    {
        const QSignalBlocker quiet(File1);
        File1->clear();
        File1->addItems(m_store.entries());
        const QList<QListWidgetItem *> found =
            File1->findItems(preferredName, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!preferredName.isEmpty() && !found.isEmpty())
            File1->setCurrentItem(found.first());
        else
            File1->setCurrentRow(orFirst && File1->count() > 0 ? 0 : -1);
    }
    File1_Click();
}

void linka::File1_Click()
{
    const QList<QListWidgetItem *> selected = File1->selectedItems();
    m_selected = selected.isEmpty() ? QString() : m_store.pathOf(selected.first()->text());
}

void linka::File1_DblClick()
{
    QPointer<linka> self(this);
    openCommand();
    if (self)
        close();
}

void linka::menu_Click(int index)
{
    switch (index) {
    case 0: openCommand(); break;
    case 1: deleteCommand(); break;
    case 2: renameCommand(); break;
    case 3: setAsHomeCommand(); break;
    default: break;
    }
}

void linka::openCommand()
{
    const QString name = QFileInfo(m_selected).fileName();
    // Opening can show a message box, and the window may be closed meanwhile.
    QPointer<linka> self(this);
    if (!m_selected.isEmpty() && m_openfile)
        m_openfile(m_selected);
    if (self)
        refresh(name);
}

void linka::deleteCommand()
{
    if (!m_store.remove(m_selected))
        return;
    // Nothing selected afterwards: a second press must not delete a favourite
    // the user never chose.
    refresh({}, false);
}

void linka::renameCommand()
{
    if (m_selected.isEmpty())
        return;
    const QString selected = m_selected;
    // The user edits the name only: an answer typed over the whole file name
    // would lose ".link", and the favourite would then open as plain text.
    const QString fileName = QFileInfo(selected).fileName();
    const QString extension = QStringLiteral(".link");
    const bool isLink = fileName.endsWith(extension, Qt::CaseInsensitive) && fileName.size() > extension.size();
    const QString kept = isLink ? fileName.right(extension.size()) : QString();
    QPointer<linka> self(this);
    auto answer = m_dialogs.inputBox(QStringLiteral("请输入新名称。"), QString(), fileName.chopped(kept.size()));
    if (!self)
        return;
    if (answer && !answer->isEmpty() && !answer->endsWith(extension, Qt::CaseInsensitive))
        *answer += kept;
    if (const auto renamed = m_store.rename(selected, answer))
        refresh(QFileInfo(*renamed).fileName());
}

void linka::setAsHomeCommand()
{
    if (!m_store.setAsHome(m_selected))
        return;
    QPointer<linka> self(this);
    m_dialogs.messageBox(QStringLiteral("已经设置为主页!"));
    if (self)
        close();
}
