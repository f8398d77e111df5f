#pragma once
// What a Linux desktop says about animation, for SystemParametersInfoA's
// SPI_GETCLIENTAREAANIMATION. Each answers animation_unsaid when its desktop
// says nothing, which counts as animation on.
enum AnimationWish { animation_unsaid, animation_on, animation_off };

// KDE's: an AnimationDurationFactor of 0 in the [KDE] group of kdeglobals,
// under $XDG_CONFIG_HOME or ~/.config, turns animation off. Read without
// waiting and bounded: anything but a regular file up to a megabyte says nothing.
AnimationWish kde_animation_wish();
