#!/usr/bin/env bash
# Runs the tests of the Windows cross build (under Wine), or says plainly why it cannot.
set -uo pipefail
build=$1
for tool in x86_64-w64-mingw32-g++-posix wine; do
    if ! command -v "$tool" >/dev/null; then
        echo "windows: skipped: $tool is not installed (scripts/setup installs it)."
        exit 77
    fi
done
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "windows: skipped: the Windows build is missing; scripts/build makes it in $build."
    exit 77
fi
exec ctest --test-dir "$build" --output-on-failure
