#pragma once

// Everything main() does: prepares the browser engine's environment, builds
// the window with its services and runs the event loop.
namespace Launcher {
int run(int argc, char *argv[]);
}
