#!/usr/bin/env bash
# End to end: the real program under Xvfb. Types two document paths, presses "Start Comparing",
# and expects a Writer window with the result and the "Done." message; the Writer window must
# stay after the program has gone, since it belongs to the user from then on.
app=$1 probe=$2
source "$(dirname "$0")/lib.sh"

printf '<html><body><p>One two three.</p><p>Old line.</p></body></html>' >"$work/first.html"
printf '<html><body><p>One two four.</p><p>New line.</p></body></html>' >"$work/second.html"
soffice "-env:UserInstallation=file://$work/converter" --headless --norestore \
    --convert-to "docx:MS Word 2007 XML" --outdir "$work" "$work/first.html" "$work/second.html" \
    >/dev/null 2>&1 || fail "could not make the documents"

start_program "$app"
xdotool windowfocus --sync "$window"

# By the keyboard, as the tab order leads: Text1 has the focus, then Text2, then the button.
xdotool type --delay 10 "$work/first.docx"
xdotool key Tab
xdotool type --delay 10 "$work/second.docx"
xdotool key Tab space

wait_for 90 xdotool search --onlyvisible --name 'LibreOffice Writer' ||
    fail "no Writer window appeared"
done_box=$(window_named "$title" 30) || fail "\"Done.\" was not shown"
[[ "$(message_text "$done_box")" == *"Done."* ]] || fail "the message was not \"Done.\""
[ -z "$(grep -i 'error' "$work/app.log" || true)" ] || fail "the program logged: $(cat "$work/app.log")"
screenshot compared

kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
# Searched again for a few seconds: a search that meets the program's windows as the server
# destroys them can fail by itself.
wait_for 5 xdotool search --onlyvisible --name 'LibreOffice Writer' ||
    fail "the Writer window went away with the program"
echo "e2e: 1 passed, 0 failed"
