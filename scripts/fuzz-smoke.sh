#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded number of inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: fuzz targets not built" >&2
    exit 0
fi
if [ ! -f build-fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUORVANE_FUZZ=ON >&2
fi
cmake --build build-fuzz -j "$(nproc)" >&2
status=0
ran=0
for f in build-fuzz/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=tests/fuzz/corpus/${name#fuzz_}
    args=(-runs=${FUZZ_RUNS:-20000} -max_len=4096 -rss_limit_mb=1024)
    # New inputs go to a scratch directory first; the seeds in the tree stay as they are.
    work=$(mktemp -d)
    dirs=("$work")
    [ -d "$corpus" ] && dirs+=("$corpus")
    if "$f" "${args[@]}" "${dirs[@]}" >"build-fuzz/$name.log" 2>&1; then
        ran=$((ran + 1))
    else
        echo "fuzz target $name failed:" >&2
        tail -n 40 "build-fuzz/$name.log" >&2
        status=1
    fi
    rm -rf "$work"
done
if [ $status -eq 0 ]; then
    echo "fuzz: $ran passed, 0 failed"
else
    echo "fuzz: $ran passed, 1 failed"
fi
exit $status
