# Shared by the service scripts (sourced, with the program directory current and in $here):
# which process is this directory's host service. A pid is acted on only when its process runs
# this directory's service program, so a stale pid file never names an unrelated process.

# $QUORVANE_SERVICE_PROGRAM names another executable for the service (tests use it).
name=${QUORVANE_SERVICE_PROGRAM:-tavrin}
case $name in */* | . | ..) name=tavrin ;; esac
program="$here/$name"
pidfile="$here/tavrin.pid"
autostart="${XDG_CONFIG_HOME:-$HOME/.config}/autostart/tavrin.desktop"

# True when process $1 runs this directory's service program (through a link as well). The
# test is a shell built-in, so a look through every process stays quick.
is_service() {
    case $1 in '' | *[!0-9]*) return 1 ;; esac
    [ -e "$program" ] && [ "/proc/$1/exe" -ef "$program" ]
}

# The same, and also true for a service whose program file was replaced since it started (an
# update): the kernel then names the old file with a mark.
was_service() {
    is_service "$1" && return 0
    file=$(readlink "/proc/$1/exe" 2>/dev/null) || return 1
    [ "${file% (deleted)}" = "$(readlink -f "$program" 2>/dev/null)" ]
}

# The pids of this directory's service: the pid file's when it names the service, else every
# process that runs the service program (one started by hand has no pid file).
service_pids() {
    if [ -f "$pidfile" ] && pid=$(cat "$pidfile") && was_service "$pid"; then
        echo "$pid"
        return 0
    fi
    found=1
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        if is_service "$pid"; then
            echo "$pid"
            found=0
        fi
    done
    return $found
}

log_line() {
    mkdir -p "$here/log"
    echo "$(date '+%Y-%m-%d %H:%M:%S') $*" >>"$here/log/tavrin.log"
}
