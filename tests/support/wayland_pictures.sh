# Sourced by the Wayland tests, after wayland_session.sh: what a screenshot
# of one of sway's 640 x 480 outputs shows. output_shows leaves its
# screenshot in $out.

# black_at PICTURE X Y, as a compositor's screenshot has it.
black_at() { [ "$(convert "$1" 2>/dev/null -format "%[fx:int(255*(p{$2,$3}.r+p{$2,$3}.g+p{$2,$3}.b))]" info:)" = 0 ]; }
# The picture over the whole of PICTURE, not a part of it: its top and bottom
# fifths black from edge to edge, noise in each quarter of the strip between.
covers() {
    local x
    for x in 0 384; do
        [ "$(convert "$1" -crop "640x96+0+$x" -format '%[fx:maxima]' info:)" = 0 ] || return 1
    done
    for x in 0 160 320 480; do
        convert "$1" -crop "160x96+$x+192" +repage "$1.part.png" && rough "$1.part.png" || return 1
    done
}
# A screenshot of one of sway's outputs: its pixel size, its bands, its noise.
output_shows() {
    as_user grim -o "$1" "$home/$1.png" 2>/dev/null && cp "$home/$1.png" "$out/" &&
        [ "$(identify -format '%wx%h' "$out/$1.png")" = 640x480 ] && covers "$out/$1.png"
}
# output_black OUTPUT: a screenshot of one of sway's outputs, black all over.
output_black() {
    as_user grim -o "$1" "$home/$1.png" 2>/dev/null && cp "$home/$1.png" "$out/$1-black.png" &&
        [ "$(convert "$out/$1-black.png" -format '%[fx:maxima]' info:)" = 0 ]
}
# sharp PICTURE: drawn at the output's own pixels, not at half of them blown up.
sharp() {
    [ "$(convert "$1" \( +clone -sample 50% -sample 200% \) -compose difference -composite \
        -format '%[fx:mean > 0.005]' info:)" = 1 ]
}
# moving OUTPUT: it shows the picture, sharp, and a moment later another.
moving() {
    output_shows "$1" && sharp "$out/$1.png" && mv "$out/$1.png" "$out/$1-before.png" &&
        sleep 0.2 && output_shows "$1" && ! cmp -s "$out/$1.png" "$out/$1-before.png"
}
