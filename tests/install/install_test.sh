#!/usr/bin/env bash
# usage: install_test.sh BUILD_DIR WORK_DIR GUI(0|1) VERSION
# Installs into a temporary prefix, builds the Debian packages, checks them and
# runs the programs from the unpacked packages, the way a user gets them.
set -euo pipefail
build=$1 work=$2 gui=$3 version=$4
src=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work" && mkdir -p "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

check_query() {  # a localyx-query found in a laid-out tree, run from there
    local bin=$1 regions towns around
    regions=$("$bin" regions) || fail "$bin regions failed"
    [ "$(printf '%s\n' "$regions" | wc -l)" -eq 22 ] || fail "regions: not 22 lines"
    grep -q $'^16\tMidi-Pyrénées\tMidiPyrenees\t2944$' <<<"$regions" \
        || fail "regions: Midi-Pyrénées not found with its 2944 localities"
    grep -q $'\t-$' <<<"$regions" && fail "regions: a region file is missing: $regions"
    around=$("$bin" around PONTORSON-50170 15) || fail "$bin around failed: no table beside the region files?"
    grep -q $'\tBretagne\t' <<<"$around" || fail "around: nothing found across the border"
    # The map finds its borders where the table is: no warning.
    map_err=$("$bin" around PONTORSON-50170 15 --format svg 2>&1 >/dev/null) || fail "$bin around --format svg failed"
    [ -z "$map_err" ] || fail "around --format svg: $map_err"
    # Captured first: grep -q would stop reading early and break the pipe.
    towns=$("$bin" towns Bretagne) || fail "$bin towns Bretagne failed"
    grep -qx 'RENNES-35200' <<<"$towns" || fail "towns Bretagne: no RENNES-35200"
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
check_query "$work/prefix/bin/localyx-query"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null) || fail "cpack failed"
query_deb=$(ls "$work"/pkg/localyx-query_*.deb 2>/dev/null) || fail "no localyx-query package"
debs=("$query_deb")
expect_in() {  # DEB PATH...: the package holds each path
    local deb=$1 contents f
    contents=$(dpkg-deb -c "$deb")
    for f in "${@:2}"; do
        grep -q " \./usr/$f\$" <<<"$contents" || fail "$(basename "$deb") lacks /usr/$f"
    done
}
expect_in "$query_deb" bin/localyx-query share/localyx/regions/Corse.txt share/localyx/regions/localites.csv \
    share/localyx/regions/contours.txt \
    share/localyx/regions/noms.csv \
    share/man/man1/localyx-query.1.gz share/bash-completion/completions/localyx-query \
    share/doc/localyx-query/copyright share/doc/localyx-query/changelog.Debian.gz
depends=$(dpkg-deb -f "$query_deb" Depends)
grep -qi qt <<<"$depends" && fail "localyx-query depends on Qt: $depends"
grep -q libpugixml1v5 <<<"$depends" || fail "localyx-query Depends lacks libpugixml1v5: $depends"

if [ "$gui" = 1 ]; then
    gui_deb=$(ls "$work"/pkg/localyx_*.deb 2>/dev/null) || fail "no localyx package"
    debs+=("$gui_deb")
    icons=(share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256}/apps/fr.localyx.Localyx.png)
    expect_in "$gui_deb" bin/localyx share/applications/fr.localyx.Localyx.desktop \
        share/metainfo/fr.localyx.Localyx.metainfo.xml share/man/man1/localyx.1.gz \
        share/icons/hicolor/scalable/apps/fr.localyx.Localyx.svg "${icons[@]}" \
        share/doc/localyx/copyright share/doc/localyx/changelog.Debian.gz
    depends=$(dpkg-deb -f "$gui_deb" Depends)
    for d in "localyx-query (= $version-" libqt6widgets6 qt6-translations-l10n; do
        grep -qF "$d" <<<"$depends" || fail "localyx Depends lacks $d: $depends"
    done
    grep -q xdg-utils <<<"$(dpkg-deb -f "$gui_deb" Recommends)" || fail "localyx does not recommend xdg-utils"
    # The map module, where the program looks for it, and what it needs in Depends.
    grep -q ' \./usr/lib/\(.*/\)\?localyx/modules/localyx_map\.so$' <<<"$(dpkg-deb -c "$gui_deb")" \
        || fail "localyx lacks its map module"
    for d in libcairo2 libpango-1.0-0; do
        grep -qF "$d" <<<"$depends" || fail "localyx Depends lacks $d: $depends"
    done
fi

# Errors and warnings fail; pedantic and informational notes do not.
report=$(lintian --pedantic "${debs[@]}" 2>&1 | grep -v 'running with root privileges' || true)
grep -q '^[EW]: ' <<<"$report" && fail "lintian reports errors or warnings: $report"

root=$work/root
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
check_query "$root/usr/bin/localyx-query"

for bin in "$root"/usr/bin/*; do  # both programs when the window is built
    elf=$(readelf -hldW --dyn-syms "$bin") || fail "readelf cannot read $bin"
    for mark in 'Type: *DYN' GNU_RELRO BIND_NOW __stack_chk_fail; do  # PIE, RELRO, -z now, stack protector
        grep -q "$mark" <<<"$elf" || fail "$(basename "$bin") lacks $mark"
    done
done
# The binaries may hold no checked libc call to show (C++ containers): fortification
# is checked on the compile commands of the installed programs' own sources.
unfortified=$(grep '"command": ' "$build/compile_commands.json" |
    grep -Ev "$src/(tests|bench|fuzz)/" | grep -v -- -D_FORTIFY_SOURCE=2 || true)
[ -z "$unfortified" ] || fail "built without -D_FORTIFY_SOURCE=2: $unfortified"

if [ "$gui" = 1 ]; then
    module=$(find "$root/usr/lib" -name localyx_map.so)
    [ -n "$module" ] || fail "no localyx_map.so unpacked"
    ldd "$module" | grep -q 'not found' && fail "localyx_map.so misses libraries: $(ldd "$module")"
    desktop-file-validate "$root/usr/share/applications/fr.localyx.Localyx.desktop" || fail "desktop-file-validate"
    # The whole tree, so the entry and icons the metadata names are checked too; pedantic notes pass.
    report=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1) \
        || fail "appstreamcli validate-tree failed: $report"
    grep -q '^ *[EW]: ' <<<"$report" && fail "appstreamcli validate-tree: $report"
    grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/fr.localyx.Localyx.metainfo.xml" \
        || fail "metainfo has no release entry for $version"
fi
echo "install test passed"
