#!/usr/bin/env bash
# Builds Pictorra and makes its Debian package in the source folder
# (pictorra_VERSION_ARCH.deb), to install with `apt install ./pictorra_*.deb`.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build build
cpack --config "$ROOT/build/CPackConfig.cmake" -B "$ROOT/build/package" >/dev/null
cp "$ROOT"/build/package/pictorra_*.deb "$ROOT/"
ls "$ROOT"/pictorra_*.deb
