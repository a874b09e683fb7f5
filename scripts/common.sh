# Shared by the scripts in this folder: installs what is missing and builds.

set -euo pipefail

# Packages needed to build the program and run it: the compiler, Qt, Qt's
# Linguist tools that build the translations in (the CMake package in
# qt6-tools-dev, lrelease and lupdate in qt6-l10n-tools), Qt's own
# translations for its dialogs' buttons, Boost.Context for the fibers the
# drawing runs in, giflib and libwebp, which write the animations, MPFR,
# with which the routines' compiler works out <cmath> of constants as GCC
# does, the Kai face the captions are drawn in, and the Latin monospaced
# face the code is set in, and fontconfig's tools to list them.
SWEEPDRAW_RUN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
    libboost-context-dev libgif-dev libwebp-dev libmpfr-dev
    fonts-arphic-gkai00mp fonts-dejavu-core fontconfig
)

# Google Benchmark and Boost.Context, for the benchmark the whole build
# includes: it times a fiber's round trip.
SWEEPDRAW_BENCH_PACKAGES=(libbenchmark-dev libboost-context-dev)

# Packages only the packaging tests need: the desktop entry and metainfo
# validators; dpkg-shlibdeps and file, which cpack uses to find the Debian
# package's dependencies; help2man, which writes the manual page, and man to
# render it; lintian, which checks the package.
SWEEPDRAW_PACKAGING_TEST_PACKAGES=(desktop-file-utils appstream dpkg-dev file help2man man-db lintian)

# Packages only the end-to-end tests need: an X server to show the window on,
# a way to click it, screenshots, the clipboard read from the command line,
# a window manager and a tool to read its frame, a private session bus with
# the AT-SPI registry and its Python bindings, to read the window as a screen
# reader, and a Wayland compositor with Qt's Wayland plugin.
SWEEPDRAW_E2E_TEST_PACKAGES=(xvfb xdotool imagemagick xclip openbox x11-utils dbus at-spi2-core python3-pyatspi
    weston qt6-wayland)

# Packages only the fuzzing of the routine language needs (scripts/fuzz):
# clang, and compiler-rt's libFuzzer and sanitizers for it.
SWEEPDRAW_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

# Packages the page needs (scripts/web): emscripten and binaryen, which
# compile the engine to WebAssembly, and the
# Kai face with Debian's fontTools, which cut the labels' characters out of it.
# Its tests add Debian's chromium, which they drive headless.
SWEEPDRAW_WEB_PACKAGES=(cmake ninja-build emscripten binaryen fonts-arphic-gkai00mp python3-fonttools)
SWEEPDRAW_WEB_TEST_PACKAGES=(chromium)

# Installs the Debian packages given that are not installed yet.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Makes fontconfig list every installed face. A font package unpacked with
# the files' own dates can leave a folder's cache looking current but empty,
# and the code would then be set in whatever monospaced face is left.
ensure_font_cache() {
    if ! fc-list 'DejaVu Sans Mono' family | grep -q .; then
        fc-cache -f
    fi
}

# Configures and builds with the named preset, in the source tree.
build_preset() {
    local preset=$1
    cmake --preset "$preset"
    cmake --build --preset "$preset"
}

# Installs node and npm from Debian unless a node is there already, and the
# page's npm packages exactly as package-lock.json pins them, unless they
# are installed already.
ensure_npm_packages() {
    if ! command -v npm >/dev/null; then
        ensure_packages nodejs npm
    fi
    if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
        npm ci --no-audit --no-fund
    fi
}
