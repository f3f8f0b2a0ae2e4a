#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit, integration and window
# suites; the fuzz targets for a bounded number of inputs; then the suites again under
# AddressSanitizer with UBSan (the fuzz targets' build) and under ThreadSanitizer. Any failure
# or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
( cd build && ctest --output-on-failure -j 2 --timeout 600 )
scripts/fuzz-smoke.sh
scripts/sanitize.sh address,undefined
scripts/sanitize.sh thread
