#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (in the AddressSanitizer build, scripts/sanitized-build.sh)
# and runs each for a bounded number of inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: fuzz targets not built" >&2
    exit 0
fi
dir=$(scripts/sanitized-build.sh address,undefined fuzz_targets)
status=0
ran=0
for f in "$dir"/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=tests/fuzz/corpus/${name#fuzz_}
    args=(-runs=${FUZZ_RUNS:-20000} -max_len=4096 -rss_limit_mb=1024)
    # New inputs go to a scratch directory first; the seeds in the tree stay as they are.
    work=$(mktemp -d)
    dirs=("$work")
    [ -d "$corpus" ] && dirs+=("$corpus")
    if "$f" "${args[@]}" "${dirs[@]}" >"$dir/$name.log" 2>&1; then
        ran=$((ran + 1))
    else
        echo "fuzz target $name failed:" >&2
        tail -n 40 "$dir/$name.log" >&2
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
