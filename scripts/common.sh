# Shared by run.sh and test.sh: install what is missing, then build.
# Sourced, not run.

LUMIVANE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# LUMIVANE_SANITIZE=1: AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build folder of their own.
lumivane_sanitizing() {
    [ "${LUMIVANE_SANITIZE:-0}" != 0 ]
}

if lumivane_sanitizing; then
    LUMIVANE_BUILD="${LUMIVANE_BUILD:-$LUMIVANE_ROOT/build-sanitize}"
else
    LUMIVANE_BUILD="${LUMIVANE_BUILD:-$LUMIVANE_ROOT/build}"
fi

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
    local configuration=(-DCMAKE_BUILD_TYPE=Release)
    if lumivane_sanitizing; then
        # Line numbers in the reports; the benchmarks measure nothing here.
        configuration=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMIVANE_SANITIZE=ON -DLUMIVANE_BUILD_BENCH=OFF)
    fi
    cmake -S "$LUMIVANE_ROOT" -B "$LUMIVANE_BUILD" -G Ninja "${configuration[@]}" "$@"
    cmake --build "$LUMIVANE_BUILD" -j "$(nproc)"
}
