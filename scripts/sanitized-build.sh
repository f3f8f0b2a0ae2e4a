#!/usr/bin/env bash
# Configures and builds one sanitizer build, the window included:
#   scripts/sanitized-build.sh address,undefined [TARGET…]   build-asan, also the fuzz targets
#   scripts/sanitized-build.sh thread [TARGET…]              build-tsan
# Both use clang at -O1 with line tables only: reports keep their file and line, and the builds
# take about half the time of an optimised build with full debug information.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/sanitized-build.sh address,undefined|thread [TARGET…]}
shift
case $kind in
    address,undefined) dir=build-asan; opts=(-DQUORVANE_FUZZ=ON) ;;
    thread) dir=build-tsan; opts=(-DQUORVANE_SANITIZE=thread) ;;
    *) echo "unknown sanitizer kind: $kind (address,undefined or thread)" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE= \
        -DCMAKE_C_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
        "${opts[@]}" >&2
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" -j "$(nproc)" "${targets[@]}" >&2
echo "$dir"
