#pragma once

#include <QStringList>

class QApplication;

// Everything main() does: prepares the browser engine's environment, builds
// the window with its services and runs the event loop.
namespace Launcher {
int run(int argc, char *argv[]);

// Names the application (window titles stay exactly as set: no display name
// is added to them), and makes Qt and the browser engine speak Chinese.
// Returns the translation catalogues that were loaded.
QStringList setUpApplication(QApplication &app);
}
