#!/usr/bin/env bash
# The engine installed as a library, used as another program would: `cmake --install` of the
# dev component into a folder of its own, a small program configured with find_package(Quorvane)
# and built against it, and the same program built with pkg-config's flags alone; both run on two
# documents.
#   installed_library.sh BUILD SOURCE ORIGINAL REVISED
set -euo pipefail
build=$1 source=$2 original=$3 revised=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --component dev --prefix "$work/prefix" >/dev/null
[ -f "$work/prefix/include/quorvane/redline/Compare.h" ] || { echo "no headers installed"; exit 1; }
# Only the engine's face: no header of its insides.
if find "$work/prefix/include" -name '*.h' | grep -v '/quorvane/redline/[A-Za-z]*\.h$'; then
    echo "more than the public headers installed"; exit 1
fi

cmake -S "$source/tests/library/program" -B "$work/program" -G Ninja \
    -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/program" >/dev/null
out=$("$work/program/uses_quorvane" "$original" "$revised" "$work/result.docx")
echo "$out"
[[ $out == *"combined "*" by Reviewer"* ]] || { echo "the CMake-built program failed"; exit 1; }
[ -s "$work/result.docx" ] || { echo "no result written"; exit 1; }

flags=$(PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" pkg-config --cflags --libs quorvane)
# shellcheck disable=SC2086  # the flags are words
g++ -std=c++20 -o "$work/by-pkg-config" "$source/tests/library/program/main.cpp" $flags
out2=$("$work/by-pkg-config" "$original" "$revised" "$work/result2.docx")
[ "$out2" = "$out" ] || { echo "the pkg-config-built program said: $out2"; exit 1; }
echo "both builds ran"
