#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, integration, GUI, fuzz smoke).
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
( cd build && ctest --output-on-failure -j 2 --timeout 600 )
scripts/fuzz-smoke.sh
