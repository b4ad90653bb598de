#!/usr/bin/env bash
# Builds Pictorra and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found. Start the window under a virtual display with:"
    echo "    xvfb-run -a -s '-screen 0 1280x800x24' $ROOT/build/bin/pictorra"
    exit 0
fi
exec "$ROOT/build/bin/pictorra" "$@"
