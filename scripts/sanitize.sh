#!/usr/bin/env bash
# Builds with a sanitizer into its own directory and runs the suites there:
#   scripts/sanitize.sh address,undefined      (build-asan)
#   scripts/sanitize.sh thread                 (build-tsan)
# The window is left out of these builds (QUORVANE_GUI=OFF): Qt itself is not instrumented, and
# each build already takes about 25 minutes on 2 cores. Any report fails the run. To run the
# window suites under ThreadSanitizer by hand, configure with QUORVANE_GUI=ON; the suppression
# file tests/tsan.supp keeps Qt's own uninstrumented code out of the reports.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/sanitize.sh address,undefined|thread}
case $kind in
    thread) dir=build-tsan ;;
    *) dir=build-asan ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_GUI=OFF \
        -DQUORVANE_SANITIZE="$kind" >&2
fi
cmake --build "$dir" -j "$(nproc)" >&2
# Tests that give a real peer a moment of real time to answer give it this many times more.
if [ "$kind" = thread ]; then export QUORVANE_TEST_SLOWDOWN=8; else export QUORVANE_TEST_SLOWDOWN=4; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$PWD/tests/tsan.supp"
( cd "$dir" && ctest --output-on-failure -j "$(nproc)" --timeout 900 -LE gui )
