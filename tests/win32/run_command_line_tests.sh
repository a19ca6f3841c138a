#!/usr/bin/env bash
# Runs the command line's tests (a Linux program) against quorvane-compare.exe under Wine, in the
# Windows build's prefix with the fake Word registered for the conversions; or says why not.
#   run_command_line_tests.sh TOOL_TESTS WINDOWS_BUILD
set -uo pipefail
tests=$(realpath "$1")
build=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
exe=$build/Quorvane/quorvane-compare.exe
word=$build/tests/com/fakeword.dll
command -v wine >/dev/null || { echo "windows: skipped: Wine is not installed."; exit 77; }
for file in "$exe" "$word"; do
    [ -f "$file" ] || { echo "windows: skipped: $file is missing (scripts/build --with-windows)."; exit 77; }
done
# Nothing beside the program: every library it loads is one that Windows has.
if command -v x86_64-w64-mingw32-objdump >/dev/null; then
    foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' |
              grep -viE '^(advapi32|bcrypt|kernel32|msvcrt|ole32|oleaut32|secur32|shell32|user32)\.dll$')
    [ -z "$foreign" ] || { echo "windows: quorvane-compare.exe needs DLLs Windows lacks: $foreign"; exit 1; }
fi
prefix=$build/wineprefix
"$here/prepare_prefix.sh" "$prefix" "$word" || exit 1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
export QUORVANE_WINDOWS_TOOL=$exe
"$tests" "${@:3}"
status=$?
"$here/prepare_prefix.sh" --stop "$prefix"
exit $status
