#!/usr/bin/env bash
# End to end: starting the real program under Xvfb. The window carries the product name and the
# application icon, "Help" shows the contact message, closing the window ends the program; and a
# program whose engine is missing says what to install and ends without showing its window.
app=$1 probe=$2
source "$(dirname "$0")/lib.sh"

start_program "$app"
[ "$("$probe" icon-sizes "$window")" != "32x32" ] || fail "the window kept its blank design icon"
screenshot main-window

# "Help" is five tab stops after Text1.
xdotool windowfocus --sync "$window" key Tab Tab Tab Tab Tab space
box=$(window_named "$title" 20) || fail "no message carried the application title"
text=$(message_text "$box")
[[ "$text" == *"Questions? Please contact Team Meldrisk at http://www.meldrisk.example/contact/"* ]] ||
    fail "the Help message read: $text"
screenshot help
xdotool windowfocus --sync "$box" key Return
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^$title\$'" || fail "the message stayed"

# A close request that arrives while the message box still holds the window modal is ignored,
# as a click on the close box would be: asked again until the program has ended.
close_until_gone() {
    for _ in $(seq 20); do
        "$probe" close "$window"
        wait_for 1 gone "$app_pid" && return 0
    done
    return 1
}
close_until_gone || fail "closing the main window did not end the program"

# The program alone in a folder, without its engine beside it: nothing can stand in for Word.
mkdir "$work/alone"
cp "$app" "$work/alone/"
"$work/alone/$(basename "$app")" >"$work/alone.log" 2>&1 &
alone_pid=$!
pids+=("$alone_pid")
box=$(window_named "$title" 30) || fail "no message said that Word could not be started"
text=$(message_text "$box")
[[ "$text" == *"Error 842001. A normal instance of Word could not be created."* &&
   "$text" == *"5. This computer has no Word; LibreOffice Writer takes its place here."* ]] ||
    fail "the start-up message read: $text"
! xdotool search --onlyvisible --name "^$product\$" >/dev/null || fail "the main window was shown"
screenshot no-word
xdotool windowfocus --sync "$box" key Return
wait_for 10 gone "$alone_pid" || fail "the program did not end after the message"
echo "e2e: 1 passed, 0 failed"
