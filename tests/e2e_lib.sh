# Shared by the end-to-end scripts (sourced, never run on its own). Each script
# takes its own display, waits for conditions instead of sleeping, and ends
# every process it started.
#
#   need TOOL...          exit 77 (skipped) unless every TOOL is on the path
#   spawn CMD...          starts CMD in the background; ended at exit; sets $last_pid
#   fail MESSAGE          screenshot of the screen into $shots, message, exit 1
#   wait_until [!] CMD... runs CMD every 0.1 s until it succeeds (with !: fails), 10 s or $E2E_WAIT
#   find_window TITLE     prints the id of the visible window titled exactly TITLE
#   start_openbox         starts the openbox window manager and waits until it manages the screen
#   pixel WIN X Y         prints the colour of one pixel of window WIN as rrggbb
#   pixel_is WIN X Y RGB  whether that pixel has colour RGB (for wait_until)
#   window_size_is WIN WxH  whether the window's client size is WxH (for wait_until)
#   shoot WIN NAME        saves a screenshot of WIN as $shots/NAME.png
#   on_session_bus NAME   whether NAME has an owner on the session bus (for wait_until)
#   start_atspi_bus       starts this session's accessibility bus and waits for it; its daemon
#                         and registry, which are no children of the script, are ended at exit too

e2e_pids=()
atspi_pids=()

need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
    done
}

e2e_cleanup() {
    local pid
    [ -n "${atspi_started:-}" ] && note_atspi_pids
    for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    for pid in "${atspi_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait_until ended "$pid" || echo "process $pid did not end"
    done
}
trap e2e_cleanup EXIT

spawn() {
    "$@" &
    last_pid=$!
    e2e_pids+=("$last_pid")
}

fail() {
    echo "FAIL: $*"
    [ -n "${shots:-}" ] && import -window root "$shots/failure-$(basename "$0" .sh).png" 2>/dev/null
    exit 1
}

wait_until() {
    local tries=$(( ${E2E_WAIT:-10} * 10 )) want=0 got
    [ "$1" = "!" ] && { want=1; shift; }
    while :; do
        "$@" >/dev/null 2>&1 && got=0 || got=1
        [ "$got" = "$want" ] && return 0
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

find_window() {
    local id
    wait_until xdotool search --onlyvisible --name "^$1\$" || return 1
    id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
    [ -n "$id" ] && echo "$id"
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

start_openbox() {
    spawn openbox --sm-disable
    wait_until wm_running || fail "openbox did not start"
}

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

start_atspi_bus() {
    spawn /usr/libexec/at-spi-bus-launcher --launch-immediately
    atspi_started=1
    wait_until on_session_bus org.a11y.Bus || fail "the accessibility bus did not start"
}

# The accessibility bus's daemon and its registry, asked for while the bus
# still runs: the registry would outlive its bus.
note_atspi_pids() {
    local address name
    address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null) || return 0
    for name in org.freedesktop.DBus org.a11y.atspi.Registry; do
        atspi_pids+=($(dbus-send --bus="${address// /}" --print-reply=literal --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.GetConnectionUnixProcessID "string:$name" 2>/dev/null | awk '{ print $2 }'))
    done
}

ended() { ! ps -o stat= -p "$1" | grep -qv '^Z'; }
