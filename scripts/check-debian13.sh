#!/usr/bin/env bash
# Builds Pictorra and runs every test on Debian 13 (trixie, Qt 6.8), in a root
# made with debootstrap under build-debian13/ (made once, then reused) from the
# package mirror this machine's apt uses, with the package list of common.sh.
# It builds the last commit (git archive), not the working files, and prints
# the versions it built with and the test summary. Needs root; about half an
# hour on 2 cores, at the lowest CPU priority. Not part of CI: that stays
# scripts/test.sh on Debian 12.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"
renice -n 19 -p $$ >/dev/null
ionice -c 3 -p $$ 2>/dev/null || true

work="$ROOT/build-debian13"
root="$work/root"
mkdir -p "$work"
exec 9>"$work/lock"
flock -n 9 || { echo "another check-debian13.sh is running" >&2; exit 1; }

mirror="${DEBIAN_MIRROR:-$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    /etc/apt/sources.list.d/*.sources | grep -v security | grep -oE 'https?://[^ ]+/debian/?' | head -1 || true)}"
mirror="${mirror:-http://deb.debian.org/debian}"

mounts=(proc sys dev dev/pts dev/shm)
unmount_all() {
    local i
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        if mountpoint -q "$root/${mounts[i]}"; then umount "$root/${mounts[i]}"; fi
    done
}
trap unmount_all EXIT

# debootstrap removes its own /debootstrap folder only when it has finished.
if [ ! -x "$root/usr/bin/apt-get" ] || [ -d "$root/debootstrap" ]; then
    command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
    unmount_all
    rm -rf "$root"
    echo "Making a Debian 13 root from $mirror (debootstrap)"
    debootstrap --variant=minbase trixie "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
        || { tail -20 "$work/debootstrap.log" >&2; exit 1; }
fi

mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
mountpoint -q "$root/sys" || mount -t sysfs sysfs "$root/sys"
mountpoint -q "$root/dev" || mount --bind /dev "$root/dev"
mountpoint -q "$root/dev/pts" || mount --bind /dev/pts "$root/dev/pts"
# The browser engine shares its frames through /dev/shm: its own, not the host's.
mountpoint -q "$root/dev/shm" || mount -t tmpfs -o mode=1777,size=1g shm "$root/dev/shm"
cp -L --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"

# The sources are laid anew each time, the build folder beside them stays.
# They take the time of laying (tar -m): git archive gives every file its
# commit's time, which can be older than objects built from an earlier commit,
# and those would be kept stale. ccache makes the full recompile cheap.
rm -rf "$root/src/pictorra"
mkdir -p "$root/src/pictorra"
git -C "$ROOT" archive --format=tar HEAD | tar -x -m -C "$root/src/pictorra"
echo "Sources: $(git -C "$ROOT" log -1 --format='%h %s')"

cat >"$root/src/check-inside.sh" <<'INSIDE'
set -euo pipefail
source /src/pictorra/scripts/common.sh
PACKAGES+=(ccache)
install_packages >/src/install.log 2>&1 || { tail -30 /src/install.log; exit 1; }
echo "Debian $(cat /etc/debian_version), Qt $(dpkg-query -W -f='${Version}' qt6-base-dev)," \
     "Qt WebEngine $(dpkg-query -W -f='${Version}' qt6-webengine-dev)"
echo "$(g++ --version | head -1); $(cmake --version | head -1)"
echo "RE2 $(pkg-config --modversion re2), cpp-httplib $(pkg-config --modversion cpp-httplib)"

export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_DIR=/var/cache/pictorra-ccache
cmake -S /src/pictorra -B /src/build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/src/configure.log 2>&1 \
    || { cat /src/configure.log; exit 1; }
started=$SECONDS
cmake --build /src/build -j"$(nproc)" >/src/build.log 2>&1 || { grep -B2 -A8 -m5 'error' /src/build.log; exit 1; }
echo "Built in $(( (SECONDS - started) / 60 )) min, $(grep -c 'warning:' /src/build.log || true) warnings"
grep -A4 'warning:' /src/build.log | head -40 || true

cd /src/build
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
status=0
ctest --output-on-failure -j"$(nproc)" >/src/ctest.log 2>&1 || status=$?
sed -n '/tests passed/,$p' /src/ctest.log
exit "$status"
INSIDE

echo "Logs: $root/src/{install,configure,build,ctest}.log"
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash /src/check-inside.sh </dev/null
