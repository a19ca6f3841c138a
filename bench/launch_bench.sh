#!/usr/bin/env bash
# Launch benchmark: starts the program RUNS times (default 10) under a private Xvfb with fresh
# settings and prints the seconds from launch to the main window mapped (start-up sequence and
# Word-installed check included): each run, then the median. Then the resident memory of the
# program idle after start-up, and of any office it keeps.
#   bench/launch_bench.sh build/Quorvane/quorvane build/tests/e2e/x11_probe [RUNS]
set -euo pipefail
app=$(realpath "$1") probe=$(realpath "$2") runs=${3:-10}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; pkill -9 -f "$work" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
product="Quorvane Paired Office Paper Examiners Highlighter Deskware"

rss_kib() { awk '/VmRSS/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
times=()
for run in $(seq "$runs"); do
    read -r pid seconds < <("$probe" launch "$product" "$app")
    times+=("$seconds")
    echo "run $run: $seconds s"
    if [ "$run" -eq "$runs" ]; then
        sleep 3  # idle
        echo "program idle: $(( $(rss_kib "$pid") / 1024 )) MiB resident"
        offices=0
        for f in "$work"/runtime/quorvane/office-*/pid; do
            [ -f "$f" ] && offices=$((offices + $(rss_kib "$(cat "$f")")))
        done
        echo "offices kept: $((offices / 1024)) MiB resident"
    fi
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "median of %d: %.3f s\n", NR, (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'
