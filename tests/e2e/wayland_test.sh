#!/bin/bash
# orbdrift on Wayland, headless and as a scratch user: on sway's two outputs
# through layer-shell, one of them at scale 2, following an output that goes,
# ended by SIGTERM or by the compositor going; on weston, which has no
# layer-shell, in a full-screen window.
# Usage: wayland_test.sh ORBDRIFT ORBDRIFT-PICTURE OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver picture out -- "$@"
. "$(dirname "$0")/../support/wayland_session.sh"
. "$(dirname "$0")/../support/wayland_pictures.sh"
start_wayland_user "$saver"

# A stopped compositor answers nothing, and the GL swap waits for it without
# end; SIGTERM still ends the saver $pid with 0 within a second.
ends_with_compositor_stopped() {
    kill -STOP "$compositor"
    sleep 0.5 # for the saver to be waiting in the swap
    kill -TERM "$pid"
    wait_exit "$pid" 10
    kill -CONT "$compositor"
    check "$1 stopped, SIGTERM ends it with 0 within a second (exit $rc)" test "$rc" = 0
}

check "sway starts" start_sway
user_command
"${run_as[@]}" DISPLAY=:nowhere "$program" --wayland 2>"$out/sway-saver.txt" &
pid=$!
for output in HEADLESS-1 HEADLESS-2; do
    check "draws on $output at its size, 640 x 480 pixels, with bands and noise" \
        eventually output_shows "$output"
    check "and the bottom band of $output" eventually black_at "$out/$output.png" 320 479
done
# An output at scale 2 at its pixels, and one whose scale changes, moving on.
check "HEADLESS-2 at scale 2 drawn sharp at its pixels" eventually moving HEADLESS-2
swaymsg_as_user output HEADLESS-1 scale 2 >/dev/null
check "HEADLESS-1 turned to scale 2 moves on, sharp" eventually moving HEADLESS-1
swaymsg_as_user output HEADLESS-1 scale 1 >/dev/null
swaymsg_as_user output HEADLESS-2 disable >/dev/null
sleep 0.5
check "an output that goes leaves it running" still_running "$pid"
check "on the other output" eventually output_shows HEADLESS-1
kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
check "having said nothing" test ! -s "$out/sway-saver.txt"

as_user "$program" --wayland --output NOPE 2>"$out/no-output.txt"
check "an output that is not there ends it with 1, saying so" \
    test $? -eq 1 -a "$(cat "$out/no-output.txt")" = "orbdrift: the compositor has no output named NOPE"

# The README's lines for swayidle as a user writes them, with a timeout of a
# second: sway idle, the picture is on the outputs; then the resume line ends
# the saver and nothing else, not even a program whose command line names it.
# Its line before sleep locks with the real swaylock over the picture of the
# moment, at the output's size, which the screen then shows.
# Only as a scratch user: the line would end every saver of the user it runs as.
if [ -n "$made_user" ]; then
    readme=$(dirname "$0")/../../README.md
    idle_line=$(sed -n "s|^    timeout 600 '/usr/libexec/xscreensaver/orbdrift\(.*\)' \\\\$|$program\1|p" "$readme")
    resume_line=$(sed -n "s/^    resume '\(.*\)' \\\\$/\1/p" "$readme")
    lock_line=$(sed -n "s/^    before-sleep '\(.*\)'$/\1/p" "$readme")
    check "the README has swayidle's lines" test -n "$idle_line" -a -n "$resume_line" -a -n "$lock_line"
    "${run_as[@]}" swayidle -w timeout 1 "$idle_line" resume "$resume_line" &
    idler=$!
    "${run_as[@]}" bash -c 'exec -a "editor notes-on-orbdrift --wayland" sleep 60' &
    decoy=$!
    check "sway idle a second, swayidle's line draws on the output" eventually output_shows HEADLESS-1
    as_user sh -c "$resume_line"
    saver_gone() { ! pgrep -x -u "$wayland_user" orbdrift >/dev/null; }
    check "the resume line ends the saver" eventually saver_gone
    check "and not the program that names it" still_running "$decoy"
    kill "$idler" "$decoy"
    wait "$idler" "$decoy" 2>/dev/null

    mkdir "$scratch/bin"
    cp "$picture" "$scratch/bin/orbdrift-picture"
    as_user env PATH="$scratch/bin:/usr/bin:/bin" sh -c "$lock_line"
    # swaylock -f leaves the line once the screen is locked, its locker going
    # on in a session of its own beside its helper that checks passwords.
    locked() {
        locker=$(ps -o pid=,sid=,comm= -u "$wayland_user" | awk '$1 == $2 && $3 == "swaylock" {print $1}')
        [ -n "$locker" ]
    }
    check "the lock line writes the picture and locks" eventually locked
    cp "$runtime/orbdrift.png" "$out/lock-picture.png"
    check "the picture is the output's size, 640 x 480" \
        test "$(identify -format '%wx%h' "$out/lock-picture.png")" = 640x480
    # Within a few levels of the picture in each colour, where swaylock's own
    # plain white is far from it.
    shows_picture() {
        as_user grim -o HEADLESS-1 "$home/locked.png" 2>/dev/null && cp "$home/locked.png" "$out/" &&
            compare -metric RMSE "$out/locked.png" "$out/lock-picture.png" null: 2>&1 |
            awk -F'[()]' '{exit !($2 < 0.02)}'
    }
    check "swaylock shows the picture on the output" eventually shows_picture
    kill -USR1 "$locker"
    unlocked() { ! pgrep -u "$wayland_user" -x swaylock >/dev/null; }
    check "and unlocks on SIGUSR1, its helper ending with it" eventually unlocked
fi

# Started with nothing where there is no X, as an idle daemon may start it,
# it is the Wayland mode; with DISPLAY set too, the settings dialog on X.
"${run_as[@]}" "$program" 2>/dev/null &
pid=$!
check "started with nothing it draws on the outputs" eventually output_shows HEADLESS-1
ends_with_compositor_stopped sway
# A compositor stopped before the saver connects never answers its first
# round trip: the request is carried out late, with 0, by the signal path.
kill -STOP "$compositor"
"${run_as[@]}" "$program" --wayland 2>/dev/null &
pid=$!
term_when_caught "$pid" "$program" 0.3
wait_exit "$pid" 10
kill -CONT "$compositor"
check "started on a stopped sway, SIGTERM ends it with 0 within a second (exit $rc, ${waited_ms:-} ms)" \
    test "$rc" = 0 -a "${waited_ms:-9999}" -lt 1000
as_user DISPLAY=:nowhere timeout 5 "$program" 2>"$out/x-too.txt"
check "with DISPLAY set too it is the settings dialog, which wants X" \
    test $? -eq 255 -a "$(cat "$out/x-too.txt")" = "orbdrift: cannot open the X display (is DISPLAY set?)"
check "with one argument it is what the argument says" \
    test "$(as_user timeout 5 "$program" --version)" = "$("$program" --version)" -a -n "$("$program" --version)"

# An idle daemon whose user is back at once: SIGTERM as soon as the saver can
# take it, then 20 times at 0 to 90 ms after, as it connects and starts GL.
exits=""
for delay in 0 $(for _ in $(seq 20); do printf '0.%03d ' $((RANDOM % 91)); done); do
    "${run_as[@]}" "$program" --wayland 2>/dev/null &
    pid=$!
    term_when_caught "$pid" "$program" "$delay"
    wait_exit "$pid" 30
    exits+=" $rc"
done
check "it takes SIGTERM before it reads settings or connects" \
    catches_term_first "$out/wayland-start.strace" "${run_as[@]}" "$program" --wayland
check "an early SIGTERM ends it with 0 each time (exits:$exits)" test -z "${exits// 0/}"

user_command
"${run_as[@]}" "$program" --wayland --speed 2 2>"$out/lost.txt" &
pid=$!
eventually output_shows HEADLESS-1
{ kill -KILL "$compositor" && wait "$compositor"; } 2>/dev/null
wait_exit "$pid" 100
check "the compositor going ends it with 1 (exit $rc)" test "$rc" = 1
check "within 3 s (${waited_ms:-} ms)" test "${waited_ms:-99999}" -le 3000
check "saying so" grep -q "lost the connection to the Wayland compositor" "$out/lost.txt"

# weston: no layer-shell, so a full-screen window.
check "weston starts" start_weston
user_command
"${run_as[@]}" "$program" --wayland 2>"$out/weston-saver.txt" &
pid=$!
# The screenshot keeps the buffer's unused alpha byte as alpha: over black
# it is the picture the compositor shows.
weston_shows() {
    rm -f "$home"/wayland-screenshot-*.png
    (cd "$home" && as_user weston-screenshooter 2>/dev/null) &&
        convert "$home"/wayland-screenshot-*.png -background black -alpha remove "$out/weston.png" &&
        black_at "$out/weston.png" 320 0 && rough "$out/weston.png"
}
check "weston shows the picture full screen" eventually weston_shows
check "having said in one line that there is no layer-shell" \
    test "$(grep -c "offers no layer-shell" "$out/weston-saver.txt")" = 1 -a \
    "$(wc -l <"$out/weston-saver.txt")" = 1
kill -TERM "$pid"
wait_exit "$pid" 30
check "SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
"${run_as[@]}" "$program" --wayland 2>/dev/null &
pid=$!
eventually weston_shows
ends_with_compositor_stopped weston

# weston asleep after a second without input repaints nothing and asks for
# no frames: the saver draws nothing either, and still ends on SIGTERM.
kill "$compositor" && wait "$compositor" 2>/dev/null
start_weston --idle-time=1
user_command
"${run_as[@]}" WAYLAND_DEBUG=1 "$program" --wayland 2>"$out/asleep.txt" &
pid=$!
commits() { grep -c 'wl_surface@[0-9]*\.commit' "$out/asleep.txt"; }
# No commit in a whole second, where an awake compositor takes a hundred.
stopped_drawing() {
    local before
    before=$(commits)
    sleep 1
    [ "$before" -gt 0 ] && [ "$(commits)" = "$before" ]
}
check "weston asleep, it draws nothing" eventually stopped_drawing
check "nor later (after $(commits) pictures)" stopped_drawing
# Its own loop waits (on the compositor, the end requests and the power
# source), stepping the scene each tick; a swap waiting on the compositor
# for a picture nobody shows would wait in the driver on one descriptor.
waits_in_its_loop() {
    local number descriptors nfds rest
    read -r number descriptors nfds rest <"/proc/$pid/syscall" && [ "$number" = 7 ] && [ "$nfds" = 0x3 ]
}
check "and it waits in its own loop, not in a swap" eventually waits_in_its_loop
kill -TERM "$pid"
wait_exit "$pid" 30
check "asleep, SIGTERM ends it with 0 (exit $rc)" test "$rc" = 0
report
