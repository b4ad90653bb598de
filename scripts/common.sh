# Shared by run.sh, test.sh and package.sh: installs what the build needs
# (Debian 12 and 13: every name below is a real package on both, so the
# check finds them installed) and builds.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# `file` is used by CPack's dependency scan for the Debian package.
PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-webengine-dev qt6-image-formats-plugins
          qt6-svg-dev qt6-l10n-tools qt6-translations-l10n dpkg-dev file desktop-file-utils libre2-dev libcpp-httplib-dev
          fonts-noto-cjk xvfb xauth curl lintian)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

configure() {
    local dir="$1"; shift
    cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

build() {
    local dir="$1"; shift
    configure "$dir" "$@"
    cmake --build "$ROOT/$dir" -j"$(nproc)"
}
