#!/bin/sh
# Stops the host service and keeps it from starting with the desktop session.
cd "$(dirname "$0")" || exit 1
rm -f "${XDG_CONFIG_HOME:-$HOME/.config}/autostart/tavrin.desktop"
[ -f tavrin.pid ] || exit 0
pid=$(cat tavrin.pid)
if kill "$pid" 2>/dev/null; then
    # Up to 5 s for it to finish its exchange and leave.
    n=0
    while kill -0 "$pid" 2>/dev/null && [ $n -lt 50 ]; do
        sleep 0.1
        n=$((n + 1))
    done
fi
rm -f tavrin.pid
exit 0
