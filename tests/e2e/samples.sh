#!/usr/bin/env bash
# End to end: "Load Sample/Example Files" fills both boxes with the installed sample, the offer
# to open its folder is declined, and "Start Comparing" leaves a Writer window and "Done.".
app=$1 probe=$2
source "$(dirname "$0")/lib.sh"

start_program "$app"

# "Load Sample/Example Files" is six tab stops after Text1.
xdotool windowfocus --sync "$window" key Tab Tab Tab Tab Tab Tab space
box=$(window_named "$title" 20) || fail "no question about the samples folder"
[[ "$(message_text "$box")" == *"open the folder where these sample files are stored"* ]] ||
    fail "the question was not about the samples folder"
screenshot samples-question
xdotool windowfocus --sync "$box" key Escape  # No
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^$title\$'" || fail "the question stayed"

# From the sample button, three tab stops on to "Start Comparing".
xdotool windowfocus --sync "$window" key Tab Tab Tab space
wait_for 90 xdotool search --onlyvisible --name 'sample1|LibreOffice Writer' ||
    fail "no Writer window appeared"
done_box=$(window_named "$title" 30) || fail "\"Done.\" was not shown"
[[ "$(message_text "$done_box")" == *"Done."* ]] || fail "the message was not \"Done.\""
screenshot samples-compared
stored=$(cat "$XDG_CONFIG_HOME/Meldrisk/$product.conf")
[[ "$stored" == *"Samples/sample1.doc"* ]] || fail "the sample path was not remembered: $stored"
echo "e2e: 1 passed, 0 failed"
