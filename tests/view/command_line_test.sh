#!/bin/sh
# localyx before any window: --help and --version on standard output, exit 0;
# with no display one French line and exit 1.   command_line_test.sh LOCALYX VERSION
set -u
bin=$1
fail() { echo "ÉCHEC : $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >out 2>err; echo $?; }

cd "$(mktemp -d)" || exit 1
for option in --help -h; do
    [ "$(run "$bin" $option)" = 0 ] && grep -q -- '--version' out && [ ! -s err ] || fail "$option"
done
[ "$(run "$bin" --version)" = 0 ] && [ "$(cat out)" = "localyx $2" ] && [ ! -s err ] || fail "--version"
for display in "" DISPLAY=:99999; do
    code=$(run $display "$bin")
    [ "$code" = 1 ] && [ "$(wc -l <err)" = 1 ] && grep -q 'aucun affichage graphique' err && [ ! -s out ] ||
        fail "affichage « $display » : code $code, $(cat err)"
done
# With a display it stays open (here until the timeout), whatever notes Qt writes
# as it starts; those notes still go out (here, the one on XDG_RUNTIME_DIR).
code=$(run env -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=offscreen timeout 3 "$bin")
[ "$code" = 124 ] && grep -q XDG_RUNTIME_DIR err || fail "affichage offscreen : code $code, $(cat err)"
