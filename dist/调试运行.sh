#!/bin/sh
# Runs the host service in the foreground; its messages show in this terminal.
cd "$(dirname "$0")" || exit 1
exec "$(pwd)/tavrin" --home "$(pwd)"
