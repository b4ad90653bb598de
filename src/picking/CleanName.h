#pragma once

#include <QString>

// Strips from a title everything that may not stand in a name: used for item
// titles, tab captions, item folders and favourite file names alike.
QString CleanName(const QString &text);
