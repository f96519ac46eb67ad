#!/usr/bin/env bash
# Time from starting the program to its window being shown, on a virtual
# screen with a window manager; prints one line per run, then the median.
#   bench/start_time.sh [RUNS]     (uses build/bin/localyx)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
root=$(repo_root)
runs=${1:-11}
ensure_packages xvfb openbox xdotool
bin=$root/build/bin/localyx
[ -x "$bin" ] || { echo "build/bin/localyx is missing: run ./scripts/run or ./scripts/test first" >&2; exit 1; }

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

times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$bin" 2>/dev/null &
    pid=$!
    # Polled every few milliseconds: xdotool's own --sync waits half a second.
    until xdotool search --onlyvisible --name '^Localyx$' >/dev/null 2>&1; do sleep 0.002; done
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
    echo "start to window shown: ${times[-1]} ms"
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
echo "median: $median ms"
