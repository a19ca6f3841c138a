# Shared by the end-to-end scripts: a private X server, folders and settings of their own, and
# helpers that wait on conditions. Source it with the probe's path in $probe.
set -euo pipefail
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    for f in "$work"/runtime/quorvane/office-*/pid; do
        [ -f "$f" ] && kill -9 "$(cat "$f")" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "e2e: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && sed "s/^/e2e: $(basename "$log") said: /" "$log" >&2
    done
    ps -eo pid,ppid,sid,stat,args | grep -E "[s]office|[q]uorvane" | sed 's/^/e2e: running: /' >&2
    screenshot failure
    exit 1
}

# Retries `$@` every 0.1 s for up to $1 seconds.
wait_for() {
    local limit=$1; shift
    for _ in $(seq $((limit * 10))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
running() { kill -0 "$1" 2>/dev/null && [ "$(ps -o stat= -p "$1" | cut -c1)" != Z ]; }
gone() { ! running "$1"; }

readonly product="Quorvane Paired Office Paper Examiners Highlighter Deskware"
readonly title="Quorvane Paired Office Paper Examiners"

mkdir -p "$work/runtime" "$work/config" && chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"
# The desktop's opener, for the start in a hundred that opens the maker's home page: one that
# notes the address and opens nothing. The machine's own would start whatever browser is the
# default for web addresses (the tests' Chromium), whose complaints would fill the program's log.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<OPENER
#!/bin/sh
printf '%s\n' "\$*" >>"$work/opened"
OPENER
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" BROWSER=true

# The id of the visible window named exactly $1, waiting up to $2 seconds for it.
window_named() {
    local id
    for _ in $(seq $(($2 * 10))); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# The text of the message box in window $1: Qt copies a message box's text on Ctrl+C.
message_text() {
    xdotool windowfocus --sync "$1" key ctrl+c
    "$probe" clipboard
}

screenshot() { [ -n "${E2E_SCREENSHOTS:-}" ] && "$probe" screenshot "$E2E_SCREENSHOTS/$1.png" || true; }

# Starts the program $1 and waits for its main window: sets $app_pid and $window.
start_program() {
    "$1" >"$work/app.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    window=$(window_named "$product" 60) || fail "the main window did not appear with the product name"
}
