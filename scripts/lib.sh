# Shared by scripts/run and scripts/test. Sourced, not run.

# Installs the Debian packages named that are not installed yet, as root or
# through sudo. Quiet and quick when everything is already there.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installation des paquets manquants : ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Paquets manquants (${missing[*]}) et ni root ni sudo : installez-les puis relancez." >&2
            return 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq || return 1
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}

# What every build needs: compiler, CMake, Qt 6 Widgets, fonts for the window
# and the maps, rsvg-convert to draw the icons, Qt's own French texts, cairo,
# pango, libqrencode and libpng for the maps.
BUILD_PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    nlohmann-json3-dev libpugixml-dev libzip-dev libxlsxwriter-dev
    libfontconfig-dev
    fonts-liberation fontconfig librsvg2-bin qt6-translations-l10n
    libcairo2-dev libpango1.0-dev libqrencode-dev libpng-dev
)

# What the tests need on top: GoogleTest, Google Benchmark, clang with
# libFuzzer, a French locale, Python for the data generators, packaging tools,
# the checkers the packages must pass and the readers of the maps (poppler,
# zbar for the QR codes, script to stand for a terminal, DejaVu for the
# route sheet's ☐, which Liberation Sans lacks).
TEST_PACKAGES=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    locales-all python3
    desktop-file-utils dpkg-dev file lintian appstream
    gpsbabel python3-openpyxl
    poppler-utils zbar-tools bsdutils fonts-dejavu-core
)

repo_root() {
    cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd
}

jobs() {
    nproc 2>/dev/null || echo 2
}
