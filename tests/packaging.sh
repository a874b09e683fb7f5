#!/usr/bin/env bash
# Checks what a user and a packager get from the build tree:
#
#   packaging.sh install BUILD_DIR VERSION APP_ID   cmake --install into a
#       temporary prefix: every file is there, named by the application id,
#       the desktop entry and the metainfo pass their validators and agree
#       with each other, the icons have the sizes their folders say, the
#       installed program prints its version.
#   packaging.sh deb BUILD_DIR VERSION APP_ID       cpack -G DEB into a
#       temporary folder: the package's fields, computed dependencies and
#       contents; lintian finds nothing in it, and its program is hardened.
#   packaging.sh optional                    configures and builds this tree
#       into a temporary folder without the optional parts: first as
#       scripts/run does, with neither the tests nor Google Benchmark and with
#       Qt Test hidden; then with the tests but still without the benchmark.
set -uo pipefail

readonly app_id=${4:-}
readonly icon_sizes=(48 128 256)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
readonly source_dir
# Everything a check makes goes here, and goes when the script ends, however
# it ends.
scratch=$(mktemp -d)
readonly scratch
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

finish() {
    if [ "$failures" -gt 0 ]; then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}

need_tool() {
    command -v "$1" >/dev/null \
        || { echo "FAIL: $1 is missing; install the $2 package (scripts/test does)" >&2; exit 1; }
}

# The value of KEY in a desktop entry; KEY may carry a locale, as in Name[zh_CN].
desktop_value() {
    local key=$1 file=$2
    awk -v key="$key" 'index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$file"
}

expect_equal() {
    local what=$1 expected=$2 actual=$3
    [ "$actual" = "$expected" ] || fail "$what is '$actual', expected '$expected'"
}

# The files an install holds, relative to its prefix.
installed_files() {
    echo "bin/sweepdraw"
    echo "share/applications/$app_id.desktop"
    echo "share/metainfo/$app_id.metainfo.xml"
    echo "share/man/man1/sweepdraw.1.gz"
    echo "share/doc/sweepdraw/copyright"
    echo "share/doc/sweepdraw/changelog.gz"
    local size
    for size in "${icon_sizes[@]}"; do
        echo "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    done
}

# Width and height of a PNG, from its IHDR chunk.
png_size() {
    local width height
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$1")
    echo "${width}x${height}"
}

check_desktop_entry() {
    local prefix=$1
    local desktop=$prefix/share/applications/$app_id.desktop
    [ -f "$desktop" ] || return 0
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"

    expect_equal "Name" "Sweepdraw" "$(desktop_value Name "$desktop")"
    expect_equal "Name[zh_CN]" "图形程序设计" "$(desktop_value 'Name[zh_CN]' "$desktop")"
    expect_equal "Categories" "Graphics;Education;" "$(desktop_value Categories "$desktop")"
    expect_equal "Terminal" "false" "$(desktop_value Terminal "$desktop")"
    expect_equal "Icon" "$app_id" "$(desktop_value Icon "$desktop")"
    [ -n "$(desktop_value Comment "$desktop")" ] || fail "the desktop entry has no Comment"
    [ -n "$(desktop_value 'Comment[zh_CN]' "$desktop")" ] || fail "the desktop entry has no Comment[zh_CN]"

    local exec
    exec=$(desktop_value Exec "$desktop")
    exec=${exec%% *}
    [ -x "$prefix/bin/$exec" ] || fail "Exec names '$exec', which is not installed in bin/"
}

# The one finding appstreamcli's pedantic checks make of the metainfo: the
# application id has a capital letter, which the desktop entry's and the
# icon's names share and which the program gives Qt as its desktop file name.
readonly appstream_expected="P: $app_id:3: cid-contains-uppercase-letter $app_id"

check_metainfo() {
    local prefix=$1 version=$2
    local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
    [ -f "$metainfo" ] || return 0
    local findings
    findings=$(appstreamcli validate --pedantic --no-net "$metainfo" | grep -E '^[EWIP]: ')
    expect_equal "appstreamcli validate --pedantic's findings" "$appstream_expected" "$findings"

    local id launchable release licence
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    release=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo" | head -n 1)
    licence=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' "$metainfo")
    expect_equal "the metainfo id" "$app_id" "$id"
    expect_equal "the metainfo launchable" "$app_id.desktop" "$launchable"
    expect_equal "the newest release in the metainfo" "$version" "$release"
    expect_equal "the metainfo's project licence" "MIT" "$licence"

    # Every release, newest first, as "VERSION DATE".
    local changelog=$prefix/share/doc/sweepdraw/changelog.gz
    [ -f "$changelog" ] || return 0
    expect_equal "the releases in the metainfo" \
        "$(changelog_releases "$changelog" | paste -sd ' ')" \
        "$(sed -n 's:.*<release version="\([^"]*\)" date="\([^"]*\)".*:\1 \2:p' "$metainfo" | paste -sd ' ')"
}

# The releases in a compressed Debian changelog, newest first, one
# "VERSION YYYY-MM-DD" a line.
changelog_releases() {
    local field value version
    zcat "$1" | dpkg-parsechangelog -l- --format rfc822 --all | while read -r field value; do
        case $field in
            Version:) version=$value ;;
            Timestamp:) echo "$version $(date -u -d "@$value" +%F)" ;;
        esac
    done
}

# The copyright file gives the licence in LICENSE word for word.
check_copyright() {
    local prefix=$1
    local copyright=$prefix/share/doc/sweepdraw/copyright
    [ -f "$copyright" ] || return 0
    local difference
    difference=$(diff -u <(sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE") \
        <(sed -n '/^License: Expat$/,/^$/p' "$copyright" | sed '1d; s/^ //; s/^\.$//'))
    [ -z "$difference" ] || fail "the licence in the copyright file is not LICENSE's:"$'\n'"$difference"
    grep -qxF "Copyright: $(sed -n 's/^Copyright (c) //p' "$source_dir/LICENSE")" "$copyright" \
        || fail "the copyright file does not name the holder LICENSE names"
}

# Each option --help lists, as "NAMES DESCRIPTION" on one line with single
# spaces.
help_options() {
    "$1" --help | awk '
        /^  -/ { if (entry != "") print entry; entry = $0; next }
        /^   / && entry != "" { entry = entry " " $0; next }
        { if (entry != "") print entry; entry = "" }
        END { if (entry != "") print entry }' | tr -s ' ' | sed 's/^ //'
}

# The manual page renders without a warning, has the sections that matter,
# and gives every option just as the installed program's --help does.
check_manual_page() {
    local prefix=$1
    local page=$prefix/share/man/man1/sweepdraw.1.gz
    [ -f "$page" ] || return 0
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) \
        || fail "man cannot render the manual page"
    [ -z "$warnings" ] || fail "man warns about the manual page: $warnings"

    # One paragraph a line, so that nothing is broken or hyphenated.
    local text flat
    text=$(LC_ALL=C.UTF-8 MANWIDTH=1000 man -l "$page" 2>/dev/null)
    flat=$(tr -s ' \n' '  ' <<<"$text")
    local section variable option
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT EXAMPLES; do
        grep -qx "$section" <<<"$text" || fail "the manual page has no $section section"
    done
    for variable in DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR; do
        grep -qx " *$variable" <<<"$text" || fail "the manual page's ENVIRONMENT does not describe $variable"
    done
    local options=0
    while read -r option; do
        options=$((options + 1))
        [[ $flat == *" $option "* ]] || fail "the manual page does not give --help's '$option'"
    done < <(help_options "$prefix/bin/sweepdraw")
    [ "$options" -ge 4 ] || fail "found only $options options in --help"
}

check_install() {
    local build=$1 version=$2
    need_tool desktop-file-validate desktop-file-utils
    need_tool appstreamcli appstream

    local prefix=$scratch/prefix
    cmake --install "$build" --prefix "$prefix" >/dev/null || { fail "cmake --install failed"; finish; }

    local file size
    while read -r file; do
        [ -s "$prefix/$file" ] || fail "$file is not installed"
    done < <(installed_files)
    for size in "${icon_sizes[@]}"; do
        file=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
        [ -s "$file" ] && expect_equal "the size of the ${size}-pixel icon" "${size}x${size}" "$(png_size "$file")"
    done

    check_desktop_entry "$prefix"
    check_metainfo "$prefix" "$version"
    check_copyright "$prefix"
    check_manual_page "$prefix"
    expect_equal "the installed program's --version" "sweepdraw $version" \
        "$("$prefix/bin/sweepdraw" --version 2>/dev/null)"
    finish
}

check_deb() {
    local build=$1 version=$2
    need_tool dpkg-shlibdeps dpkg-dev
    need_tool file file

    local out=$scratch
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 \
        || { cat "$out/cpack.log" >&2; fail "cpack -G DEB failed"; finish; }

    local debs=("$out"/*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { fail "cpack made no single .deb: ${debs[*]}"; finish; }
    local deb=${debs[0]}
    local name
    name=$(basename "$deb")
    [[ $name =~ ^sweepdraw_${version//./\\.}_[a-z0-9]+\.deb$ ]] \
        || fail "the package file is named '$name', expected sweepdraw_${version}_ARCH.deb"

    dpkg-deb --info "$deb" || fail "dpkg-deb --info cannot read $name"
    expect_equal "Package" "sweepdraw" "$(dpkg-deb --field "$deb" Package)"
    expect_equal "Version" "$version" "$(dpkg-deb --field "$deb" Version)"
    expect_equal "Section" "graphics" "$(dpkg-deb --field "$deb" Section)"
    [ -n "$(dpkg-deb --field "$deb" Maintainer)" ] || fail "the package has no Maintainer"

    # dpkg-shlibdeps gives each library a version bound, "libqt6core6 (>= 6.x)".
    local depends library
    depends=$(dpkg-deb --field "$deb" Depends)
    for library in libqt6core6 libqt6gui6 libqt6widgets6 libgif7 libwebp7 libwebpmux3 libc6 libstdc++6; do
        [[ ", $depends, " =~ ", $library (>= "[^\)]+"), " ]] \
            || fail "Depends does not name $library with a version: '$depends'"
    done
    # Boost's library carries its own version in its name.
    [[ ", $depends, " =~ ", libboost-context"[0-9.]+" (>= "[^\)]+"), " ]] \
        || fail "Depends does not name libboost-context with a version: '$depends'"
    # Without a CJK font the captions are boxes: a Kai face first.
    local fonts="fonts-arphic-gkai00mp | fonts-arphic-ukai | fonts-noto-cjk"
    [[ ", $depends, " == *", $fonts, "* ]] || fail "Depends does not name '$fonts': '$depends'"
    expect_equal "Recommends" "qt6-wayland" "$(dpkg-deb --field "$deb" Recommends)"

    local contents
    contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }')
    local file
    while read -r file; do
        grep -qxF "./usr/$file" <<<"$contents" || fail "the package does not hold /usr/$file"
    done < <(installed_files)

    check_lintian "$deb" "$out/lintian.log"
    dpkg-deb -x "$deb" "$out/root" || fail "dpkg-deb cannot unpack $name"
    check_stack_protector "$out/root/usr/bin/sweepdraw"
    finish
}

# lintian, with every tag down to the pedantic ones, has nothing to say.
# Its hardening tags cover PIE, RELRO, immediate binding and fortified
# functions.
check_lintian() {
    local deb=$1 log=$2 tags status
    tags=$(lintian -I --pedantic --fail-on error,warning,info,pedantic "$deb" 2>"$log")
    status=$?
    [ -z "$tags" ] || fail "lintian reports:"$'\n'"$tags"
    [ "$status" -eq 0 ] || { cat "$log" >&2; fail "lintian ended with status $status"; }
}

# lintian has no tag for the stack protector: a program built with it calls
# __stack_chk_fail from the functions it guards.
check_stack_protector() {
    readelf --dyn-syms -W "$1" | grep ' __stack_chk_fail@' >/dev/null \
        || fail "$1 is not built with the stack protector (no __stack_chk_fail)"
}

check_optional() {
    need_tool cmake cmake
    local out=$scratch
    cd "$source_dir" || exit 1

    # Hiding Qt Test has to fail a configure that needs it, or the next check
    # would prove nothing.
    cmake --preset default -B "$out/probe" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON >"$out/probe.log" 2>&1 \
        && fail "the default preset configures with Qt Test hidden"

    # What is checked is which parts are configured, and that those build and
    # link without the parts left out, not the code the compiler makes: the
    # scratch tree is built unoptimised and without debug information, which
    # takes a third less time.
    local tree=$out/tree unoptimised=-DCMAKE_BUILD_TYPE=None
    configure_and_build "the run preset with Qt Test hidden" "$tree" "$out/log" --preset run "$unoptimised" \
        -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON
    [ -x "$tree/app/sweepdraw" ] || fail "the run preset builds no program"
    [ ! -e "$tree/tests" ] || fail "the run preset configures the tests"
    [ ! -e "$tree/bench/sweepdraw-bench" ] || fail "the run preset builds the benchmark"

    # The same tree again, so that only the tests are compiled anew.
    configure_and_build "the default preset without Google Benchmark" "$tree" "$out/log" --preset default \
        "$unoptimised" -DBUILD_TESTING=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=OFF -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
    local test_source name
    for test_source in "$source_dir"/tests/tst_*.cpp; do
        name=$(basename "$test_source" .cpp)
        [ -x "$tree/tests/$name" ] || fail "$name is not built without Google Benchmark"
    done
    [ ! -e "$tree/bench/sweepdraw-bench" ] || fail "the benchmark is built with Google Benchmark hidden"
    finish
}

# Configures TREE with the cmake arguments given and builds it, keeping the
# output in LOG; on failure shows its end and stops.
configure_and_build() {
    local what=$1 tree=$2 log=$3
    shift 3
    cmake "$@" -B "$tree" >"$log" 2>&1 \
        || { tail -n 40 "$log" >&2; fail "$what does not configure"; finish; }
    cmake --build "$tree" >"$log" 2>&1 \
        || { tail -n 40 "$log" >&2; fail "$what does not build"; finish; }
}

case "${1:-}" in
    install) check_install "$2" "$3" ;;
    deb) check_deb "$2" "$3" ;;
    optional) check_optional ;;
    *) echo "usage: $0 install|deb BUILD_DIR VERSION APP_ID | $0 optional" >&2; exit 2 ;;
esac
