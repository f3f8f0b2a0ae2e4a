#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tool: on the demo network of simulated
# controllers unless $QUORVANE_HOME names a program directory of a real site.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
exec scripts/demo.sh
