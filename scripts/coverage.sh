#!/usr/bin/env bash
# Line and branch coverage of src/core, src/cli, src/gui and tools by the whole suite: a Debug
# build with --coverage in build-cov/, every ctest entry run once, then one gcovr pass summed
# per folder. Extra arguments go to ctest (e.g. -LE gui for the suites without a window).
#   scripts/coverage.sh            # prints the table, writes build-cov/coverage.json
# Counters are updated atomically: the integration tests run several threads of one process.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
DIR=${COV_DIR:-build-cov}
if [ ! -f "$DIR/build.ninja" ]; then
    flags="--coverage -fprofile-update=atomic"
    cmake -S . -B "$DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
        -DCMAKE_SHARED_LINKER_FLAGS=--coverage -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >&2
fi
cmake --build "$DIR" -j "$(nproc)" >&2
find "$DIR" -name '*.gcda' -delete
( cd "$DIR" && ctest -j "$(nproc)" --timeout 600 "$@" >&2 ) || echo "some tests failed" >&2
gcovr -r . "$DIR" --filter src/ --filter tools/ --exclude-throw-branches \
    --exclude-unreachable-branches --gcov-ignore-parse-errors --json-summary "$DIR/coverage.json"
python3 - "$DIR/coverage.json" <<'EOF'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
areas = ["src/core/" + d for d in sorted({f["filename"].split("/")[2] for f in files
         if f["filename"].startswith("src/core/")})] + ["src/core", "src/cli", "src/gui", "tools"]
print(f"{'folder':22} {'lines':>7} {'line %':>7} {'branches':>9} {'branch %':>9}")
for area in areas:
    sel = [f for f in files if f["filename"].startswith(area + "/")]
    lt, lc = sum(f["line_total"] for f in sel), sum(f["line_covered"] for f in sel)
    bt, bc = sum(f["branch_total"] for f in sel), sum(f["branch_covered"] for f in sel)
    pct = lambda c, t: f"{100.0 * c / t:.1f}" if t else "-"
    print(f"{area:22} {lt:>7} {pct(lc, lt):>7} {bt:>9} {pct(bc, bt):>9}")
EOF
