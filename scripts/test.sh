#!/usr/bin/env bash
# Builds Pictorra and runs every test headless. PICTORRA_SANITIZE=1 builds
# with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
if [ "${PICTORRA_SANITIZE:-0}" = 1 ]; then
    dir=build-sanitize
    build "$dir" -DPICTORRA_SANITIZE=ON -DPICTORRA_BENCH=OFF
    # The engine library itself frees some of its objects with a mismatched
    # sized delete; that is inside Chromium, not ours.
    export ASAN_OPTIONS="detect_leaks=0:new_delete_type_mismatch=0:${ASAN_OPTIONS:-}"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
else
    dir=build
    build "$dir"
fi
export QT_QPA_PLATFORM=offscreen
cd "$ROOT/$dir"
ctest --output-on-failure -j"$(nproc)"
