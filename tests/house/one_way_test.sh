#!/bin/sh
# The house stays readable when its folders depend one way: the shell on the
# scene and the host layer, the scene on nothing of theirs, and no circle
# anywhere. The scene runs in any GL context because it never includes a
# window-system header, directly or through the shell's Windows API.
cd "$(dirname "$0")/../.." || exit 1
scene="common views textures content scene"
failed=0
fail() {
    echo "$1"
    failed=1
}

# Every "folder/file" include, as an edge between two folders of src/.
edges=$(cd src && grep -o '#include "[a-z_]*/' */* | sed 's#/[^:]*:\#include "# #; s#/$##' |
    awk '$1 != $2' | sort -u)

for folder in $scene; do
    found=$(cd src && grep -nE '#include *[<"](X11/|EGL/|GL/glx|windows\.h|platform/|shell/|tools/)' \
        "$folder"/*)
    [ -z "$found" ] || fail "the scene reaches out of itself:
$found"
done

# A top draws through the frame interface alone, so the scene may change
# inside without a top noticing: the frame driver (start, step, draw, end a
# context), the frame pace (what a tick does, alike in every top) and the
# settings every top reads. common/ is the ground under every layer. The
# snapshot tool's texture mode shows one texture on its own, outside any frame.
interface='scene/(frame_driver|frame_pace|scene_settings)\.h'
reached=$(cd src && grep -d skip -nE '#include "(scene|content|views|textures)/' shell/* linux/* wayland/* plasma/* \
    tools/* | grep -vE "\"($interface)\"" | grep -v '^tools/snapshot_main.cpp:.*"textures/texture_slot.h"')
[ -z "$reached" ] || fail "a top reaches past the frame interface into the scene:
$reached"

loops=$(echo "$edges" | tsort 2>&1 >/dev/null)
[ -z "$loops" ] || fail "the folders of src/ form a circle:
$loops"

outside=$(sed -n '/^add_library(orbdrift_scene/,/)/p' CMakeLists.txt | grep -o 'src/[a-z_]*' |
    sed 's#src/##' | grep -vxE "$(echo $scene | tr ' ' '|')")
[ -z "$outside" ] || fail "the scene library compiles files from outside the scene: $outside"

# A port sees at once what it must write again: every file of the host layer
# carries its backend in its name (win32 is the API they all implement), and
# each backend's library compiles only its own files.
unnamed=$(ls src/platform | grep -vE '^(win32|x11|glx|posix|sdbus)_|^win32\.h$')
[ -z "$unnamed" ] || fail "host-layer files named for no backend: $(echo $unnamed)"
for library in posix:posix sdbus:sdbus 'x11:x11|glx'; do
    stray=$(awk -v start="^add_library\\(orbdrift_${library%%:*} " '$0 ~ start {on = 1}
        on {print} on && /\)/ {on = 0}' CMakeLists.txt | grep -o 'src/platform/[a-z0-9_.]*' |
        sed 's#src/platform/##' | grep -vE "^(${library#*:})_")
    [ -z "$stray" ] || fail "the ${library%%:*} library compiles another backend's files: $(echo $stray)"
done

# The Linux entry hands the shell its window typed: a handle printed into a
# switch's text for the shell to read back is the command line parsed twice.
texted=$(grep -n 'saver_main\|"/p' src/linux/*.cpp)
[ -z "$texted" ] || fail "the Linux entry passes the shell text to parse: $texted"

echo "folders of src/ and what they include:"
echo "$edges" | awk '{to[$1] = to[$1] " " $2} END {for (f in to) print "  " f " ->" to[f]}' | sort
[ "$failed" -eq 0 ] && echo "one way, no circle"
exit "$failed"
