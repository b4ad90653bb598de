#!/usr/bin/env bash
# Builds Pictorra and starts it. Without a display it runs the main job on the
# bundled sample shop instead: pick the sample product page and save its
# pictures into pictures/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    out="$ROOT/pictures"
    mkdir -p "$out"
    echo "No display: picking the sample shop and saving its pictures into $out"
    echo "(to see the window instead: xvfb-run -a $0)"
    "$ROOT/build/bin/pictorra" --demo --save "$out"
    echo "Pictures saved under $out"
    exit 0
fi
exec "$ROOT/build/bin/pictorra" "$@"
