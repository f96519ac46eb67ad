#!/usr/bin/env bash
# usage: install_test.sh BUILD_DIR WORK_DIR GUI(0|1)
set -euo pipefail
build=$1
work=$2
gui=$3
rm -rf "$work"
mkdir -p "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

check_query() {  # a localyx-query found in a laid-out tree, run from there
    local bin=$1
    local regions
    regions=$("$bin" regions) || fail "$bin regions failed"
    [ "$(printf '%s\n' "$regions" | wc -l)" -eq 22 ] || fail "regions: not 22 lines"
    grep -q $'^16\tMidi-Pyrénées\tMidiPyrenees\t2944$' <<<"$regions" \
        || fail "regions: Midi-Pyrénées not found with its 2944 localities"
    grep -q $'\t-$' <<<"$regions" && fail "regions: a region file is missing"
    local around
    around=$("$bin" around PONTORSON-50170 15) || fail "$bin around failed: no table beside the region files?"
    grep -q $'\tBretagne\t' <<<"$around" || fail "around: nothing found across the border"
    # Captured first: grep -q would stop reading early and break the pipe.
    local towns
    towns=$("$bin" towns Bretagne) || fail "$bin towns Bretagne failed"
    grep -qx 'RENNES-35200' <<<"$towns" || fail "towns Bretagne: no RENNES-35200"
    return 0
}

echo "-- cmake --install into a temporary prefix"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/localyx-query share/localyx/regions/Alsace.txt share/localyx/regions/Rhonealpes.txt \
         share/localyx/regions/README.md share/localyx/regions/localites.csv share/applications/localyx.desktop \
         share/icons/hicolor/scalable/apps/localyx.svg share/icons/hicolor/32x32/apps/localyx.png \
         share/man/man1/localyx-query.1; do
    [ -f "$prefix/$f" ] || fail "not installed: $f"
done
[ "$gui" = 1 ] && { [ -x "$prefix/bin/localyx" ] || fail "not installed: bin/localyx"; }
[ "$(ls "$prefix/share/localyx/regions"/*.txt | wc -l)" -eq 22 ] || fail "not 22 region files"
check_query "$prefix/bin/localyx-query"

echo "-- desktop-file-validate"
desktop-file-validate "$prefix/share/applications/localyx.desktop" || fail "desktop file invalid"

echo "-- Debian package"
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null) || fail "cpack failed"
deb=$(ls "$work"/pkg/localyx_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no .deb produced"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/localyx-query ./usr/share/localyx/regions/Corse.txt ./usr/share/applications/localyx.desktop \
         ./usr/share/icons/hicolor/scalable/apps/localyx.svg ./usr/share/man/man1/localyx-query.1; do
    grep -q " $f\$" <<<"$contents" || fail "package lacks $f"
done
[ "$gui" = 1 ] && { grep -q ' ./usr/bin/localyx$' <<<"$contents" || fail "package lacks ./usr/bin/localyx"; }
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6gui6 libqt6core6 libpugixml1v5; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = localyx ] || fail "package name"

echo "-- extracted package"
dpkg-deb -x "$deb" "$work/root"
check_query "$work/root/usr/bin/localyx-query"
echo "install test passed"
