# Shared by the scripts: installs what a fresh Debian 12 machine lacks and
# builds the program. Meant to be sourced.

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$repo_root/build"

# ccache: .ci/run compiles through it (CMAKE_CXX_COMPILER_LAUNCHER=ccache
# does the same for any build).
required_packages=(
    cmake g++ make pkg-config ccache
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    fonts-dejavu-core
    desktop-file-utils appstream
)

# The tests also read numbers under a locale whose decimal separator is a
# comma, to prove that "." stays the decimal point whatever the locale.
comma_decimal_locale="de_DE.UTF-8"

# Runs a command as root: directly when root already, else through sudo.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

install_packages_if_missing() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing_packages() {
    install_packages_if_missing "${required_packages[@]}"
}

# Generates the comma-decimal locale when the system lacks it, by enabling
# it in /etc/locale.gen so that later runs of locale-gen keep it.
provide_comma_decimal_locale() {
    install_packages_if_missing locales
    if locale -a 2>/dev/null | grep -ix "de_DE\.utf-\?8" >/dev/null; then
        return 0
    fi
    echo "Generating the $comma_decimal_locale locale"
    if grep -q "^# *$comma_decimal_locale UTF-8" /etc/locale.gen 2>/dev/null; then
        as_root sed -i "s/^# *\($comma_decimal_locale UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^$comma_decimal_locale UTF-8" /etc/locale.gen 2>/dev/null; then
        echo "$comma_decimal_locale UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen
}

# Configures build/ when it is new and builds the given targets, or every
# target when none is given.
build_probeterm() {
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        cmake -S "$repo_root" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    local targets=()
    if [ $# -gt 0 ]; then
        targets=(--target "$@")
    fi
    cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
}
