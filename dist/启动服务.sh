#!/bin/sh
# Starts the host service in the background and makes it start again with the desktop session.
# Exits 0 only when the service runs at the end; otherwise it leaves no pid file and no
# autostart entry, and says why in log/tavrin.log.
cd "$(dirname "$0")" || exit 1
here=$(pwd)
. "$here/service-lib.sh"

install_autostart() {
    mkdir -p "$(dirname "$autostart")" && cat >"$autostart" <<DESKTOP
[Desktop Entry]
Type=Application
Name=tavrin
Exec=/bin/sh "$here/启动服务.sh"
X-GNOME-Autostart-enabled=true
DESKTOP
}

if pids=$(service_pids); then
    # Already running (perhaps started by hand): keep it.
    echo "$pids" | head -n 1 >"$pidfile"
    install_autostart
    exit 0
fi
rm -f "$pidfile"
if [ ! -x "$program" ]; then
    log_line "cannot start the service: $program is missing or not executable"
    exit 2
fi
mkdir -p log
nohup "$program" --home "$here" >>log/tavrin.log 2>&1 </dev/null &
pid=$!
# Until nohup has replaced itself the process is not the service yet; a service that refuses to
# start (its pipe is served by another, a bad setting) ends within its first moments.
n=0
while ! is_service "$pid"; do
    if ! kill -0 "$pid" 2>/dev/null || [ $n -ge 100 ]; then
        log_line "the service did not start"
        exit 1
    fi
    sleep 0.05
    n=$((n + 1))
done
sleep 0.5
if ! is_service "$pid"; then
    log_line "the service ended right after its start"
    exit 1
fi
echo "$pid" >"$pidfile"
install_autostart
exit 0
