#!/usr/bin/env bash
# End to end: the real program under Xvfb. Types two document paths, presses "Start Comparing",
# and expects a Writer window with the result and the "Done." message; the Writer window must
# stay after the program has gone, since it belongs to the user from then on.
set -euo pipefail
app=$1
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
fail() { echo "e2e: $*" >&2; exit 1; }

# Retries `$@` every 0.25 s for up to $1 seconds.
wait_for() {
    local limit=$1; shift
    for _ in $(seq $((limit * 4))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.25; done
    return 1
}

mkdir -p "$work/runtime" "$work/config" && chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config"

printf '<html><body><p>One two three.</p><p>Old line.</p></body></html>' >"$work/first.html"
printf '<html><body><p>One two four.</p><p>New line.</p></body></html>' >"$work/second.html"
soffice "-env:UserInstallation=file://$work/converter" --headless --norestore \
    --convert-to "docx:MS Word 2007 XML" --outdir "$work" "$work/first.html" "$work/second.html" \
    >/dev/null 2>&1 || fail "could not make the documents"

"$app" >"$work/app.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Form1$' | head -1)
[ -n "$window" ] || fail "the main window did not appear"
xdotool windowfocus --sync "$window"

# By the keyboard, as the tab order leads: Text1 has the focus, then Text2, then the button.
xdotool type --delay 10 "$work/first.docx"
xdotool key Tab
xdotool type --delay 10 "$work/second.docx"
xdotool key Tab space

wait_for 90 xdotool search --onlyvisible --name 'LibreOffice Writer' ||
    fail "no Writer window appeared"
# The program's own message box after the comparison: a visible window with the title.
has_done() { xwininfo -root -tree | grep -q '"Quorvane": ("quorvane"'; }
wait_for 30 has_done || fail "\"Done.\" was not shown"
[ -z "$(grep -i 'error' "$work/app.log" || true)" ] || fail "the program logged: $(cat "$work/app.log")"
import -window root "$work/after.png" 2>/dev/null || true
[ -n "${E2E_SCREENSHOT:-}" ] && cp "$work/after.png" "$E2E_SCREENSHOT"

kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
xdotool search --onlyvisible --name 'LibreOffice Writer' >/dev/null ||
    fail "the Writer window went away with the program"
echo "e2e: 1 passed, 0 failed"
