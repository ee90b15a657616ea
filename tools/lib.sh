# Shared by tools/check, tools/start and bench/run: package installation and
# the build trees. Source it; it sets KALVOR_ROOT.
#
# Build trees live under the repository root as ${KALVOR_BUILD_PREFIX}NAME
# (default prefix "build-": build-release, build-asan, build-fuzz).

KALVOR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KALVOR_BUILD_PREFIX="${KALVOR_BUILD_PREFIX:-build-}"
KALVOR_JOBS="${KALVOR_JOBS:-2}"

kalvor_section() {
    printf '\n==== %s ====\n' "$*"
}

# The packages listed in tools/packages.txt.
kalvor_packages() {
    sed -e 's/#.*//' -e 's/[[:space:]]//g' "$KALVOR_ROOT/tools/packages.txt" | grep -v '^$'
}

# Installs the listed packages that are not installed yet (apt-get update
# first). Does nothing when everything is there.
kalvor_install_missing() {
    local missing=() pkg status
    while read -r pkg; do
        status="$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)"
        [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
    done < <(kalvor_packages)
    if ((${#missing[@]} == 0)); then
        echo "All required packages are installed."
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [[ "$(id -u)" != 0 ]]; then
        if command -v sudo >/dev/null; then
            sudo=(sudo)
        else
            echo "error: need root (or sudo) to install: ${missing[*]}" >&2
            return 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update &&
        "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# kalvor_configure NAME [cmake options...]: configures the build tree NAME
# with Ninja; a tree left by another generator is started afresh.
kalvor_configure() {
    local dir="$KALVOR_ROOT/${KALVOR_BUILD_PREFIX}$1"
    shift
    if [[ -f "$dir/CMakeCache.txt" ]] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        echo "Removing $dir (made with another generator)"
        rm -rf "$dir"
    fi
    cmake -S "$KALVOR_ROOT" -B "$dir" -G Ninja -Wno-dev "$@"
}

# kalvor_build NAME [targets...]
kalvor_build() {
    local dir="$KALVOR_ROOT/${KALVOR_BUILD_PREFIX}$1"
    shift
    local targets=()
    local t
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$dir" -j "$KALVOR_JOBS" "${targets[@]}"
}

kalvor_tree() {
    echo "$KALVOR_ROOT/${KALVOR_BUILD_PREFIX}$1"
}

# The release tree (RelWithDebInfo, g++), shared by tools/check, tools/start
# and bench/run: all three configure it the same way, so none of them makes
# the others start afresh. Extra options (tools/check's -DKALVOR_WERROR=ON)
# stay in the tree's cache, so a later tools/start keeps them and rebuilds
# nothing.
# kalvor_configure_release [cmake options...]
kalvor_configure_release() {
    kalvor_configure release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ "$@"
}

# kalvor_build_release [targets...]
kalvor_build_release() {
    kalvor_configure_release && kalvor_build release "$@"
}
