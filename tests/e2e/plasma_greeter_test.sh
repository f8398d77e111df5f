#!/bin/bash
# Plasma's lock screen, in the greeter's testing mode, with orbdrift as its
# wallpaper: the picture behind the clock and the password prompt, moving,
# under the settings the lock screen's configuration gives it.
# Usage: plasma_greeter_test.sh BUILD-DIR X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" build shot out -- "$@"
. "$(dirname "$0")/../support/plasma_session.sh"
start_plasma_session 1024x768
cat >"$XDG_CONFIG_HOME/kscreenlockerrc" <<'CONFIG'
[Greeter]
WallpaperPlugin=org.orbdrift.wallpaper

[Greeter][Wallpaper][org.orbdrift.wallpaper][General]
Texture=smoke
CONFIG
greet=$(ls /usr/lib/*/libexec/kscreenlocker_greet /usr/libexec/kscreenlocker_greet 2>/dev/null | head -1)
check "the greeter is installed" test -n "$greet"
"$greet" --testing >"$out/greeter.log" 2>&1 &
started=$!

middle=600x200+212+284
# The lock screen's own background is a flat colour or an image; the scene's
# letterbox bands are black above and below it.
check "the lock screen shows orbdrift's picture between its bands" \
    eventually shows_noise root 384 100 300 500 700 900
check "the bands are black" black root 10 740
check "the picture moves" moving "$middle" 1
check "under the lock screen's settings: the smooth texture" smooth "$out/a.png"
xdotool mousemove 500 500 key space
# The password field, white, in the middle of the screen.
check "the password prompt is over it" eventually eval '[ "$(pixel root 500 458)" = "255 255 255" ]'
check "the picture goes on behind the prompt" moving "$middle" 1
check "the greeter still runs" kill -0 "$started"
report
