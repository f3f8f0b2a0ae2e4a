#!/bin/sh
# Starts the host service in the background and makes it start again with the desktop session.
cd "$(dirname "$0")" || exit 1
here=$(pwd)
mkdir -p log
if [ -f tavrin.pid ] && kill -0 "$(cat tavrin.pid)" 2>/dev/null; then
    exit 0
fi
nohup "$here/tavrin" --home "$here" >>log/tavrin.log 2>&1 </dev/null &
echo $! >tavrin.pid
autostart="${XDG_CONFIG_HOME:-$HOME/.config}/autostart"
mkdir -p "$autostart" && cat >"$autostart/tavrin.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=tavrin
Exec=/bin/sh "$here/启动服务.sh"
X-GNOME-Autostart-enabled=true
DESKTOP
exit 0
