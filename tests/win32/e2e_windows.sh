#!/usr/bin/env bash
# End to end on the real Windows program under Wine and Xvfb, against the fake Word: installs it
# silently into a fresh prefix, then as a user would: the window with its caption and size,
# typing two paths and "Start Comparing" (the fake Word logs the whole sequence, then "Done."),
# "Help", the paths in the registry, closing; then without Word: the message and the end; then
# a silent uninstall.
#   e2e_windows.sh INSTALLER FAKE_WORD_DLL WIN32_PROBE
set -uo pipefail
installer=$1 fakeword=$2 probe_exe=$3
for tool in wine Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "windows e2e: skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
quiet() { "$@" >/dev/null 2>&1 </dev/null; }
cleanup() {
    quiet wineserver -k
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "windows e2e: $*" >&2
    [ -n "${E2E_X11_PROBE:-}" ] && [ -n "${E2E_SCREENSHOTS:-}" ] &&
        "$E2E_X11_PROBE" screenshot "$E2E_SCREENSHOTS/windows-failure.png" >/dev/null 2>&1
    exit 1
}
screenshot() {
    [ -n "${E2E_X11_PROBE:-}" ] && [ -n "${E2E_SCREENSHOTS:-}" ] &&
        "$E2E_X11_PROBE" screenshot "$E2E_SCREENSHOTS/windows-$1.png" >/dev/null 2>&1 || true
}
windows_path() { echo "Z:${1//\//\\}"; }
probe() { wine "$probe_exe" "$@" 2>/dev/null </dev/null | tr -d '\r'; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
quiet wineboot -i || fail "the prefix could not be made"
quiet wineserver -w

product="Quorvane Paired Office Paper Examiners Highlighter Deskware"
title="Quorvane Paired Office Paper Examiners"
app_dir="$WINEPREFIX/drive_c/Program Files/Quorvane"
quiet wine "$installer" /S || fail "the silent install failed"
for f in quorvane.exe quorvane-compare.exe x/o.cjs HAND-M.CUR Samples/sample1.doc uninstall.exe; do
    [ -e "$app_dir/$f" ] || fail "the installer did not install $f"
done
[ -d "$app_dir/Splash" ] || fail "no Splash folder"
find "$WINEPREFIX/drive_c" -name Quorvane.lnk | grep -q . || fail "no Start-menu shortcut"
user_path() { wine reg query 'HKCU\Environment' /v Path 2>/dev/null </dev/null | tr -d '\r' |
                  sed -n 's/.*REG_[A-Z_]*SZ *//p'; }
[[ "$(user_path)" != *Quorvane* ]] || fail "the PATH was changed unasked: $(user_path)"
[ "$(wine "C:\\Program Files\\Quorvane\\quorvane-compare.exe" --version 2>/dev/null </dev/null)" = \
  "quorvane-compare 7.00" ] || fail "the installed command line does not run"
[ "$(probe version "C:\\Program Files\\Quorvane\\quorvane.exe")" = "7.0.0.0 7.00 7.00" ] ||
    fail "the version block reads: $(probe version "C:\\Program Files\\Quorvane\\quorvane.exe")"

quiet wine regsvr32 /s "$(windows_path "$fakeword")" || fail "the fake Word could not be registered"
export QUORVANE_FAKE_WORD_LOG="$(windows_path "$work/fakeword.log")"
start_app() {
    wine "C:\\Program Files\\Quorvane\\quorvane.exe" >"$work/app.log" 2>&1 </dev/null &
    app=$!
}
start_app
probe wait "$product" 60 >/dev/null || fail "the main window did not appear with the product name"
[ "$(probe client "$product")" = "536x192" ] || fail "the client area is $(probe client "$product")"
screenshot main-window

# By the keyboard, along the tab order: Text1 has the focus, then Text2, then the button.
window=$(xdotool search --name "^$product\$" | head -1)
: >"$work/fakeword.log"
xdotool windowfocus --sync "$window" type --delay 20 'C:\docs\first.doc'
xdotool key Tab type --delay 20 'C:\docs\second.docx'
xdotool key Tab space
probe wait "$title" 30 >/dev/null || fail "\"Done.\" was not shown"
[ "$(probe text "$title")" = "Done." ] || fail "the message read: $(probe text "$title")"
expected='create Application
Application.Documents
Documents.Open(VT_BYREF|VT_BSTR "C:\docs\first.doc")
Application.DisplayAlerts = VT_I4 0
Document.Merge(FileName:=VT_BYREF|VT_BSTR "C:\docs\second.docx", MergeTarget:=VT_I4 2, DetectFormatChanges:=VT_BOOL -1, UseFormattingFrom:=VT_I4 2, AddToRecentFiles:=VT_BOOL 0)
Document.Close()
Application.Visible = VT_BOOL -1'
[ "$(grep -v '^release ' "$work/fakeword.log" | tr -d '\r')" = "$expected" ] ||
    fail "Word was driven otherwise: $(cat "$work/fakeword.log")"
screenshot done
xdotool key Return
probe gone "$title" 10 >/dev/null || fail "\"Done.\" stayed"

probe click "$product" "Help" >/dev/null || fail "no Help button"
probe wait "$title" 10 >/dev/null || fail "Help showed nothing"
[ "$(probe text "$title")" = "Questions? Please contact Team Meldrisk at http://www.meldrisk.example/contact/" ] ||
    fail "Help said: $(probe text "$title")"
[ "$(probe text-lines "$title")" = 1 ] || fail "Help broke its address across lines"
screenshot help
xdotool key Return
probe gone "$title" 10 >/dev/null || fail "the Help message stayed"

settings="HKCU\\Software\\VB and VBA Program Settings\\Meldrisk\\$product"
stored=$(wine reg query "$settings" 2>/dev/null </dev/null | tr -d '\r')
[[ "$stored" == *'Excel File    REG_SZ    C:\docs\first.doc'* &&
   "$stored" == *'Compare With    REG_SZ    C:\docs\second.docx'* ]] ||
    fail "the registry holds: $stored"

probe close "$product" >/dev/null
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$app" 2>/dev/null || fail "closing the main window did not end the program"

# Without Word: the four-point message, no main window, and the end.
quiet wine reg delete 'HKLM\Software\Classes\Word.Application' /f
start_app
probe wait "$title" 60 >/dev/null || fail "no message said that Word could not be created"
text=$(probe text "$title")
[[ "$text" == "Error 842001. A normal instance of Word could not be created."* &&
   "$text" == *"Starter and Student editions."* ]] || fail "the start-up message read: $text"
probe wait "$product" 1 >/dev/null && fail "the main window was shown"
screenshot no-word
xdotool key Return
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$app" 2>/dev/null || fail "the program did not end after the message"

quiet wine "C:\\Program Files\\Quorvane\\uninstall.exe" /S
for _ in $(seq 100); do [ -e "$app_dir/quorvane.exe" ] || break; sleep 0.1; done
[ ! -e "$app_dir/quorvane.exe" ] || fail "the silent uninstall left the program"
[ ! -e "$app_dir/quorvane-compare.exe" ] || fail "the silent uninstall left the command line"

# The PATH, when chosen: the folder added after what the user had, and taken off again.
quiet wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d 'C:\tools' /f
quiet wine "$installer" /S /PATH || fail "the silent install with /PATH failed"
[ "$(user_path)" = 'C:\tools;C:\Program Files\Quorvane' ] || fail "the PATH reads: $(user_path)"
quiet wineserver -k
[ "$(wine cmd /c quorvane-compare --version 2>/dev/null </dev/null | tr -d '\r')" = \
  "quorvane-compare 7.00" ] || fail "a console does not find quorvane-compare on the PATH"
quiet wine "C:\\Program Files\\Quorvane\\uninstall.exe" /S
for _ in $(seq 100); do [ -e "$app_dir/quorvane-compare.exe" ] || break; sleep 0.1; done
[ "$(user_path)" = 'C:\tools' ] || fail "after uninstalling, the PATH reads: $(user_path)"
echo "windows e2e: 1 passed, 0 failed"
