#pragma once

#include <QByteArray>

#include <QtGlobal>

// Keeps the browser engine's chatter off a terminal run: its start-up notes,
// the platform's warnings and the console messages of the pages it shows are
// none of the reader's business unless asked for (--verbose). What the
// program has to tell is printed by itself, not through Qt's messages.
namespace EngineQuiet {

// The engine's flags with its own logging cut down to fatal errors; `flags`
// as they stand when the user set some of his own.
QByteArray chromiumFlags(const QByteArray &flags);

// Whether a quiet run lets a Qt message of `type` in `category` through:
// only errors, and never a page's or the engine's own.
bool shown(QtMsgType type, const char *category);

// Installs a message handler that drops the rest. Call once, before the
// engine starts.
void install();

} // namespace EngineQuiet
