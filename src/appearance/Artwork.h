#pragma once

#include <QIcon>

// The program's own pictures, kept as SVG in the resources.
namespace Artwork {
// The program icon: window icon and tray icon.
QIcon programIcon();
QString programIconPath();
// The toolbar's picture list, numbered 1..10; a null icon for other numbers.
QIcon picture(int number);
QString picturePath(int number);
}
