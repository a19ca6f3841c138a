#!/usr/bin/env bash
# Runs the unit suites of the sanitized tree (the engine's, the command line's, the module's and
# the fuzz corpora, built with the address and undefined-behaviour sanitizers by
# scripts/build --with-sanitizers), or says plainly why it cannot. Any finding fails its test.
set -uo pipefail
build=$1
if [ ! -f "$build/CTestTestfile.cmake" ]; then
    echo "sanitized: skipped: the sanitized build is missing; scripts/build --with-sanitizers makes it in $build."
    exit 77
fi
# The office's engine module runs UNO, whose interfaces trip the undefined-behaviour sanitizer's
# vptr check in a way that is no fault of ours, and whose runtime leaves memory for the process
# to free: it is not built here, and the tests that need the office run in the plain tree only
# (the module's are marked "office"; a copy that is no zip file goes to the office to be read).
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The library as installed is checked in the plain tree, and so are the large generated pairs,
# which add size rather than paths; two at once, as most of these tests use one core.
exec ctest --test-dir "$build" -L unit \
    -E '^(installed_library|GeneratedDocuments.LargePairsRoundTripToo|CombineTool.RefusesWhatCannotBeCombined)$' \
    -j2 --output-on-failure --timeout 900
