#!/usr/bin/env bash
# Runs the tool. With $QUORVANE_HOME set, on that program directory and its own network.
# Otherwise on a demo network: quorvane-sim answers as 8 controllers on 127.0.0.1..127.0.0.8
# (300 log records each),
# and the tool runs on build/demo-home, whose settings search 127.255.255.255 with multicast
# off, so nothing leaves this machine. Without a display it prints the search table instead.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build}
GUI=$BUILD/src/gui/quorvane
CLI=$BUILD/src/cli/quorvane-cli
SIM=$BUILD/tools/sim/quorvane-sim
have_display() { [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; }

if [ -n "${QUORVANE_HOME:-}" ]; then
    if have_display && [ -x "$GUI" ]; then exec "$GUI"; fi
    exec "$CLI" search
fi

HOME_DIR=$PWD/$BUILD/demo-home
mkdir -p "$HOME_DIR/run"
# The pipe folder is used only when nobody else may enter it.
chmod 700 "$HOME_DIR/run"
cp -n dist/*.ini "$HOME_DIR/" 2>/dev/null || true
cp dist/*.sh "$HOME_DIR/"
# The service scripts start the program beside them.
ln -sfn "$PWD/$BUILD/tools/tavrin/tavrin" "$HOME_DIR/tavrin"
if [ ! -f "$HOME_DIR/.demo" ]; then
    # 2147483647 is 127.255.255.255: the loopback network's broadcast address.
    cat > "$HOME_DIR/config.ini" <<'INI'
[net]
common-dev-admin-port=65534
mcast-dev-admin-port=3366
common-broadcast-address=2147483647
enable-mcast=0
search-on-start=1
enable-pipe=1
mcast-local-address=127.0.0.1
pipe-server=127.0.0.1
pipe-name=kelmorhub-demo

[common]
title=Selvane

[options]
log-file-max-size=64
sort-dev-list=1

[db]
xstr=961b74e72e3212585228372772981543
INI
    touch "$HOME_DIR/.demo"
fi
export QUORVANE_HOME=$HOME_DIR
export XDG_RUNTIME_DIR=$HOME_DIR/run
# A service started from the demo window records its autostart entry here, not in the session.
export XDG_CONFIG_HOME=$HOME_DIR/xdg

# The controllers store rights in the form the demo's settings name (right-mode, 0 when unset),
# so that their door-access configuration opens without a format warning.
RIGHT_MODE=$(sed -n 's/^right-mode=\([0-9]\)\r\{0,1\}$/\1/p' "$HOME_DIR/config.ini" | head -n 1)
"$SIM" --count 8 --block mixed --logs 300 --right-mode "${RIGHT_MODE:-0}" > "$HOME_DIR/sim.out" 2> "$HOME_DIR/sim.err" &
SIM_PID=$!
trap 'kill $SIM_PID 2>/dev/null || true; wait $SIM_PID 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    grep -q ready "$HOME_DIR/sim.out" 2>/dev/null && break
    if ! kill -0 $SIM_PID 2>/dev/null; then
        echo "quorvane-sim did not start:" >&2
        cat "$HOME_DIR/sim.err" >&2
        exit 1
    fi
    sleep 0.05
done

if have_display && [ -x "$GUI" ]; then
    echo "demo network: 8 simulated controllers on 127.0.0.1..127.0.0.8 (start-up password 720418)" >&2
    "$GUI"
else
    echo "no display: the demo network as quorvane-cli search lists it" >&2
    "$CLI" --password 720418 search --wait 1000
fi
