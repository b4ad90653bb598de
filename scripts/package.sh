#!/usr/bin/env bash
# Builds Pictorra as Debian builds its packages and makes its Debian package
# in the source folder (pictorra_VERSION-REVISION_ARCH.deb,
# the revision from resources/debian/changelog), to install with
# `apt install ./pictorra_*.deb`. Only the program is built, in its own
# folder build-package/: the tests and benchmarks are not packaged, and the
# hardening flags would otherwise rebuild everything in build/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
# Debian's compiler and linker flags for packages (fortified functions, stack
# protector, read-only relocations); +all adds immediate binding (-z now).
debian_flags() { (cd "$ROOT" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
dir=build-package
configure "$dir" -DPICTORRA_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(debian_flags CPPFLAGS) $(debian_flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(debian_flags LDFLAGS)"
cmake --build "$ROOT/$dir" -j"$(nproc)" --target pictorra
rm -rf "$ROOT"/pictorra_*.deb "$ROOT/$dir/package"
cpack --config "$ROOT/$dir/CPackConfig.cmake" -B "$ROOT/$dir/package" >/dev/null
cp "$ROOT/$dir"/package/pictorra_*.deb "$ROOT/"
ls "$ROOT"/pictorra_*.deb
