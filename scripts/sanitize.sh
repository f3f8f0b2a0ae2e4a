#!/usr/bin/env bash
# Builds with a sanitizer (scripts/sanitized-build.sh) and runs the suites there; any report
# fails the run:
#   scripts/sanitize.sh address,undefined      (build-asan, the fuzz targets' build)
#   scripts/sanitize.sh thread                 (build-tsan)
# Qt itself is not instrumented: under ThreadSanitizer the suppression file tests/tsan.supp keeps
# its own code out of the reports. The search burst of ten thousand controllers is left out: it
# measures whether the receive path keeps up, which an instrumented build does not.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/sanitize.sh address,undefined|thread}
dir=$(scripts/sanitized-build.sh "$kind")
# Tests that give a real peer a moment of real time to answer give it this many times more.
if [ "$kind" = thread ]; then export QUORVANE_TEST_SLOWDOWN=8; else export QUORVANE_TEST_SLOWDOWN=4; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$PWD/tests/tsan.supp"
echo "$kind: running the suites in $dir" >&2
( cd "$dir" && ctest --output-on-failure -j "$(nproc)" --timeout 900 -E '^SearchBurst\.' )
