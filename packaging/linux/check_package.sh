#!/usr/bin/env bash
# Makes the .debs of the built tree in a folder of its own (quorvane, python3-quorvane,
# libquorvane-dev), installs them into this machine as a user would, checks the installed
# program, the Python module and a C++ program built against the library, removes them and
# checks that nothing is left behind. Needs
# root (or sudo), and a machine without a quorvane package of its own: it never touches a package
# it did not install itself, and skips otherwise. It ends only the processes it started.
#   packaging/linux/check_package.sh SOURCE_DIR BUILD_DIR X11_PROBE
set -uo pipefail
root=$1 build=$2 probe=$3
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! sudo -n true 2>/dev/null; then echo "package: skipped: installing needs root"; exit 77; fi
    as_root=(sudo -n)
fi
packages=(quorvane python3-quorvane libquorvane-dev)
for package in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed; then
        echo "package: skipped: a $package package is installed here already, and it stays as it is"
        exit 77
    fi
done
work=$(mktemp -d)
pids=()
installed=
cleanup() {
    for f in "$work"/runtime/quorvane/office-*/pid; do
        [ -f "$f" ] && pids+=("$(cat "$f")")
    done
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
    [ -n "$installed" ] && "${as_root[@]}" apt-get remove -y -qq --purge "${packages[@]}" >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package: failed: $*"; exit 1; }

deb=$("$root/packaging/linux/make_deb.sh" "$build" "$work/package" | tail -1)
[ -f "$deb" ] || fail "no package was made"
mapfile -t extra < <("$root/packaging/linux/make_extra_debs.sh" "$build" "$work/package")
[ ${#extra[@]} -eq 2 ] || fail "the Python and library packages were not made"
installed=yes
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "$deb" "${extra[@]}" \
    >"$work/install.log" 2>&1 || fail "apt-get could not install them: $(tail -3 "$work/install.log")"
for package in "${packages[@]}"; do dpkg -L "$package"; done >"$work/files"

desktop-file-validate /usr/share/applications/quorvane.desktop || fail "the desktop entry is not valid"
appstreamcli validate --no-net /usr/share/metainfo/example.meldrisk.quorvane.metainfo.xml \
    >"$work/appstream.log" 2>&1 || fail "the metainfo is not valid: $(cat "$work/appstream.log")"
man -w quorvane-compare >/dev/null 2>&1 || [ -f /usr/share/man/man1/quorvane-compare.1.gz ] ||
    fail "no manual page"

mkdir -m 700 "$work/runtime"
# An opener that opens nothing, for the start in a hundred that opens the maker's home page.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" BROWSER=true
export PATH="$work/bin:$PATH"
quorvane-compare /usr/lib/quorvane/Samples/sample1.doc /usr/lib/quorvane/Samples/sample2.doc \
    -o "$work/result.docx" >"$work/compare.log" 2>&1 ||
    fail "the installed quorvane-compare failed: $(cat "$work/compare.log")"
grep -q "^insertions: [1-9]" "$work/compare.log" || fail "the samples showed no change"

# The module, from Debian's interpreter as it is installed: the samples go through the office.
env -u PYTHONPATH /usr/bin/python3 - "$work/py.docx" >"$work/python.log" 2>&1 <<'PYTHON' ||
import sys, quorvane
result = quorvane.compare("/usr/lib/quorvane/Samples/sample1.doc",
                          "/usr/lib/quorvane/Samples/sample2.doc", sys.argv[1])
assert result.counts["insertion"] > 0, result.counts
PYTHON
    fail "the installed Python module failed: $(tail -5 "$work/python.log")"
# A program built against the installed library, by CMake and by pkg-config.
seeds="$root/tests/fuzz/seeds"
cmake -S "$root/tests/library/program" -B "$work/program" >"$work/program.log" 2>&1 &&
    cmake --build "$work/program" >>"$work/program.log" 2>&1 &&
    "$work/program/uses_quorvane" "$seeds/plain.docx" "$seeds/marked.docx" "$work/lib.docx" \
        >>"$work/program.log" 2>&1 ||
    fail "a program could not be built against the installed library: $(tail -5 "$work/program.log")"
# shellcheck disable=SC2046  # the flags are words
g++ -std=c++20 -o "$work/by-pkg-config" "$root/tests/library/program/main.cpp" \
    $(pkg-config --cflags --libs quorvane) >>"$work/program.log" 2>&1 ||
    fail "pkg-config's flags do not build a program: $(tail -5 "$work/program.log")"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
product="Quorvane Paired Office Paper Examiners Highlighter Deskware"
read -r pid _ < <(timeout 60 "$probe" launch "$product" quorvane) ||
    fail "the installed program showed no window named $product"
pids+=("$pid")
kill "$pid" 2>/dev/null

"${as_root[@]}" apt-get remove -y -qq --purge "${packages[@]}" >/dev/null 2>&1 ||
    fail "they could not be removed"
installed=
left=()
while read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    [ -d "$path" ] && [ "$path" != /usr/lib/quorvane ] && continue  # shared folders stay
    left+=("$path")
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left behind: ${left[*]}"
echo "package: installed, used and removed cleanly"
