# Shared by run.sh and test.sh: install what is missing, then build.
# Sourced, not run.

LUMIVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LUMIVANE_BUILD="${LUMIVANE_BUILD:-$LUMIVANE_ROOT/build}"

lumivane_missing_packages() {
    local package
    grep -Ev '^\s*(#|$)' "$LUMIVANE_ROOT/scripts/debian-packages.txt" | while read -r package; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$package"
        fi
    done
}

lumivane_install_packages() {
    local missing
    missing="$(lumivane_missing_packages)"
    [ -z "$missing" ] && return 0
    echo "Installing missing Debian packages:" $missing
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install:" $missing >&2; return 1; }
        sudo="sudo"
    fi
    $sudo apt-get update -q
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
}

# lumivane_build [extra cmake arguments...]
lumivane_build() {
    cmake -S "$LUMIVANE_ROOT" -B "$LUMIVANE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
    cmake --build "$LUMIVANE_BUILD" -j "$(nproc)"
}
