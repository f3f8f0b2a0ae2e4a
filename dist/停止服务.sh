#!/bin/sh
# Stops the host service and keeps it from starting with the desktop session. Only processes
# that run this directory's service program are signalled. Exits 0 when none runs at the end.
cd "$(dirname "$0")" || exit 1
here=$(pwd)
. "$here/service-lib.sh"

rm -f "$autostart"
pids=$(service_pids) || { rm -f "$pidfile"; exit 0; }

# Waits up to $1 tenths of a second for every pid to end; true when all have.
all_ended() {
    n=0
    while [ $n -lt "$1" ]; do
        alive=0
        for pid in $pids; do was_service "$pid" && alive=1; done
        [ $alive -eq 0 ] && return 0
        sleep 0.1
        n=$((n + 1))
    done
    return 1
}

for pid in $pids; do kill "$pid" 2>/dev/null; done
# Up to 5 s to finish its exchange and leave; a service that hangs is ended outright.
if ! all_ended 50; then
    for pid in $pids; do was_service "$pid" && kill -9 "$pid" 2>/dev/null; done
    if ! all_ended 20; then
        log_line "the service did not stop: $pids"
        exit 1
    fi
fi
rm -f "$pidfile"
exit 0
