#include "main_window/WindowPlacement.h"

#include "main_window/MainLayout.h"
#include "platform/PlainFile.h"

#include <QFileInfo>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>

namespace {
const QString Section = QStringLiteral("config/");
const QString GeometryKey = QStringLiteral("WindowGeometry");
// Far above any real config.ini; a larger one is not ours and is not parsed.
constexpr qint64 MaxConfigBytes = 1024 * 1024;
// A stored size below this is a slip of the mouse, not a choice.
const QSize Smallest(480, 320);

// The window frame is not known before the window is shown: the title bar's
// height and a border stand in for it.
QMargins estimatedFrame(const QWidget &window)
{
    const int border = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
    return QMargins(border, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border);
}

int number(const QSettings &ini, const QString &key, bool *ok)
{
    bool good = false;
    const int value = ini.value(Section + key).toString().trimmed().toInt(&good);
    *ok = *ok && good;
    return value;
}
}

std::optional<WindowPlacement::Place> WindowPlacement::stored() const
{
    if (!QFileInfo(m_file).isFile() || QFileInfo(m_file).size() > MaxConfigBytes)
        return std::nullopt;
    const QSettings ini(m_file, QSettings::IniFormat);
    bool ok = true;
    Place place;
    place.frame = QRect(number(ini, QStringLiteral("WindowLeft"), &ok), number(ini, QStringLiteral("WindowTop"), &ok),
                        number(ini, QStringLiteral("WindowWidth"), &ok), number(ini, QStringLiteral("WindowHeight"), &ok));
    if (!ok || place.frame.width() <= 0 || place.frame.height() <= 0)
        return std::nullopt;
    place.maximized = ini.value(Section + QStringLiteral("WindowMaximized")).toString().trimmed() == u"1";
    return place;
}

bool WindowPlacement::store(const Place &place) const
{
    if (QFileInfo(m_file).size() > MaxConfigBytes || !PlainFile::readable(m_file))
        return false;
    QSettings ini(m_file, QSettings::IniFormat);
    ini.setValue(Section + QStringLiteral("WindowLeft"), QString::number(place.frame.x()));
    ini.setValue(Section + QStringLiteral("WindowTop"), QString::number(place.frame.y()));
    ini.setValue(Section + QStringLiteral("WindowWidth"), QString::number(place.frame.width()));
    ini.setValue(Section + QStringLiteral("WindowHeight"), QString::number(place.frame.height()));
    ini.setValue(Section + QStringLiteral("WindowMaximized"), place.maximized ? QStringLiteral("1") : QStringLiteral("0"));
    ini.sync();
    return ini.status() != QSettings::AccessError;
}

QRect WindowPlacement::firstFrame(const QRect &available)
{
    // Product pages are laid out about 1200 pixels wide; beside the tab
    // column and a scroll bar they want this much to show without sideways scrolling.
    const int pageWidth = 1200 + MainLayout::px(3710) + 24;
    const QSize size(qMin(available.width(), qMax(available.width() * 4 / 5, pageWidth)), available.height() * 4 / 5);
    QRect frame(QPoint(), size);
    frame.moveCenter(available.center());
    return frame;
}

QRect WindowPlacement::fitted(const QRect &frame, const QRect &available)
{
    QRect place = frame;
    place.setSize(frame.size().expandedTo(Smallest).boundedTo(available.size()));
    return MainLayout::startGeometry(place, QMargins(), available);
}

QByteArray WindowPlacement::storedGeometry() const
{
    if (!QFileInfo(m_file).isFile() || QFileInfo(m_file).size() > MaxConfigBytes)
        return {};
    const QSettings ini(m_file, QSettings::IniFormat);
    return QByteArray::fromBase64(ini.value(Section + GeometryKey).toString().toLatin1());
}

void WindowPlacement::restore(QWidget &window) const
{
    // Qt's own record keeps the normal place of a maximised window and fits
    // it onto today's screens; the older keys stand in where it is missing.
    if (const QByteArray geometry = storedGeometry(); !geometry.isEmpty() && window.restoreGeometry(geometry))
        return;
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins frame = estimatedFrame(window);
    const std::optional<Place> place = stored();
    const QRect outer = place ? fitted(place->frame, available) : firstFrame(available);
    window.setGeometry(outer.marginsRemoved(frame));
    if (place && place->maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void WindowPlacement::remember(const QWidget &window) const
{
    // The normal place, also while maximised: un-maximising next time goes there.
    const QRect client = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
    store({client.marginsAdded(estimatedFrame(window)), window.isMaximized()});
    if (QFileInfo(m_file).size() > MaxConfigBytes || !PlainFile::readable(m_file))
        return;
    QSettings ini(m_file, QSettings::IniFormat);
    ini.setValue(Section + GeometryKey, QString::fromLatin1(window.saveGeometry().toBase64()));
}
