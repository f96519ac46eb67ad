#!/usr/bin/env bash
# Time from starting the program to its window being shown, on a virtual
# screen with a window manager, side by side with the least Qt 6 window (one
# label, one combo box): runs alternate, one line per run, then the medians
# and their ratio.
#   bench/start_time.sh [RUNS] [PROGRAM]   (21 runs of build/bin/localyx by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
root=$(repo_root)
runs=${1:-21}
ensure_packages xvfb openbox xdotool
bin=${2:-$root/build/bin/localyx}
yardstick=$root/build/bin/minimal_window
for program in "$bin" "$yardstick"; do
    [ -x "$program" ] || { echo "$program is missing: build with -DLOCALYX_BUILD_BENCH=ON (./scripts/test)" >&2; exit 1; }
done

display=91
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$display"
sleep 1
openbox >/dev/null 2>&1 &
trap 'kill $! $xvfb 2>/dev/null || true' EXIT
sleep 1

# Milliseconds from start to a visible window of that title.
time_start() {
    local start end pid
    start=$(date +%s%N)
    "$1" 2>/dev/null &
    pid=$!
    # Polled every few milliseconds: xdotool's own --sync waits half a second.
    until xdotool search --onlyvisible --name "$2" >/dev/null 2>&1; do sleep 0.002; done
    end=$(date +%s%N)
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo $(( (end - start) / 1000000 ))
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }

ours=()
least=()
for _ in $(seq "$runs"); do
    ours+=($(time_start "$bin" '^Localyx$'))
    least+=($(time_start "$yardstick" '^Minimal$'))
    echo "start to window shown: Localyx ${ours[-1]} ms, minimal Qt window ${least[-1]} ms"
done
m1=$(median "${ours[@]}")
m2=$(median "${least[@]}")
echo "median: Localyx $m1 ms, minimal Qt window $m2 ms, ratio $(awk "BEGIN { printf \"%.2f\", $m1 / $m2 }")"
