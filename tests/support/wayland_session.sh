# Sourced by the Wayland test and the benchmark, after end_to_end_checks.sh:
# headless compositors for a scratch user (sway refuses to run as root), and
# what that user runs. start_wayland_user makes the user, its runtime folder
# and a copy of the program; end_wayland_user ends every process it started,
# then removes the user and the folder.
#
#   start_wayland_user PROGRAM   sets $scratch, $runtime, $program (the copy)
#   start_sway [N CONFIG]        sway with two 640 x 480 outputs, HEADLESS-2 at
#                                scale 2, or N outputs as the CONFIG lines say;
#                                $socket is its socket, $compositor its pid
#   start_weston [OPTION...]     weston's desktop shell on one 640 x 480 output
#   as_user COMMAND...           runs it as the user, on the compositor of $socket;
#                                "${run_as[@]}" COMMAND & the same in the background,
#                                where $! is then the command's own pid
#   swaymsg_as_user ARGUMENT...  tells sway
start_wayland_user() {
    scratch=$(mktemp -d /tmp/orbdrift-wayland.XXXXXX)
    chmod 755 "$scratch"
    wayland_user=$(id -un)
    made_user=""
    if [ "$(id -u)" -eq 0 ]; then
        # A name of this run's own: ending its processes by user must not end
        # another run's compositor, nor remove the user it runs as.
        wayland_user=orbdrift-wayland-$$
        useradd --no-create-home --home-dir "$scratch" "$wayland_user" && made_user=$wayland_user
    fi
    runtime=$scratch/runtime
    home=$scratch/home
    mkdir -p "$runtime" "$home"
    cp "$1" "$scratch/orbdrift"
    program=$scratch/orbdrift
    chmod 755 "$program"
    chown -R "$wayland_user" "$runtime" "$home"
    chmod 700 "$runtime"
    trap end_wayland_user EXIT
}

end_wayland_user() {
    local -
    set +e # a trap of a script under set -e must still clean up all
    [ -n "${compositor:-}" ] && { kill -KILL "$compositor" && wait "$compositor"; } 2>/dev/null
    if [ -n "$made_user" ]; then
        pkill -KILL -u "$wayland_user"
        for _ in $(seq 50); do pgrep -u "$wayland_user" >/dev/null || break; sleep 0.1; done
        userdel "$wayland_user" 2>/dev/null
    else
        pkill -KILL -f "$scratch/" 2>/dev/null
    fi
    rm -rf "$scratch"
}

# The user's command line: no setpriv when the test already runs as it.
user_command() {
    run_as=()
    [ "$wayland_user" = "$(id -un)" ] ||
        run_as=(setpriv --reuid="$wayland_user" --regid="$(id -g "$wayland_user")" --clear-groups)
    run_as+=(env -i HOME="$home" XDG_CACHE_HOME="$home/.cache" PATH=/usr/bin:/bin
        XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="${socket:-}")
}

as_user() {
    user_command
    "${run_as[@]}" "$@"
}

# Waits for a compositor's socket in the runtime folder to take connections;
# its name in $socket. The file is there from the compositor's bind, a moment
# before its listen: a client that connects in between is refused, and on a
# busy machine that moment can be long.
wait_for_socket() {
    local tenths=100
    until socket=$(cd "$runtime" && ls wayland-[0-9]* 2>/dev/null | grep -v lock | head -1) &&
        [ -n "$socket" ] && takes_connections "$runtime/$socket"; do
        tenths=$((tenths - 1))
        [ "$tenths" -gt 0 ] || return 1
        sleep 0.1
    done
}

takes_connections() {
    python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).connect(sys.argv[1])' "$1" 2>/dev/null
}

swaymsg_as_user() { as_user env SWAYSOCK="$(echo "$runtime"/sway-ipc.*.sock)" swaymsg "$@"; }

start_sway() {
    rm -f "$runtime"/wayland-* "$runtime"/sway-ipc.*
    printf '%s\n' "${2:-output HEADLESS-1 resolution 640x480 position 0 0
output HEADLESS-2 resolution 640x480 position 640 0 scale 2}" >"$scratch/sway.conf"
    user_command
    "${run_as[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_HEADLESS_OUTPUTS="${1:-2}" sway -c "$scratch/sway.conf" >"$home/sway.log" 2>&1 &
    compositor=$!
    wait_for_socket
}

start_weston() {
    rm -f "$runtime"/wayland-*
    user_command
    "${run_as[@]}" weston --backend=headless-backend.so --use-pixman --shell=desktop-shell.so \
        --debug --width=640 --height=480 "$@" >"$home/weston.log" 2>&1 &
    compositor=$!
    wait_for_socket
}
