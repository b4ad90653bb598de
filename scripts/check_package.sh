#!/usr/bin/env bash
# Usage: check_package.sh BUILD_DIR
# Makes the Debian package from a built tree, checks its control data and
# contents, has lintian check it (an error fails, warnings are shown), unpacks it into a throw-away root and starts the program from
# there: --version, then a screenless pick of the sample shop it ships.
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb="$(ls "$work"/out/pictorra_*.deb)"
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"

info="$(dpkg-deb --info "$deb")"
# The icons and skins need Qt's SVG image plugin, in whichever package holds
# it on this release (libqt6svg6 on Debian 12, qt6-svg-plugins on 13).
svg="$(dpkg-query --search '*/qt6/plugins/imageformats/libqsvg.so' 2>/dev/null | head -1 | cut -d: -f1)" || true
for dep in libqt6webenginecore6 libqt6widgets6 libre2 qt6-qpa-plugins qt6-image-formats-plugins fonts-noto-cjk $svg; do
    grep -q "Depends:.*$dep" <<<"$info" || fail "Depends lacks $dep"
done
contents="$(dpkg-deb --contents "$deb")"
for path in ./usr/bin/pictorra ./usr/share/pictorra/皮肤/清爽白.qss ./usr/share/pictorra/translations/qtbase_zh_CN.qm \
            ./usr/share/pictorra/samples/shop/item.html ./usr/share/applications/pictorra.desktop \
            ./usr/share/icons/hicolor/scalable/apps/pictorra.svg ./usr/share/doc/pictorra/copyright \
            ./usr/share/doc/pictorra/changelog.Debian.gz ./usr/share/man/man1/pictorra.1.gz; do
    grep -qF " $path" <<<"$contents" || fail "package lacks $path"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
# The package's version comes from the changelog's latest entry; one that
# lacks an entry for the program's version gets revision 0.
package_version="$(dpkg-deb --field "$deb" Version)"
latest="$(zcat "$root/usr/share/doc/pictorra/changelog.Debian.gz" | dpkg-parsechangelog -l- -S Version)"
[ "$latest" = "$package_version" ] \
    || fail "the changelog's latest entry is $latest, the package $package_version: add an entry to resources/debian/changelog"

command -v lintian >/dev/null || fail "lintian is missing (scripts/common.sh installs it)"
start=$SECONDS
lintian --fail-on error "$deb" 2>&1 | { grep -v '^running with root privileges' || true; } | tee "$work/lintian.log" \
    || fail "lintian reports errors (E: above)"
echo "lintian: $(grep -c '^E:' "$work/lintian.log" || true) errors, $(grep -c '^W:' "$work/lintian.log" || true) warnings in $((SECONDS - start)) s"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/pictorra.desktop" || fail "desktop entry"
fi
# No RUNPATH: the program links only system libraries.
! readelf -d "$root/usr/bin/pictorra" | grep -E 'RPATH|RUNPATH' || fail "the program carries a RUNPATH"
version="$("$root/usr/bin/pictorra" --version)"
[[ "$version" =~ ^pictorra\ [0-9]+\.[0-9]+ ]] || fail "--version printed '$version'"

# The installed program finds its shipped files under share/ and keeps the
# user's data in the per-user folder, never in bin/.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data"
mkdir -p "$HOME" "$work/pictures"
"$root/usr/bin/pictorra" --demo --save "$work/pictures" >"$work/pick.json" 2>"$work/pick.log" \
    || { cat "$work/pick.log" >&2; fail "the installed program could not pick the sample shop"; }
[ -n "$(find "$work/pictures" -type f | head -1)" ] || fail "no pictures saved"
[ -z "$(ls -A "$root/usr/bin" | grep -v '^pictorra$')" ] || fail "the program wrote into bin/"
echo "PASS: $version installs, starts and saves the sample shop's pictures"
