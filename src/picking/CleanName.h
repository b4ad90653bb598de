#pragma once

#include "base/DisplayText.h"

#include <QString>

// Strips from a title everything that may not stand in a name: used for item
// titles, tab captions, item folders and favourite file names alike. Control
// characters and bidirectional overrides go too: a page could otherwise cut a
// folder name at a NUL, or recolour and reorder the terminal that prints it.
QString CleanName(const QString &text);
