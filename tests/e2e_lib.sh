# Shared by the end-to-end scripts (sourced, never run on its own). Each script
# takes its own display and buses, waits for conditions instead of sleeping,
# and ends every process it started, waiting until each is gone.
#
# The environment (servers, compositors, buses, daemons):
#   need TOOL...          exit 77 (skipped) unless every TOOL is on the path
#   start_x WxH [ARG...]  a private Xvfb of that screen size on a display number that no
#                         other server holds (the server picks it); waits until it answers;
#                         exports DISPLAY. ARGs go to Xvfb.
#   start_session_bus     a private session bus; exports DBUS_SESSION_BUS_ADDRESS
#   start_atspi_bus       this session's accessibility bus, waited for
#   start_env NAME CHECK CMD...
#                         starts CMD (output in $e2e_tmp/NAME.log) and waits until the command
#                         CHECK succeeds; tries three times, then reports an environment failure
#   start_openbox         the openbox window manager, managing the screen
#   as_user CMD...        runs CMD as an unprivileged user (mivrel-e2e, made on first use when
#                         this script runs as root) with a HOME ($user_home) and XDG_RUNTIME_DIR
#                         of its own; for programs that refuse root. The X server takes its
#                         connections; a session bus it needs is started with as_user too:
#                         start_session_bus as_user
#   env_fail WHAT [LOG]   reports that the environment (not the program) failed, with the log
#
# The program and the checks:
#   spawn CMD...          starts CMD in the background; ended at exit; sets $last_pid
#   ours PID              whether the process is this run's and still running
#   fail MESSAGE          screenshot of the screen into $shots, message, exit 1
#   wait_until [!] CMD... runs CMD every 0.1 s until it succeeds (with !: fails), 20 s or $E2E_WAIT
#   find_window TITLE     prints the id of the visible window titled exactly TITLE
#   pixel WIN X Y         prints the colour of one pixel of window WIN as rrggbb
#   pixel_is WIN X Y RGB  whether that pixel has colour RGB (for wait_until)
#   window_size_is WIN WxH  whether the window's client size is WxH (for wait_until)
#   shoot WIN NAME        saves a screenshot of WIN as $shots/NAME.png
#   on_session_bus NAME   whether NAME has an owner on the session bus (for wait_until)
#
# Every process a script starts, directly or through daemons and buses that
# detach from it, inherits MIVREL_E2E_RUN; at exit those that remain are found
# by it, ended and waited for, the servers last.

e2e_pids=()    # started by spawn: ended first, newest first
e2e_infra=()   # the X server and the session bus: ended last, newest first
e2e_tmp=$(mktemp -d)
e2e_shell=$BASHPID   # the shell that sourced this file: a script, or a subshell of one
export MIVREL_E2E_RUN="$e2e_shell.$(date +%s%N)"

need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
    done
}

# Whether a process is one of this run's and still running: a child of the
# shell that sourced this file, or a process that carries the run's variable. A process id alone is
# not enough: once a process of the run has ended, its number may already
# belong to another test's server. Read with shell builtins only.
ours() {
    local stat entries
    read -r stat 2>/dev/null < "/proc/$1/stat" || return 1
    stat=${stat##*) }   # after the command name: state, parent, ...
    [ "${stat%% *}" != Z ] || return 1
    stat=${stat#* }
    [ "${stat%% *}" = "$e2e_shell" ] && return 0
    mapfile -d '' entries 2>/dev/null < "/proc/$1/environ" || return 1
    [[ " ${entries[*]} " == *" MIVREL_E2E_RUN=$MIVREL_E2E_RUN "* ]]
}

# Ends one process of the run and waits until it is gone: TERM, then KILL
# after 5 s. A process that is no longer the run's is left alone.
stop_process() {
    local pid=$1 tries=50
    if ours "$pid"; then
        kill "$pid" 2>/dev/null || true
        while ours "$pid" && [ "$tries" -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
        if ours "$pid"; then
            kill -KILL "$pid" 2>/dev/null
            while ours "$pid"; do sleep 0.1; done
        fi
    fi
    wait "$pid" 2>/dev/null || true
}

# The processes of this run that are still there, except the shell that
# sourced this file, the subshell that asks, and the servers; read with shell builtins only so that
# the search starts no process of its own.
run_processes() {
    local dir pid skip=" $e2e_shell $BASHPID ${e2e_infra[*]} "
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [[ $skip == *" $pid "* ]] && continue
        if ours "$pid"; then echo "$pid"; fi
    done
}

# Ends the run's remaining processes, again while a process that was ending
# started another (an input method's engine may start its server on the
# way out).
stop_run_processes() {
    local pid pids round
    for round in 1 2 3 4 5; do
        pids=$(run_processes)
        [ -n "$pids" ] || return 0
        for pid in $pids; do stop_process "$pid"; done
    done
    echo "processes of this run still there: $(run_processes)"
}

e2e_cleanup() {
    local status=$? i
    trap - EXIT
    set +e   # a script's errexit must not cut the cleaning short
    for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do stop_process "${e2e_pids[i]}"; done
    stop_run_processes
    for ((i = ${#e2e_infra[@]} - 1; i >= 0; i--)); do stop_process "${e2e_infra[i]}"; done
    stop_run_processes
    rm -rf "$e2e_tmp"
    exit "$status"
}
trap e2e_cleanup EXIT
trap 'exit 143' TERM INT

spawn() {
    "$@" &
    last_pid=$!
    e2e_pids+=("$last_pid")
}

fail() {
    echo "FAIL: $*"
    [ -n "${shots:-}" ] && [ -n "${DISPLAY:-}" ] &&
        import -window root "$shots/failure-$(basename "$0" .sh).png" 2>/dev/null
    exit 1
}

env_fail() {
    echo "ENVIRONMENT FAILURE (not a fault of the program): $1"
    if [ -n "${2:-}" ] && [ -s "$2" ]; then
        echo "--- last lines of $2:"
        tail -n 40 "$2"
        echo "---"
    fi
    exit 1
}

wait_until() {
    local tries=$(( ${E2E_WAIT:-20} * 10 )) want=0 got
    [ "$1" = "!" ] && { want=1; shift; }
    while :; do
        "$@" >/dev/null 2>&1 && got=0 || got=1
        [ "$got" = "$want" ] && return 0
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

start_env() {
    local name=$1 check=$2 attempt
    shift 2
    for attempt in 1 2 3; do
        echo "== $name, attempt $attempt: $*" >> "$e2e_tmp/$name.log"
        "$@" >> "$e2e_tmp/$name.log" 2>&1 &
        last_pid=$!
        if wait_until "$check"; then
            e2e_pids+=("$last_pid")
            return 0
        fi
        stop_process "$last_pid"
    done
    env_fail "$name did not start" "$e2e_tmp/$name.log"
}

x_answers() { xdpyinfo >/dev/null 2>&1; }

# Xvfb writes the display number it took to the file once it accepts
# connections; the number is free because the server claimed it itself.
# -noreset: by default the server resets when its last client leaves, and a
# client that connects during that reset is refused ("could not connect to
# display"); the probe that waits for the server is such a last client.
start_x() {
    local size=$1 attempt number log=$e2e_tmp/xvfb.log
    shift
    need Xvfb xdpyinfo
    for attempt in 1 2 3; do
        : > "$e2e_tmp/display"
        Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" \
            3> "$e2e_tmp/display" >> "$log" 2>&1 &
        local pid=$!
        if wait_until grep -q '[0-9]' "$e2e_tmp/display"; then
            number=$(tr -dc 0-9 < "$e2e_tmp/display")
            export DISPLAY=:$number
            if wait_until x_answers; then
                e2e_infra+=("$pid")
                return 0
            fi
        fi
        echo "== Xvfb attempt $attempt failed" >> "$log"
        stop_process "$pid"
    done
    env_fail "the X server did not start" "$log"
}

# start_session_bus [as_user]: with as_user the bus belongs to that user, whose
# programs may then use it.
start_session_bus() {
    local attempt file=$e2e_tmp/bus
    need dbus-daemon
    for attempt in 1 2 3; do
        : > "$file"
        "$@" dbus-daemon --session --nofork --nopidfile --print-address=3 \
            3> "$file" >> "$e2e_tmp/dbus.log" 2>&1 &
        local pid=$!
        if wait_until grep -q . "$file"; then
            export DBUS_SESSION_BUS_ADDRESS
            DBUS_SESSION_BUS_ADDRESS=$(head -1 "$file")
            e2e_infra+=("$pid")
            return 0
        fi
        stop_process "$pid"
    done
    env_fail "the session bus did not start" "$e2e_tmp/dbus.log"
}

E2E_USER=mivrel-e2e
user_home=$e2e_tmp/user-home

# Makes the user (once per machine, whichever script comes first) and its
# folders for this run; a script that does not run as root runs as itself.
prepare_user() {
    [ -d "$user_home" ] && return 0
    mkdir -p -m 700 "$user_home" "$e2e_tmp/user-runtime"
    [ "$(id -u)" = 0 ] || return 0
    flock /tmp/mivrel-e2e-user.lock sh -c "id -u $E2E_USER >/dev/null 2>&1 ||
        useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin $E2E_USER" \
        || env_fail "the unprivileged test user could not be made"
    chmod 711 "$e2e_tmp"
    chown "$E2E_USER:" "$user_home" "$e2e_tmp/user-runtime"
}

as_user() {
    prepare_user
    local run=(env HOME="$user_home" XDG_RUNTIME_DIR="$e2e_tmp/user-runtime")
    [ "$(id -u)" = 0 ] &&
        run=(setpriv --reuid="$E2E_USER" --regid="$E2E_USER" --init-groups
             "${run[@]}" USER="$E2E_USER" LOGNAME="$E2E_USER")
    "${run[@]}" "$@"
}

find_window() {
    local id
    wait_until xdotool search --onlyvisible --name "^$1\$" || return 1
    id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
    [ -n "$id" ] && echo "$id"
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

start_openbox() { start_env openbox wm_running openbox --sm-disable; }

pixel() {
    import -window "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR == 2 { print tolower(substr($3, 2, 6)) }'
}

pixel_is() { [ "$(pixel "$1" "$2" "$3")" = "$4" ]; }

window_size_is() { xdotool getwindowgeometry "$1" | grep -q "Geometry: $2\$"; }

shoot() { import -window "$1" "$shots/$2.png"; }

on_session_bus() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        "string:$1" | grep -q true
}

atspi_bus_up() { on_session_bus org.a11y.Bus; }

# Started before anything could have the session bus start one on demand.
# The bus's own daemon and registry detach from the launcher; they carry this
# run's variable and are ended at exit with the rest.
start_atspi_bus() {
    [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi2-core not installed"; exit 77; }
    start_env atspi-bus atspi_bus_up /usr/libexec/at-spi-bus-launcher --launch-immediately
}

# ---------------------------------------------------------------------------
# The slip as a screenshot shows it, for the checks of window sizes on the
# desktops (i3, sway, openbox, KWin, GNOME Shell):
#   slip_shown IMAGE      whether IMAGE, the client area alone, shows the whole slip, the
#                         largest that fits, centred both ways, the editor on it, and nothing
#                         around it but the window colour (tests/slip_shot.py); what was found
#                         is in $e2e_tmp/slip.txt
#   x_slip_shown WIN NAME the same for the X window WIN, its screenshot kept as $shots/NAME.png
#   slip_fault            prints what the last check found
#   client_size WIN       prints the X window's client size as W H

slip_shown() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/slip_shot.py" "$1" > "$e2e_tmp/slip.txt" 2>&1; }

x_slip_shown() { import -window "$1" "$shots/$2.png" 2>/dev/null && slip_shown "$shots/$2.png"; }

slip_fault() { cat "$e2e_tmp/slip.txt" 2>/dev/null || true; }

client_size() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 \2/p'; }

# ------------------------------------------------------------ input methods
# For checks whose buses, input method and program all run as the unprivileged
# user (Mozc's server refuses root); the X server and xdotool stay as they are.
#   start_x_for_user WxH [ARG...]  start_x, then waits until the user's programs
#                             can connect to the server too
#   on_user_session_bus NAME  whether NAME has an owner on the user's session bus
#   start_user_atspi_bus      the accessibility bus of the user's session, waited for
#   user_copy FILE...         copies the FILEs into $user_files, where the user can
#                             read and run them whatever the folder they come from
#   has_ink X Y W H           whether that area of the screen holds a dark pixel

start_x_for_user() {
    start_x "$@"
    wait_until as_user xdpyinfo ||
        env_fail "the X server on $DISPLAY refuses the unprivileged user's connections" "$e2e_tmp/xvfb.log"
}

on_user_session_bus() {
    as_user dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
        org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q true
}

user_atspi_bus_up() { on_user_session_bus org.a11y.Bus; }

start_user_atspi_bus() {
    [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi2-core not installed"; exit 77; }
    start_env atspi-bus user_atspi_bus_up as_user /usr/libexec/at-spi-bus-launcher --launch-immediately
}

user_files=$e2e_tmp/user-files
user_copy() {
    prepare_user
    mkdir -p -m 755 "$user_files"
    cp "$@" "$user_files/"
    chmod -R a+rX "$user_files"
}

has_ink() {
    [ "$(import -window root -crop "${3}x${4}+$1+$2" +repage png:- |
         convert png:- -colorspace gray -format '%[fx:minima < 0.5]' info:)" = 1 ]
}
