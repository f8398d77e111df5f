#!/bin/sh
# The scene runs in any GL context because it never includes a window-system
# header, directly or through the shell's Windows API.
cd "$(dirname "$0")/../../src" || exit 1
found=$(grep -nE '#include *[<"](X11/|EGL/|GL/glx|windows\.h|platform/)' \
    common/* views/* textures/* content/* scene/* shell/frame_clock.* shell/frame_driver.*)
if [ -n "$found" ]; then
    echo "window-system headers in the scene:"
    echo "$found"
    exit 1
fi
echo "the scene includes no window-system header"
