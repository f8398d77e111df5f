#!/bin/bash
# The saver on an X screen and the snapshot tool draw the same picture of the
# same moment, with particles and overlays, whose glows and spot come from a
# texture of their own: the program's copy whose scene clock and seed are
# held (tests/e2e/held_moment.cpp) against the tool's simulated clock.
# Usage: live_snapshot_test.sh HELD-ORBDRIFT SNAPSHOT-TOOL X-SCREENSHOT OUTPUT-DIR
. "$(dirname "$0")/../support/prologue.sh" saver snapshot shot out -- "$@"
export XDG_CONFIG_HOME="$out/config" # the test's own settings, not the person's
# Full motion in both, whatever the desktop of the machine that runs it wishes.
start_test_x

# Both drivers rasterize alike but round a little differently: a level or
# three. A glow cut or missing is ten and more.
alike() { below "$(compare -metric PAE "$1" "$2" null: 2>&1 | tr -d '()' | cut -d' ' -f2)" 0.02; }
shot_alike() { "$shot" "$1" && alike "$1" "$2"; }

# seed, frames and milliseconds a step: the first seconds, and later, when
# the glows have wandered from where they started.
for moment in "11 40 50" "11 40 300" "7 60 1000"; do
    read -r seed frames step <<<"$moment"
    name=$seed-$frames-$step
    "$snapshot" --size 640x480 --seed "$seed" --frames "$frames" --step-ms "$step" \
        --particles --overlays --motion full -o "$out/$name-snapshot.png"
    HELD_SEED=$seed HELD_FRAMES=$frames HELD_STEP_MS=$step HELD_MARK=$out/$name.held \
        "$saver" --root --particles --overlays --motion full &
    pid=$!
    check "the saver steps $frames times" eventually test -e "$out/$name.held"
    check "at $frames steps of $step ms, seed $seed, the saver shows the snapshot's picture" \
        shot_alike "$out/$name-saver.png" "$out/$name-snapshot.png"
    kill "$pid"
    wait_exit "$pid"
    check "the saver ends with 0 (exit $rc)" test "$rc" = 0
done
report
