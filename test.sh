#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the fuzz targets for a bounded number
# of inputs, then the unit, integration and GUI suites (whose summary closes the output).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
scripts/fuzz-smoke.sh
( cd build && ctest --output-on-failure -j 2 --timeout 600 )
